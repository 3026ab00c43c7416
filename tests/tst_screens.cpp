#include "shell/aurevoir.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/picture.h"

#include <QFontMetricsF>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace shell;

namespace {

ui::FormSlot& slotNamed(const QString& name) {
    if (name == u"Accueil") {
        return screens::accueil();
    }
    if (name == u"FIN") {
        return screens::fin();
    }
    if (name == u"Aurevoir") {
        return screens::aurevoir();
    }
    if (name == u"présentation") {
        return screens::presentation();
    }
    return screens::kovrant();
}

// How many pixels of `rect` have exactly `colour`.
int count(const QImage& image, const QRect& rect, const QColor& colour) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void windows_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QSizeF>("pixels");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("controls");
        QTest::newRow("welcome: empty and white") << u"Accueil"_s << QSizeF(946, 594) << u"accueil"_s << 0;
        QTest::newRow("end") << u"FIN"_s << QSizeF(902, 588) << u"FIN"_s << 2;
        QTest::newRow("farewell: no caption") << u"Aurevoir"_s << QSizeF(887, 576) << QString() << 4;
        QTest::newRow("presentation") << u"présentation"_s << QSizeF(1264, 681) << QString() << 33;
    }
    void windows() {
        QFETCH(QString, screen);
        QFETCH(QSizeF, pixels);
        QFETCH(QString, caption);
        QFETCH(int, controls);
        const ui::Form& form = slotNamed(screen).get();
        QCOMPARE(form.sceneSize(), pixels);
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(int(form.controls().size()), controls);
        const QImage render = form.render(1.0);
        QCOMPARE(render.size(), pixels.toSize());
        if (controls == 0) {
            QCOMPARE(count(render, render.rect(), Qt::white), int(pixels.width() * pixels.height()));
        }
    }

    void congratulationBox() {
        const ui::Form& fin = screens::fin().get();
        const ui::Label& texte = fin.label(u"texte2");
        QCOMPARE(texte.caption(), u"Félicitations"_s);
        // x 348 to 546.75 points, y 90 to 132.75.
        QCOMPARE(texte.sceneRect(), QRectF(464, 120, 265, 57));
        const QImage render = fin.render(1.0);
        const QRect box = texte.sceneRect().toRect();
        // Pale yellow inside, a dark flat edge, dark red words, white window around.
        QCOMPARE(render.pixelColor(box.topLeft() + QPoint(3, 3)), QColor(255, 255, 224));
        QVERIFY(render.pixelColor(box.left(), box.center().y()).lightness() < 100);
        QVERIFY(render.pixelColor(box.center().x(), box.top()).lightness() < 100);
        QCOMPARE(render.pixelColor(box.topLeft() - QPoint(3, 3)), QColor(Qt::white));
        QVERIFY(count(render, box, QColor(128, 0, 0)) > 200);
        // The words are centred: as much ink on the left half as on the right, roughly.
        const QRect left(box.left(), box.top(), box.width() / 2, box.height());
        const QRect right(box.center().x(), box.top(), box.width() / 2, box.height());
        const int inkLeft = count(render, left, QColor(128, 0, 0));
        const int inkRight = count(render, right, QColor(128, 0, 0));
        QVERIFY2(std::abs(inkLeft - inkRight) < (inkLeft + inkRight) / 3,
                 qPrintable(u"%1 against %2"_s.arg(inkLeft).arg(inkRight)));
        // The arrow below, at (438, 318) points.
        QCOMPARE(fin.findControl(u"flèche")->sceneRect(), QRectF(584, 424, 32, 32));
    }

    void farewellWords() {
        const ui::Form& aurevoir = screens::aurevoir().get();
        const ui::Label& words = aurevoir.label(u"Label2");
        QCOMPARE(words.caption(), u"Au revoir"_s);
        const QRect box = words.sceneRect().toRect();
        QCOMPARE(box, QRect(496, 264, 201, 73));
        const QImage render = aurevoir.render(1.0);
        QVERIFY(count(render, box, QColor(255, 0, 0)) > 100);
        // Nothing red spills outside the label.
        QCOMPARE(count(render, render.rect(), QColor(255, 0, 0)), count(render, box, QColor(255, 0, 0)));
        QCOMPARE(render.pixelColor(box.bottomRight() - QPoint(2, 2)), QColor(Qt::white));
    }

    void contactAddressGrowsFromItsLeft() {
        const ui::Form& aurevoir = screens::aurevoir().get();
        const ui::Label& mail = aurevoir.label(u"mail");
        QCOMPARE(mail.caption(), QString::fromUtf8(Aurevoir::adresse));
        QCOMPARE(mail.left(), 8760); // x 438 points
        QCOMPARE(mail.top(), 8040);
        const qreal textPixels = QFontMetricsF(mail.font()).horizontalAdvance(mail.caption());
        QVERIFY(mail.width() != 3075);
        QVERIFY2(mail.width() >= textPixels * 15 && mail.width() < (textPixels + 2) * 15,
                 qPrintable(u"%1 twips for %2 pixels of text"_s.arg(mail.width()).arg(textPixels)));
        // The e-mail symbol stands just to the left of it.
        QVERIFY(aurevoir.findControl(u"Picture1")->sceneRect().right() <= mail.sceneRect().left());
    }

    void pictureSizes_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QSize>("size");
        QTest::newRow("end screen arrow") << u"FIN"_s << u"flèche"_s << QSize(32, 32);
        QTest::newRow("farewell arrow") << u"Aurevoir"_s << u"flèche"_s << QSize(32, 32);
        QTest::newRow("farewell e-mail symbol") << u"Aurevoir"_s << u"Picture1"_s << QSize(30, 30);
        QTest::newRow("presentation arrow") << u"présentation"_s << u"flèche"_s << QSize(32, 32);
        QTest::newRow("presentation stop") << u"présentation"_s << u"arret"_s << QSize(32, 32);
        QTest::newRow("exercise arrow") << u"Kovrant"_s << u"flèche"_s << QSize(32, 32);
        QTest::newRow("exercise stop") << u"Kovrant"_s << u"arret"_s << QSize(32, 32);
        QTest::newRow("approximately equal sign") << u"Kovrant"_s << u"environ"_s << QSize(44, 35);
    }
    void pictureSizes() {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(QSize, size);
        const ui::Form& form = slotNamed(screen).get();
        const ui::Picture& picture = form.image(control).picture();
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.pixelSize(), size);
        // The picture is drawn, not an empty frame.
        const QImage image = picture.image(size);
        QCOMPARE(image.size(), size);
        int opaque = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
            }
        }
        QVERIFY(opaque > size.width() * size.height() / 10);
    }
};

QTEST_MAIN(ScreensTest)
#include "tst_screens.moc"
