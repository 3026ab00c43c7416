#include "support.h"

#include <QTest>
#include <optional>

using namespace shell;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// The présentation window's scene is 1264 x 681 pixels (18960 x 10215 twips).
ui::Form& openPresentation(QSize size) {
    game->accueil().show();
    ui::Form& form = game->presentation().get();
    form.setWindowState(Qt::WindowNoState);
    form.resize(size);
    return form;
}

} // namespace

class RenderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void sceneFitsTheWindow_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("scene size: one to one") << QSize(1264, 681) << 1.0 << QPointF(0, 0);
        QTest::newRow("twice") << QSize(2528, 1362) << 2.0 << QPointF(0, 0);
        // Scale 2 from the width, (2000 - 1362) / 2 = 319 blank pixels above and below.
        QTest::newRow("too tall: centred vertically") << QSize(2528, 2000) << 2.0 << QPointF(0, 319);
        // Scale 2 from the height, (3792 - 2528) / 2 = 632 blank pixels left and right.
        QTest::newRow("too wide: centred horizontally") << QSize(3792, 1362) << 2.0 << QPointF(632, 0);
        QTest::newRow("smaller and too wide")
            << QSize(1000, 300) << 300 / 681.0 << QPointF(500 - 632 * 300 / 681.0, 0);
    }
    void sceneFitsTheWindow() {
        QFETCH(QSize, window);
        QFETCH(qreal, scale);
        QFETCH(QPointF, offset);
        ui::Form& form = openPresentation(window);
        QCOMPARE(form.size(), window);
        for (const QPointF scenePoint : {QPointF(0, 0), QPointF(100, 50), QPointF(1264, 681)}) {
            const QPointF expected = scenePoint * scale + offset;
            const QPointF mapped = form.sceneToWidget().map(scenePoint);
            // To within the margins' rounding to whole pixels.
            QVERIFY2((mapped - expected).manhattanLength() < 0.5,
                     qPrintable(QStringLiteral("mapped to (%1, %2)").arg(mapped.x()).arg(mapped.y())));
            // Drawing units are points: 20 twips, 4/3 of a scene pixel.
            QVERIFY((form.widgetPointForUnits(scenePoint * 0.75) - expected).manhattanLength() < 0.5);
        }
        // A click reaches the control under it: the middle of Table(2), at (4080 + 2895 / 2, 6840 + 360 / 2)
        // twips, in scene pixels.
        const QPointF middle = QPointF(4080 + 2895 / 2.0, 6840 + 180) / double(ui::units::twipsPerPixel);
        QTest::mouseClick(&form, Qt::LeftButton, {}, (middle * scale + offset).toPoint());
        QCOMPARE(game->module11.operations_choisies[2].value(), 1);
        QVERIFY(!testsupport::checkBox(form, 1).isChecked() && !testsupport::checkBox(form, 3).isChecked());
    }

    void drawingSurvivesAResize() {
        ui::Form& form = openPresentation(QSize(1264, 681));
        const QPointF mark(320, 430); // points, below the frame of check boxes
        form.surface().fillBox(QPointF(300, 420), QPointF(340, 440), QColor(0, 128, 0));
        QCOMPARE(testsupport::colourAtUnits(form.render(1.0), mark), QColor(0, 128, 0));
        for (const QSize size : {QSize(2528, 1362), QSize(640, 500), QSize(1264, 681)}) {
            form.resize(size);
            const QImage shown = form.grab().toImage();
            QCOMPARE(shown.size(), size);
            QCOMPARE(shown.pixelColor(form.widgetPointForUnits(mark).toPoint()), QColor(0, 128, 0));
            // The target's yellow disc, 15 points below its centre.
            QCOMPARE(shown.pixelColor(form.widgetPointForUnits(QPointF(750, 265)).toPoint()),
                     QColor(255, 255, 0));
        }
        QCOMPARE(testsupport::colourAtUnits(form.render(1.0), mark), QColor(0, 128, 0));
    }

    // The same scene at twice the size: wherever the scale-1 render is flat (a pixel and its eight
    // neighbours alike), the two scale-2 pixels over its centre agree with it.
    void twiceTheScaleShowsTheSameScene() {
        game->module11.operations_choisies[1] = 1;
        game->kovrant().show();
        ui::Form& k = game->kovrant().get();
        testsupport::typeText(k, QStringLiteral("1="));
        const QImage one = k.render(1.0);
        const QImage two = k.render(2.0);
        QCOMPARE(two.size(), one.size() * 2);
        int compared = 0;
        for (int y = 1; y < one.height() - 1; y += 3) {
            for (int x = 1; x < one.width() - 1; x += 3) {
                const QRgb c = one.pixel(x, y);
                bool flat = true;
                for (int dy = -1; dy <= 1 && flat; ++dy) {
                    for (int dx = -1; dx <= 1 && flat; ++dx) {
                        flat = one.pixel(x + dx, y + dy) == c;
                    }
                }
                if (flat) {
                    QCOMPARE(two.pixel(2 * x, 2 * y), c);
                    QCOMPARE(two.pixel(2 * x + 1, 2 * y + 1), c);
                    ++compared;
                }
            }
        }
        QVERIFY(compared > 50000);
    }
};

QTEST_MAIN(RenderTest)
#include "tst_render.moc"
