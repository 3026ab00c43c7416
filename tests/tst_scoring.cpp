#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "support.h"
#include "ui/colour.h"

#include <QTest>
#include <cmath>
#include <optional>

using exercise::Kovrant;
using exercise::Operation;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Operation)

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

void blink(Kovrant& k, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        k.timer2().fire();
    }
}

} // namespace

class ScoringTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void estimatesScoreByTheirRatio_data() {
        QTest::addColumn<float>("resultat");
        QTest::addColumn<QString>("estimate");
        QTest::addColumn<int>("points");
        // The limits are compared in single precision, where some exact ratios (95 %, 90 % of 4000) land
        // just above them; 75 %, 4/3, half and double sit on their limits and take the better band.
        const struct {
            float resultat;
            int estimate, points;
        } rows[] = {{1000, 1000, 10}, {1000, 951, 10},  {1000, 1052, 10},     {1000, 1053, 5},
                    {1000, 901, 5},   {1000, 1111, 5},  {1000, 1112, 1},      {1000, 751, 1},
                    {1000, 1333, 1},  {1000, 1334, 0},  {1000, 501, 0},       {1000, 749, 0},
                    {1000, 499, -5},  {1000, 2001, -5}, {1000, 99999999, -5}, {4000, 3800, 5},
                    {4000, 3600, 1},  {4000, 3000, 1},  {3000, 4000, 1},      {4000, 2000, 0},
                    {4000, 8000, 0},  {1234, 0, -5}};
        for (const auto& [resultat, estimate, points] : rows) {
            QTest::addRow("%g, estimate %d: %+d", double(resultat), estimate, points)
                << resultat << QString::number(estimate) << points;
        }
        QTest::newRow("no estimate: as far as can be") << 1234.f << QString() << -5;
    }
    void estimatesScoreByTheirRatio() {
        QFETCH(float, resultat);
        QFETCH(QString, estimate);
        QFETCH(int, points);
        const float ecart = exercise::mesurer_ecart(estimate, resultat);
        QVERIFY(estimate.toInt() != 0 || ecart == 1.0f);
        QCOMPARE(exercise::bande_pour(ecart).points, points);
    }

    void verdictOnTheWindow_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<double>("fraction"); // of the result, keyed as the estimate
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<double>("inner"); // radii of the ring the mark lands in
        QTest::addColumn<double>("outer");
        QTest::addColumn<int>("ring"); // the mark blinks in the ring's colour and this one, then keeps it
        QTest::addColumn<int>("contrast");
        const QString dommage = u"Dommage, tu perds 5 points"_s;
        QTest::newRow("exact: +10, on the centre, yellow then black")
            << 20 << 1.0 << 30 << u"Excellent, tu marques 10 points"_s << 3. << 3. << 14 << 0;
        QTest::newRow("6 % short: +5, light red then black")
            << 20 << 0.94 << 25 << u"Trés bien, tu marques 5 points"_s << 33. << 57. << 12 << 0;
        QTest::newRow("24 % short: +1, light cyan then black")
            << 20 << 0.76 << 21 << u"Bravo, tu marques 1 point"_s << 63. << 87. << 11 << 0;
        QTest::newRow("49 % short: 0, black then light red")
            << 20 << 0.51 << 20 << u"Trop loin, tu ne marques rien"_s << 93. << 117. << 0 << 12;
        QTest::newRow("zero: -5, white then black") << 20 << 0.0 << 15 << dommage << 123. << 147. << 15 << 0;
        QTest::newRow("-5 at 3: the score stops at 0") << 3 << 0.0 << 0 << dommage << 123. << 147. << 15 << 0;
    }
    void verdictOnTheWindow() {
        QFETCH(int, before);
        QFETCH(double, fraction);
        QFETCH(int, after);
        QFETCH(QString, comment);
        QFETCH(double, inner);
        QFETCH(double, outer);
        QFETCH(int, ring);
        QFETCH(int, contrast);
        Kovrant& k = testsupport::newGame(game, 11, {2});
        // Nothing blinks before the first verdict.
        const QImage unjudged = k.render(1.0);
        blink(k, 300);
        QCOMPARE(k.render(1.0), unjudged);
        game->module11.score = before;
        testsupport::answer(k, fraction);
        QCOMPARE(game->module11.score.value(), after);
        QCOMPARE(testsupport::label(k, u"commentaire").caption(), comment);
        QCOMPARE(testsupport::label(k, u"Titre_aide").isVisible(), after <= before);
        const QPointF mark(k.champs().x_reponse, k.champs().y_reponse);
        const double radius = std::hypot(mark.x() - 750.0, mark.y() - 250.0);
        QVERIFY2(radius >= inner - 1e-3 && radius <= outer + 1e-3, qPrintable(QString::number(radius)));
        // Ten ticks in each colour in turn up to the 170th, then the contrasting colour for good.
        int fired = 0;
        for (int tick : {0, 9, 10, 19, 20, 30, 160, 169, 170, 400}) {
            blink(k, tick - fired);
            fired = tick;
            const QColor seen = testsupport::colourAtUnits(testsupport::drawing(k), mark);
            QCOMPARE(seen, ui::paletteColour(tick < 170 && (tick / 10) % 2 == 0 ? ring : contrast));
        }
    }

    void exactResultIsShownGrouped() {
        Kovrant& k = testsupport::newGame(game, 3719, {1}); // a seed found beforehand to pose 123 first
        QCOMPARE(k.champs().calcul.resultat, 123.f);
        QCOMPARE(testsupport::label(k, u"réponse_exacte").caption(), QString());
        testsupport::typeText(k, u"7\r"_s);
        // Grouped as every number the window shows: the sign's blank is grouped too.
        QCOMPARE(testsupport::label(k, u"réponse_exacte").caption(), u"la réponse exacte est   123"_s);
    }

    void helpLineOnRoundedOperands_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<float>("nombre1");
        QTest::addColumn<float>("nombre2");
        QTest::addColumn<QString>("line");
        QTest::newRow("3470 + 620") << Operation::Addition << 3470.f << 620.f << u" 3 000 +   600 =  3 600"_s;
        QTest::newRow("3470 × 62") << Operation::Multiplication << 3470.f << 62.f
                                   << u" 3 000 \u00D7 60 =   180 000"_s;
        QTest::newRow("7440 : 62, the dividend made exact")
            << Operation::Division << 7440.f << 62.f << u" 6 000 :  60 =   100"_s;
        QTest::newRow("5200 - 1900") << Operation::Soustraction << 5200.f << 1900.f
                                     << u" 5 000 - 2 000 =  3 000"_s;
        QTest::newRow("ten million in digits, not exponent form")
            << Operation::Multiplication << 9999.f << 999.f << u" 10 000 000"_s;
    }
    void helpLineOnRoundedOperands() {
        QFETCH(Operation, operation);
        QFETCH(float, nombre1);
        QFETCH(float, nombre2);
        QFETCH(QString, line);
        const QString text = exercise::ligne_aide(operation, nombre1, nombre2).texte();
        QCOMPARE(text.right(line.size()), line);
    }
};

QTEST_MAIN(ScoringTest)
#include "tst_scoring.moc"
