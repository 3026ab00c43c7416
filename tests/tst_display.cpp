#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "support.h"
#include "ui/colour.h"
#include "ui/fonts.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>
#include <numbers>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

constexpr double pixelsPerPoint = ui::units::pixelsFromPoints(1);

// Where the pixels of `colour` begin and end, in points, along the row (or column) at `at` points.
std::pair<double, double> span(const QImage& render, const QColor& colour, double at, bool vertical = false) {
    const int line = int(at * pixelsPerPoint);
    const int length = vertical ? render.height() : render.width();
    int first = -1, last = -1;
    for (int i = 0; i < length; ++i) {
        if (render.pixelColor(vertical ? line : i, vertical ? i : line) == colour) {
            last = i;
            first = first < 0 ? i : first;
        }
    }
    return {first / pixelsPerPoint, (last + 1) / pixelsPerPoint};
}

double widthInPoints(const char* family, double size, const QString& text) {
    return QFontMetricsF(game->runtime().fonts().make(QString::fromUtf8(family), size, true))
               .horizontalAdvance(text) /
           pixelsPerPoint;
}

} // namespace

class DisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // Either side of each edge between rings; presentation checks the middle of each ring, and that both
    // screens draw the same target.
    void targetRingEdges_data() {
        QTest::addColumn<double>("radius");
        QTest::addColumn<int>("colour");
        const int edges[][3] = {{30, 14, 12}, {60, 12, 11}, {90, 11, 0}, {120, 0, 15}, {150, 15, 12}};
        for (const auto& [edge, inner, outer] : edges) {
            QTest::addRow("%d: just inside %d", edge - 2, edge) << edge - 2.0 << inner;
            // The outermost edge is a rim two points wide.
            const int outside = edge + (edge < 150 ? 2 : 1);
            QTest::addRow("%d: just outside %d", outside, edge) << double(outside) << outer;
        }
    }
    void targetRingEdges() {
        QFETCH(double, radius);
        QFETCH(int, colour);
        const QImage image = testsupport::drawing(testsupport::newGame(game, 1, {1}));
        for (int step = 0; step < 16; ++step) {
            const double angle = step * std::numbers::pi / 8 + 0.2;
            const QPointF point(750 + radius * std::cos(angle), 250 + radius * std::sin(angle));
            // The pixel whose centre lies nearest the wanted radius, so that antialiased edges stay away.
            const QPoint pixel = (point * pixelsPerPoint - QPointF(0.5, 0.5)).toPoint();
            QCOMPARE(image.pixelColor(pixel), ui::paletteColour(colour));
        }
    }

    // The calculation's right end, measured in its 48-point bold serif, falls at 320 points plus the
    // correction for its blanks, just left of the "approximately equal" sign.
    void calculationEndsBeforeTheSign() {
        Kovrant& k = testsupport::newGame(game, 20240611, {1, 2, 3});
        for (int i = 0; i < 40; ++i) {
            const exercise::Calcul& c = k.champs().calcul;
            const double right = testsupport::label(k, u"Calcul").left() / ui::units::twipsFromPoints(1) +
                                 widthInPoints("Times New Roman", 48, c.texte_calcul);
            QVERIFY2(std::abs(right - 320 - c.decalage_calcul.value()) <= 0.05, qPrintable(c.texte_calcul));
            testsupport::answer(k);
            game->module11.score = 0;
            testsupport::typeText(k, u" "_s);
        }
    }

    void scoreFrame_data() {
        QTest::addColumn<int>("scoreBefore");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("line");
        QTest::newRow("one digit") << 10 << 0.0 << u" Score = 5"_s;
        QTest::newRow("three digits") << 100 << 1.0 << u" Score = 110"_s;
    }
    void scoreFrame() {
        QFETCH(int, scoreBefore);
        QFETCH(double, fraction);
        QFETCH(QString, line);
        Kovrant& k = testsupport::newGame(game, 8, {2});
        game->module11.score = scoreBefore;
        testsupport::answer(k, fraction);
        QCOMPARE(game->module11.texte_score, line);
        const QImage render = k.render(1.0);
        const QColor red = ui::paletteColour(4);
        // The text is printed over the middle: the frame's ends show red beyond it, 20 points on each side.
        const auto [left, right] = span(render, red, 480);
        const double expectedWidth = widthInPoints("Arial", 16, line) + 40;
        QVERIFY2(std::fabs((left + right) / 2 - 300) <= 1.0, qPrintable(QString::number((left + right) / 2)));
        QVERIFY2(std::fabs((right - left) - expectedWidth) <= 1.5, qPrintable(QString::number(right - left)));
        for (const auto& [y, inside] :
             {std::pair{466.0, true}, {494.0, true}, {463.0, false}, {497.0, false}}) {
            const QColor seen = testsupport::colourAtUnits(render, QPointF(left + 5, y));
            QVERIFY2((seen == red) == inside, qPrintable(QString::number(y)));
        }
    }

    void helpBubble() {
        Kovrant& k = testsupport::newGame(game, 2, {3});
        testsupport::answer(k, 0.0);
        const auto& c = k.champs();
        const QString text =
            exercise::ligne_aide(c.calcul.operation, c.calcul.nombre1, c.calcul.nombre2).texte();
        const double halfWidth = widthInPoints("Arial Narrow", 18, text) / 2 + 30;
        const QImage render = k.render(1.0);
        const QColor green = ui::paletteColour(2);
        const auto [left, right] = span(render, green, 350);
        QVERIFY2(std::fabs((left + right) / 2 - 300) <= 1.0, qPrintable(QString::number((left + right) / 2)));
        QVERIFY2(std::fabs((right - left) / 2 - halfWidth) <= 1.0, qPrintable(text));
        // Flattened to 0.15 of its width: measured off-centre, clear of the text printed over its middle.
        const double x = 300 + 0.6 * halfWidth, halfHeight = 0.15 * halfWidth * 0.8;
        const auto [top, bottom] = span(render, green, x, true);
        QVERIFY2(std::fabs(top - (350 - halfHeight)) <= 1.0, qPrintable(QString::number(top)));
        QVERIFY2(std::fabs(bottom - (350 + halfHeight)) <= 1.0, qPrintable(QString::number(bottom)));
    }
};

QTEST_MAIN(DisplayTest)
#include "tst_display.moc"
