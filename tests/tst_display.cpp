#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/colour.h"
#include "ui/fonts.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>
#include <numbers>

using exercise::Kovrant;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

namespace {

constexpr double pixelsPerPoint = 4.0 / 3.0;

Kovrant& startGame(int family, std::uint32_t seed) {
    testsupport::resetProgram(seed);
    module11.operations_choisies[family] = 1;
    screens::kovrant().show();
    return screens::kovrant().as<Kovrant>();
}

void answer(Kovrant& k, double fraction) {
    testsupport::typeText(k, QString::number(std::lround(k.champs().resultat * fraction)));
    testsupport::typeKey(k, Qt::Key_Return, u"\r"_s);
}

bool underAControl(const Kovrant& k, QPointF scenePixel) {
    for (const auto& control : k.controls()) {
        if (control->isVisible() && control->sceneRect().adjusted(-1, -1, 1, 1).contains(scenePixel)) {
            return true;
        }
    }
    return false;
}

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
    return QFontMetricsF(ui::makeFont(QString::fromUtf8(family), size, true)).horizontalAdvance(text) /
           pixelsPerPoint;
}

} // namespace

class DisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void targetRings_data() {
        QTest::addColumn<double>("radius");
        QTest::addColumn<int>("colour");
        QTest::newRow("151: light red rim") << 151.0 << 12;
        QTest::newRow("135: white, -5") << 135.0 << 15;
        QTest::newRow("100: black, 0") << 100.0 << 0;
        QTest::newRow("75: light cyan, +1") << 75.0 << 11;
        QTest::newRow("45: light red, +5") << 45.0 << 12;
        QTest::newRow("15: yellow, +10") << 15.0 << 14;
        QTest::newRow("0: the black centre") << 0.0 << 0;
        // Either side of each edge between rings; outside the 2-wide rim is covered by the 151 row above.
        const int edges[][3] = {{30, 14, 12}, {60, 12, 11}, {90, 11, 0}, {120, 0, 15}, {150, 15, 12}};
        for (const auto& [edge, inner, outer] : edges) {
            QTest::addRow("%d: just inside %d", edge - 2, edge) << edge - 2.0 << inner;
            if (edge < 150) {
                QTest::addRow("%d: just outside %d", edge + 2, edge) << edge + 2.0 << outer;
            }
        }
    }
    void targetRings() {
        QFETCH(double, radius);
        QFETCH(int, colour);
        Kovrant& k = startGame(1, 1);
        const QImage render = k.render(1.0);
        int sampled = 0;
        for (int step = 0; step < 16; ++step) {
            const double angle = step * std::numbers::pi / 8 + 0.2;
            const QPointF point(750 + radius * std::cos(angle), 250 + radius * std::sin(angle));
            // The pixel whose centre lies nearest the wanted radius, so that antialiased edges stay away.
            const QPoint pixel = (point * pixelsPerPoint - QPointF(0.5, 0.5)).toPoint();
            // The "+10" label sits on the centre, but its black text cannot hide the black dot.
            if (radius > 0 && underAControl(k, QPointF(pixel) + QPointF(0.5, 0.5))) {
                continue;
            }
            ++sampled;
            QCOMPARE(render.pixelColor(pixel), ui::paletteColour(colour));
        }
        QVERIFY(sampled >= 8);
    }

    void scoreFrame_data() {
        QTest::addColumn<int>("scoreBefore");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("line");
        QTest::newRow("one digit") << 10 << 0.0 << u" Score = 5"_s;
        QTest::newRow("two digits") << 10 << 1.0 << u" Score = 20"_s;
        QTest::newRow("three digits") << 100 << 1.0 << u" Score = 110"_s;
    }
    void scoreFrame() {
        QFETCH(int, scoreBefore);
        QFETCH(double, fraction);
        QFETCH(QString, line);
        Kovrant& k = startGame(2, 8);
        module11.score = scoreBefore;
        answer(k, fraction);
        QCOMPARE(module11.texte_score, line);
        const QImage render = k.render(1.0);
        const QColor red = ui::paletteColour(4);
        QCOMPARE(red, QColor(128, 0, 0));
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

    void helpBubble_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<uint>("seed");
        QTest::newRow("a division") << 3 << 2u;
        QTest::newRow("an addition or subtraction") << 1 << 2u;
        QTest::newRow("a multiplication") << 2 << 2u;
    }
    void helpBubble() {
        QFETCH(int, family);
        QFETCH(uint, seed);
        Kovrant& k = startGame(family, seed);
        answer(k, 0.0);
        const auto& c = k.champs();
        const QString text = exercise::ligne_aide(c.operation, c.nombre1, c.nombre2).texte();
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

    void legendLabelsNameTheRings_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("nearest");
        QTest::addColumn<double>("farthest");
        QTest::newRow("+10 on the centre") << QStringList{u"Label1"_s} << u"+10"_s << 0.0 << 2.0;
        QTest::newRow("+5") << QStringList{u"Label9"_s, u"Label10"_s, u"Label11"_s, u"Label12"_s} << u"+5"_s
                            << 41.0 << 47.0;
        QTest::newRow("+1") << QStringList{u"Label13"_s, u"Label14"_s, u"Label15"_s, u"Label16"_s} << u"+1"_s
                            << 71.5 << 77.0;
        QTest::newRow("0") << QStringList{u"Label21"_s, u"Label22"_s, u"Label23"_s, u"Label24"_s} << u"0"_s
                           << 103.0 << 107.0;
        QTest::newRow("-5") << QStringList{u"Label17"_s, u"Label18"_s, u"Label19"_s, u"Label20"_s} << u"-5"_s
                            << 135.0 << 139.0;
    }
    void legendLabelsNameTheRings() {
        QFETCH(QStringList, names);
        QFETCH(QString, caption);
        QFETCH(double, nearest);
        QFETCH(double, farthest);
        Kovrant& k = startGame(1, 1);
        for (const QString& name : names) {
            const ui::Label& label = k.label(name);
            QCOMPARE(label.caption(), caption);
            const QPointF centre = QRectF(label.twips()).center() / 20.0 - QPointF(750, 250);
            // The substitute font may make the box a little wider or narrower than the design's.
            const double distance = std::hypot(centre.x(), centre.y());
            QVERIFY2(distance >= nearest - 2 && distance <= farthest + 2, qPrintable(name));
            QVERIFY2(std::min(std::fabs(centre.x()), std::fabs(centre.y())) <= 3, qPrintable(name));
        }
    }

    void doubleScaleShowsTheSameScene() {
        Kovrant& k = startGame(2, 4);
        answer(k, 0.0);
        const QImage one = k.render(1.0), two = k.render(2.0);
        QCOMPARE(two.size(), one.size() * 2);
        int compared = 0;
        for (int y = 1; y < one.height() - 1; y += 2) {
            for (int x = 1; x < one.width() - 1; x += 2) {
                const QRgb c = one.pixel(x, y);
                bool uniform = true;
                for (int dy = -1; dy <= 1 && uniform; ++dy) {
                    for (int dx = -1; dx <= 1 && uniform; ++dx) {
                        uniform = one.pixel(x + dx, y + dy) == c;
                    }
                }
                if (!uniform) {
                    continue; // an edge, where the two scales may blend differently
                }
                ++compared;
                QVERIFY2(two.pixel(2 * x, 2 * y) == c && two.pixel(2 * x + 1, 2 * y + 1) == c,
                         qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
        }
        QVERIFY(compared > one.width() * one.height() / 8);
    }

    void helpAndCommentShowOnlyInThePause_data() {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<bool>("help");
        QTest::newRow("exact: no help") << 1.0 << false;
        QTest::newRow("20 % short: no help") << 0.8 << false;
        QTest::newRow("40 % short: help") << 0.6 << true;
        QTest::newRow("zero: help") << 0.0 << true;
    }
    void helpAndCommentShowOnlyInThePause() {
        QFETCH(double, fraction);
        QFETCH(bool, help);
        Kovrant& k = startGame(2, 6);
        const auto shown = [&k](const char16_t* name) { return k.findControl(name)->isVisible(); };
        for (int round = 0; round < 2; ++round) {
            QVERIFY(!shown(u"commentaire") && !shown(u"Titre_aide") && !shown(u"arret") && !shown(u"flèche"));
            answer(k, fraction);
            QVERIFY(shown(u"commentaire") && shown(u"arret") && shown(u"flèche"));
            QCOMPARE(shown(u"Titre_aide"), help);
            testsupport::clickControl(k, u"flèche");
        }
    }

    void aWholeGameEndsOnFin() {
        for (int family = 1; family <= 3; ++family) {
            module11.operations_choisies[family] = 1;
        }
        screens::kovrant().show();
        auto& k = screens::kovrant().as<Kovrant>();
        int questions = 0;
        for (;;) {
            QCOMPARE(module11.attente_reponse.value(), 1);
            ++questions;
            answer(k, 1.0);
            QCOMPARE(module11.score.value(), 10 * questions);
            if (module11.score > 99 || questions > 10) {
                break;
            }
            testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        }
        // Ten exact answers take the score above 99; the key after the last one shows FIN, not a question.
        QCOMPARE(questions, 10);
        const QString lastCalculation = k.label(u"Calcul").caption();
        testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        QVERIFY(screens::fin().isLoaded());
        QCOMPARE(ui::Runtime::instance().activeForm(), &screens::fin().get());
        QCOMPARE(module11.attente_reponse.value(), 0);
        QCOMPARE(module11.score.value(), 0);
        QCOMPARE(k.label(u"Calcul").caption(), lastCalculation);
        testsupport::typeKey(screens::fin().get(), Qt::Key_Return, u"\r"_s);
        QCOMPARE(ui::Runtime::instance().activeForm(), &screens::aurevoir().get());
        testsupport::clickControl(screens::aurevoir().get(), u"flèche");
        QVERIFY(testsupport::programEnded());
    }
};

QTEST_MAIN(DisplayTest)
#include "tst_display.moc"
