// What the desktop may do to a window: any size, any scale factor, a close from the frame. Run also
// with QT_SCALE_FACTOR at 0.5 and 3 (see CMakeLists.txt), so every check is relative to the screen. What
// each screen draws at the scene's own size is the screenshots' test.

#include "picture.h"
#include "pictures.h"
#include "support.h"

#include <QApplication>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>
#include <optional>

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

ui::FormSlot& slotNamed(const QString& name) {
    game->module11.operations_choisies[1] = 1; // for the exercise
    return game->screen(name);
}

// A control's box on the device's pixels, each edge on the nearest pixel boundary.
QRect devicePixels(const ui::Form& form, const ui::Control& control, qreal ratio) {
    const QRectF box = form.sceneToWidget().mapRect(control.sceneRect());
    return QRect(
        QPoint(int(std::lround(box.left() * ratio)), int(std::lround(box.top() * ratio))),
        QPoint(int(std::lround(box.right() * ratio)) - 1, int(std::lround(box.bottom() * ratio)) - 1));
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // The scene fitted to the window and the framed labels' four edges drawn, at any size the window may
    // be given; sizes are the screen's own, so as to stay meaningful at any scale factor.
    void sceneShowsWhole_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("framed");
        QTest::addColumn<QSizeF>("fraction"); // of the screen's size
        const struct {
            const char* screen;
            const char* framed;
        } screens[] = {{"présentation", "titre"}, {"Kovrant", "titre"}, {"FIN", "texte2"}};
        // An 800 x 600 screen maximised under a frame, a little less, a third, 4 by 3 on a wide one, forty
        // times the screen (another program can force that without a window manager).
        const QSizeF fractions[] = {
            {1.0, 575 / 600.0}, {798 / 800.0, 574 / 600.0}, {0.42, 0.34}, {0.8, 1.0}, {40.0, 40.0}};
        for (const auto& s : screens) {
            for (const QSizeF f : fractions) {
                QTest::addRow("%s %gx%g", s.screen, f.width(), f.height())
                    << QString::fromUtf8(s.screen) << QString::fromUtf8(s.framed) << f;
            }
        }
    }
    void sceneShowsWhole() {
        QFETCH(QString, screen);
        QFETCH(QString, framed);
        QFETCH(QSizeF, fraction);
        ui::FormSlot& slot = slotNamed(screen);
        slot.show();
        ui::Form& form = slot.get();
        form.setWindowState(Qt::WindowNoState);
        const QSizeF screenSize = form.screen()->size();
        form.resize(
            QSizeF(screenSize.width() * fraction.width(), screenSize.height() * fraction.height()).toSize());
        // Kept to a 4K screen's pixels, or the desktop's if larger.
        const QSizeF pixels = QSizeF(form.size()) * form.devicePixelRatioF();
        const QSizeF desktop = QSizeF(form.screen()->virtualSize()) * form.devicePixelRatioF();
        QVERIFY(pixels.width() <= std::max(3840.0, desktop.width()) + 1 &&
                pixels.height() <= std::max(2160.0, desktop.height()) + 1);
        const QImage shown = form.grab().toImage();
        const qreal ratio = shown.devicePixelRatio();
        // The scene fills the window one way and is centred the other, from a whole device pixel.
        const QRectF scene = form.sceneToWidget().mapRect(QRectF(QPointF(0, 0), form.sceneSize()));
        const QPointF before = scene.topLeft();
        const QPointF after = QPointF(form.width(), form.height()) - scene.bottomRight();
        QCOMPARE(std::min(before.x(), before.y()), 0.0);
        QVERIFY(std::abs(before.x() - after.x()) <= 1 / ratio &&
                std::abs(before.y() - after.y()) <= 1 / ratio);
        QCOMPARE(QPointF((before * ratio).toPoint()), before * ratio);
        const QRect box = devicePixels(form, testsupport::label(form, framed), ratio);
        const QPoint middle = box.center();
        for (const QPoint edge : {QPoint(box.left(), middle.y()), QPoint(box.right(), middle.y()),
                                  QPoint(middle.x(), box.top()), QPoint(middle.x(), box.bottom())}) {
            QVERIFY(shown.rect().contains(edge) && shown.pixelColor(edge).lightness() < 60);
        }
    }

    // Un-maximised, a window takes the scene's proportions, whole on the screen with room for a frame.
    void normalPlacementFitsTheScreen_data() {
        QTest::addColumn<QString>("screen");
        for (const char* name : {"Accueil", "présentation", "Kovrant", "FIN", "Aurevoir"}) {
            QTest::newRow(name) << QString::fromUtf8(name);
        }
    }
    void normalPlacementFitsTheScreen() {
        QFETCH(QString, screen);
        ui::Form& form = slotNamed(screen).get();
        const QRect normal = form.normalPlacement();
        const QRect area = form.screen()->availableGeometry();
        QVERIFY(area.contains(normal));
        QVERIFY(normal.top() - area.top() >= 20 || normal.height() < area.height() * 0.95);
        const QSizeF scene = form.sceneSize();
        if (normal.width() > form.minimumWidth() && normal.height() > form.minimumHeight()) {
            // To within the rounding to whole pixels.
            QVERIFY(std::abs(normal.width() - normal.height() * scene.width() / scene.height()) < 1.5);
        }
        QVERIFY(form.minimumWidth() <= area.width() / 3 + 1 && form.minimumHeight() <= area.height() / 3 + 1);
    }

    // Pictures come from vector sources: drawn at a pixel ratio, they are rasterised at the device's
    // pixels, exactly as at that size directly, not stretched from their own size.
    void picturesAreCrispAtAnyRatio() {
        const ui::Picture arrow(QString::fromLatin1(pictures::fleche));
        for (const qreal ratio : {1.25, 3.0}) {
            const QSize device = (QSizeF(arrow.pixelSize()) * ratio).toSize();
            QImage canvas(device, QImage::Format_ARGB32_Premultiplied);
            canvas.setDevicePixelRatio(ratio);
            canvas.fill(Qt::transparent);
            {
                QPainter painter(&canvas);
                arrow.paint(painter, QPointF(0, 0));
            }
            canvas.setDevicePixelRatio(1.0);
            QCOMPARE(canvas, arrow.image(device));
        }
    }

    // The same scene at twice the size: wherever the scale-1 render is flat (a pixel and its eight
    // neighbours alike), the two scale-2 pixels over its centre agree with it.
    void twiceTheScaleShowsTheSameScene() {
        slotNamed(QStringLiteral("Kovrant")).show();
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

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
