#include "support.h"

#include <QApplication>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>
#include <optional>

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

} // namespace

class RenderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // What was drawn, and where clicks land, follow the window's size.
    void drawingSurvivesAResize() {
        game->accueil().show();
        ui::Form& form = game->presentation().get();
        form.setWindowState(Qt::WindowNoState);
        // Drawn at the scene's own size, then shown larger, smaller and back.
        form.resize(1264, 681);
        const QPointF mark(320, 430); // points, below the frame of check boxes
        form.surface().fillBox(QPointF(300, 420), QPointF(340, 440), QColor(0, 128, 0));
        QCOMPARE(testsupport::colourAtUnits(form.render(1.0), mark), QColor(0, 128, 0));
        int clicks = 0;
        for (const QSize size : {QSize(2528, 1362), QSize(640, 500), QSize(1264, 681)}) {
            form.resize(size);
            testsupport::clickControl(form, u"Table", 2);
            QCOMPARE(game->module11.operations_choisies[2].value(), ++clicks % 2);
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

    // In every style the platform offers, the native one among them: each box shows its own state, the
    // first and last ticked, the middle one not.
    void eachCheckBoxShowsItsOwnTick_data() {
        QTest::addColumn<QString>("style");
        for (const QString& key : QStyleFactory::keys()) {
            QTest::newRow(qPrintable(key)) << key;
        }
    }
    void eachCheckBoxShowsItsOwnTick() {
        QFETCH(QString, style);
        const QString before = QApplication::style()->name();
        const auto restore = qScopeGuard([&] { QApplication::setStyle(before); });
        QVERIFY(QApplication::setStyle(style) != nullptr);
        game->accueil().show();
        ui::Form& form = game->presentation().get();
        for (int i = 0; i < 3; ++i) {
            testsupport::checkBox(form, i + 1).setChecked(i != 1);
        }
        const QImage render = form.render(1.0);
        QImage indicator[3];
        for (int i = 0; i < 3; ++i) {
            QStyleOptionButton option;
            option.rect = testsupport::checkBox(form, i + 1).sceneRect().toRect();
            indicator[i] = render.copy(form.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option));
        }
        QCOMPARE(indicator[0], indicator[2]);
        QVERIFY(indicator[0] != indicator[1]);
    }
};

QTEST_MAIN(RenderTest)
#include "tst_render.moc"
