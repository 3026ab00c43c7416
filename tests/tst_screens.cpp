#include "support.h"

#include <QTest>
#include <optional>


namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

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

// Whether a picture shows in a control rather than an empty frame on the white window.
bool pictureShows(const ui::Form& form, const QImage& render, QStringView name) {
    const QRect rect = form.findControl(name)->sceneRect().toRect();
    return count(render, rect, Qt::white) < rect.width() * rect.height() * 9 / 10;
}

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void congratulationScreen() {
        const ui::Form& fin = game->fin().get();
        const QRect box = testsupport::label(fin, u"texte2").sceneRect().toRect();
        const QImage render = fin.render(1.0);
        // The dark red words are centred: as much ink on the left half as on the right, roughly.
        QRect left = box, right = box;
        left.setWidth(box.width() / 2);
        right.setLeft(left.right() + 1);
        const int inkLeft = count(render, left, QColor(128, 0, 0)),
                  inkRight = count(render, right, QColor(128, 0, 0));
        QVERIFY(inkLeft + inkRight > 200);
        QVERIFY(std::abs(inkLeft - inkRight) < (inkLeft + inkRight) / 3);
        QVERIFY(pictureShows(fin, render, u"flèche"));
    }

    void farewellScreen() {
        const ui::Form& aurevoir = game->aurevoir().get();
        const QImage render = aurevoir.render(1.0);
        // The slanted script stays inside its label.
        const QRect words = testsupport::label(aurevoir, u"Label2").sceneRect().toRect();
        QVERIFY(count(render, words, QColor(255, 0, 0)) > 100);
        QCOMPARE(count(render, render.rect(), QColor(255, 0, 0)), count(render, words, QColor(255, 0, 0)));
        // The contact address starts right of the e-mail symbol.
        QVERIFY(aurevoir.findControl(u"Picture1")->sceneRect().right() <=
                aurevoir.findControl(u"mail")->sceneRect().left());
        QVERIFY(pictureShows(aurevoir, render, u"Picture1") && pictureShows(aurevoir, render, u"flèche"));
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

QTEST_MAIN(ScreensTest)
#include "tst_screens.moc"
