#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"

#include <QTest>

using namespace shell;

namespace {

// The présentation window's scene: 18960 x 10215 twips.
constexpr QSizeF scene(1264, 681);

ui::Form& openPresentation(QSize size) {
    screens::accueil().show();
    ui::Form& form = screens::presentation().get();
    form.setWindowState(Qt::WindowNoState);
    form.resize(size);
    return form;
}

// Whether every pixel within `radius` of (x, y) has the same colour.
bool uniformAround(const QImage& image, int x, int y, int radius) {
    const QRgb c = image.pixel(x, y);
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (image.pixel(x + dx, y + dy) != c) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

class RenderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void sceneToWidget_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPointF>("scenePoint");
        QTest::addColumn<QPointF>("widgetPoint");
        QTest::newRow("scene size: one to one") << QSize(1264, 681) << QPointF(100, 50) << QPointF(100, 50);
        QTest::newRow("twice: doubled") << QSize(2528, 1362) << QPointF(100, 50) << QPointF(200, 100);
        QTest::newRow("twice: far corner") << QSize(2528, 1362) << QPointF(1264, 681) << QPointF(2528, 1362);
        // Too tall: scale 2 from the width, (2000 - 1362) / 2 = 319 blank pixels above and below.
        QTest::newRow("too tall: top-left") << QSize(2528, 2000) << QPointF(0, 0) << QPointF(0, 319);
        QTest::newRow("too tall: far corner")
            << QSize(2528, 2000) << QPointF(1264, 681) << QPointF(2528, 1681);
        // Too wide: scale 2 from the height, (3792 - 2528) / 2 = 632 blank pixels left and right.
        QTest::newRow("too wide: middle") << QSize(3792, 1362) << QPointF(632, 340.5) << QPointF(1896, 681);
        QTest::newRow("half size") << QSize(632, 341) << QPointF(1264, 0) << QPointF(632, 0);
    }
    void sceneToWidget() {
        QFETCH(QSize, window);
        QFETCH(QPointF, scenePoint);
        QFETCH(QPointF, widgetPoint);
        ui::Form& form = openPresentation(window);
        QCOMPARE(form.size(), window);
        const QPointF mapped = form.sceneToWidget().map(scenePoint);
        QVERIFY2(std::abs(mapped.x() - widgetPoint.x()) < 1e-6 &&
                     std::abs(mapped.y() - widgetPoint.y()) < 1e-6,
                 qPrintable(QStringLiteral("mapped to (%1, %2)").arg(mapped.x()).arg(mapped.y())));
        // Drawing units are points: 20 twips, 4/3 of a scene pixel.
        const QPointF viaUnits = form.widgetPointForUnits(scenePoint * 0.75);
        QVERIFY(std::abs(viaUnits.x() - widgetPoint.x()) < 1e-6 &&
                std::abs(viaUnits.y() - widgetPoint.y()) < 1e-6);
    }

    void clickReachesTheControlUnderIt_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("scene size") << QSize(1264, 681) << 1.0 << QPointF(0, 0);
        QTest::newRow("twice") << QSize(2528, 1362) << 2.0 << QPointF(0, 0);
        QTest::newRow("letterboxed") << QSize(2528, 2000) << 2.0 << QPointF(0, 319);
        QTest::newRow("pillarboxed, smaller")
            << QSize(1000, 300) << 300 / 681.0 << QPointF(500 - 632 * 300 / 681.0, 0);
    }
    void clickReachesTheControlUnderIt() {
        QFETCH(QSize, window);
        QFETCH(qreal, scale);
        QFETCH(QPointF, offset);
        ui::Form& form = openPresentation(window);
        // The middle of Table(2): (4080 + 2895 / 2, 6840 + 360 / 2) twips, in scene pixels.
        const QPointF middle = QPointF(4080 + 2895 / 2.0, 6840 + 180) / 15.0;
        QTest::mouseClick(&form, Qt::LeftButton, {}, (middle * scale + offset).toPoint());
        QVERIFY(form.checkBox(u"Table", 2).isChecked());
        QCOMPARE(module11.operations_choisies[2].value(), 1);
        QVERIFY(!form.checkBox(u"Table", 1).isChecked());
        QVERIFY(!form.checkBox(u"Table", 3).isChecked());
    }

    void doubleScaleRenderAgreesWithSingle() {
        const ui::Form& form = openPresentation(QSize(1264, 681));
        const QImage single = form.render(1.0);
        const QImage twice = form.render(2.0);
        QCOMPARE(twice.size(), single.size() * 2);
        // Where the scale-1 picture is flat, the scale-2 one shows the same colour in the same place;
        // edges may differ by antialiasing and font hinting.
        int compared = 0;
        for (int y = 3; y < single.height() - 3; ++y) {
            for (int x = 3; x < single.width() - 3; ++x) {
                if (!uniformAround(single, x, y, 2)) {
                    continue;
                }
                ++compared;
                const QColor expected = single.pixelColor(x, y);
                for (const QPoint p : {QPoint(2 * x, 2 * y), QPoint(2 * x + 1, 2 * y + 1)}) {
                    if (twice.pixelColor(p) != expected) {
                        QFAIL(qPrintable(QStringLiteral("scene pixel (%1, %2)").arg(x).arg(y)));
                    }
                }
            }
        }
        // Most of the window is flat.
        QVERIFY(compared > single.width() * single.height() / 2);
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
            QCOMPARE(shown.pixelColor(form.widgetPointForUnits(QPointF(750, 250 + 15)).toPoint()),
                     QColor(255, 255, 0));
        }
        QCOMPARE(testsupport::colourAtUnits(form.render(1.0), mark), QColor(0, 128, 0));
    }
};

QTEST_MAIN(RenderTest)
#include "tst_render.moc"
