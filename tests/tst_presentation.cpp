#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::clickControl;
using testsupport::colourAtUnits;
using testsupport::typeKey;

namespace {

const QPointF centre(750, 250);

ui::Form& openPresentation() {
    screens::accueil().show();
    return screens::presentation().get();
}

QList<int> choice() {
    QList<int> values;
    for (int i = 1; i <= 3; ++i) {
        values << module11.operations_choisies[i].value();
    }
    return values;
}

QList<int> marks(const ui::Form& form) {
    return {form.checkBox(u"Table", 1).isChecked(), form.checkBox(u"Table", 2).isChecked(),
            form.checkBox(u"Table", 3).isChecked()};
}

void hideControls(ui::Form& form) {
    for (const auto& control : form.controls()) {
        control->setVisible(false);
    }
}

// The target's square, from (598, 98) to (902, 402) points, in scene pixels.
const QRect targetSquare(797, 130, 406, 406);

} // namespace

class PresentationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void clicksChooseFamilies_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<int>>("chosen");
        QTest::newRow("nothing ticked") << QList<int>{} << QList<int>{0, 0, 0};
        QTest::newRow("additions alone") << QList<int>{1} << QList<int>{1, 0, 0};
        QTest::newRow("divisions alone") << QList<int>{3} << QList<int>{0, 0, 1};
        QTest::newRow("additions and divisions") << QList<int>{1, 3} << QList<int>{1, 0, 1};
        QTest::newRow("all three") << QList<int>{3, 1, 2} << QList<int>{1, 1, 1};
        QTest::newRow("ticked then unticked") << QList<int>{2, 2} << QList<int>{0, 0, 0};
        QTest::newRow("one unticked, another kept") << QList<int>{1, 2, 1} << QList<int>{0, 1, 0};
    }
    void clicksChooseFamilies() {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, chosen);
        ui::Form& form = openPresentation();
        for (int index : clicks) {
            clickControl(form, u"Table", index);
        }
        QCOMPARE(choice(), chosen);
        QCOMPARE(marks(form), chosen);
        clickControl(form, u"flèche");
        if (!screens::kovrant().isLoaded()) {
            clickControl(form, u"flèche"); // however often
        }
        const bool anyChosen = chosen.contains(1);
        QCOMPARE(screens::kovrant().isLoaded(), anyChosen);
        if (anyChosen) {
            // The choice outlives the screen that made it.
            QCOMPARE(choice(), chosen);
        }
    }

    void keyboardTabsThroughTheBoxes_data() {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("focused");
        QTest::newRow("one tab: additions") << 1 << 1;
        QTest::newRow("two tabs: multiplications") << 2 << 2;
        QTest::newRow("three tabs: divisions") << 3 << 3;
        QTest::newRow("four tabs wrap to additions") << 4 << 1;
    }
    void keyboardTabsThroughTheBoxes() {
        QFETCH(int, tabs);
        QFETCH(int, focused);
        ui::Form& form = openPresentation();
        for (int i = 0; i < tabs; ++i) {
            typeKey(form, Qt::Key_Tab, u"\t"_s);
        }
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(form.checkBox(u"Table", i).hasFocus(), i == focused);
        }
        typeKey(form, Qt::Key_Space, u" "_s);
        QList<int> expected{0, 0, 0};
        expected[focused - 1] = 1;
        QCOMPARE(choice(), expected);
        QCOMPARE(marks(form), expected);
        typeKey(form, Qt::Key_Space, u" "_s);
        QCOMPARE(choice(), (QList<int>{0, 0, 0}));
        QCOMPARE(marks(form), (QList<int>{0, 0, 0}));
    }

    void pointerOverTheBoxes_data() {
        QTest::addColumn<QPointF>("twips");
        QTest::addColumn<bool>("hand");
        QTest::newRow("additions box") << QPointF(4300, 6540) << true;
        QTest::newRow("end of the multiplications caption") << QPointF(6900, 7020) << true;
        QTest::newRow("divisions box") << QPointF(4300, 7500) << true;
        QTest::newRow("frame around the boxes") << QPointF(3700, 7000) << false;
        QTest::newRow("target") << QPointF(15000, 3000) << false;
        QTest::newRow("arrow") << QPointF(18480, 9840) << false;
    }
    void pointerOverTheBoxes() {
        QFETCH(QPointF, twips);
        QFETCH(bool, hand);
        ui::Form& form = openPresentation();
        QVERIFY(form.windowHandle() != nullptr);
        // Over a box first, so that leaving one for elsewhere is seen to restore the arrow.
        QTest::mouseMove(form.windowHandle(), form.widgetPointForTwips(QPointF(4300, 6980)).toPoint());
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(form.windowHandle(), form.widgetPointForTwips(twips).toPoint());
        if (hand) {
            QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
            QCOMPARE(form.cursor().hotSpot(), QPoint(12, 1));
            QCOMPARE(form.cursor().pixmap().deviceIndependentSize(), QSizeF(32, 32));
        } else {
            QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        }
    }

    void targetRings_data() {
        QTest::addColumn<double>("distance");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("151: light-red rim") << 151.0 << QColor(255, 0, 0);
        QTest::newRow("135: white ring") << 135.0 << QColor(255, 255, 255);
        QTest::newRow("100: black ring") << 100.0 << QColor(0, 0, 0);
        QTest::newRow("75: light-cyan ring") << 75.0 << QColor(0, 255, 255);
        QTest::newRow("45: light-red ring") << 45.0 << QColor(255, 0, 0);
        QTest::newRow("15: yellow centre disc") << 15.0 << QColor(255, 255, 0);
        QTest::newRow("0: black dot") << 0.0 << QColor(0, 0, 0);
        QTest::newRow("160: window outside the target") << 160.0 << QColor(255, 255, 255);
    }
    void targetRings() {
        QFETCH(double, distance);
        QFETCH(QColor, colour);
        const QImage render = openPresentation().render(1.0);
        // Along the four diagonals, where no legend label lies.
        const double d = distance / std::sqrt(2.0);
        for (const QPointF direction : {QPointF(1, 1), QPointF(-1, 1), QPointF(1, -1), QPointF(-1, -1)}) {
            const QPointF at = centre + direction * d;
            QVERIFY2(colourAtUnits(render, at) == colour,
                     qPrintable(u"at (%1, %2)"_s.arg(at.x()).arg(at.y())));
        }
    }

    void titleOnItsPaleOrangeBox() {
        ui::Form& form = openPresentation();
        const QImage render = form.render(1.0);
        const QRectF box = form.findControl(u"titre")->sceneRect();
        QCOMPARE(box.topLeft(), QPointF(3360 / 15.0, 240 / 15.0));
        // The inner bottom-right corner lies under no glyph.
        QCOMPARE(render.pixelColor((box.bottomRight() - QPointF(3, 3)).toPoint()), QColor(255, 224, 192));
    }

    void attentionLiesAboveTheLineItIntroduces() {
        ui::Form& form = openPresentation();
        const QRectF overlap =
            form.findControl(u"Label2")->sceneRect().intersected(form.findControl(u"Label8")->sceneRect());
        QVERIFY(!overlap.isEmpty());
        const QRect pixels = overlap.toAlignedRect();
        const QImage full = form.render(1.0).copy(pixels);
        form.findControl(u"Label8")->setVisible(false);
        const QImage withoutLine = form.render(1.0).copy(pixels);
        form.findControl(u"Label8")->setVisible(true);
        form.findControl(u"Label2")->setVisible(false);
        const QImage withoutAttention = form.render(1.0).copy(pixels);
        // Label8 has something of its own to show there, yet what shows is Label2 alone.
        QVERIFY(withoutAttention != withoutLine);
        QCOMPARE(full, withoutLine);
    }

    void sameTargetOnBothScreens() {
        ui::Form& presentation = openPresentation();
        clickControl(presentation, u"Table", 1);
        // The legend labels differ slightly between the screens: compare the drawings alone.
        hideControls(presentation);
        const QImage here = presentation.render(1.0).copy(targetSquare);
        screens::kovrant().show();
        QVERIFY(!screens::presentation().isLoaded());
        ui::Form& kovrant = screens::kovrant().get();
        hideControls(kovrant);
        const QImage there = kovrant.render(1.0).copy(targetSquare);
        QCOMPARE(there, here);
        // Both show a target, not two blank squares.
        QCOMPARE(here.pixelColor(203, 203), QColor(0, 0, 0));
        QCOMPARE(colourAtUnits(kovrant.render(1.0), centre + QPointF(0, 15)), QColor(255, 255, 0));
    }
};

QTEST_MAIN(PresentationTest)
#include "tst_presentation.moc"
