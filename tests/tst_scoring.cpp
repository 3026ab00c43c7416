#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/numbers.h"

#include <QTest>
#include <cmath>

using exercise::Kovrant;
using exercise::Operation;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

Q_DECLARE_METATYPE(Operation)

namespace {

Kovrant& startGame(int family, std::uint32_t seed) {
    testsupport::resetProgram(seed);
    module11.operations_choisies[family] = 1;
    screens::kovrant().show();
    return screens::kovrant().as<Kovrant>();
}

void answer(Kovrant& k, const QString& digits) {
    testsupport::typeText(k, digits);
    testsupport::typeKey(k, Qt::Key_Return, u"\r"_s);
}

QString exactly(const Kovrant& k) {
    return QString::number(qint64(k.champs().resultat));
}

} // namespace

class ScoringTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void estimatesScoreByTheirRatio_data() {
        QTest::addColumn<float>("resultat");
        QTest::addColumn<QString>("estimate");
        QTest::addColumn<int>("points");
        const struct {
            float resultat;
            QList<int> estimates;
            int points;
        } rows[] = {
            {100, {96, 100, 105}, 10},
            {100, {95, 106, 111}, 5},
            {100, {91}, 5},
            {100, {90, 112, 133, 75}, 1},
            {100, {50, 74, 134, 200}, 0},
            {100, {49, 201, 1}, -5},
            {1000, {951, 1000, 1052}, 10},
            {1000, {901, 950, 1053, 1111}, 5},
            {1000, {750, 900, 1112, 1333}, 1},
            {1000, {500, 749, 1334, 2000}, 0},
            {1000, {499, 2001, 99999999}, -5},
        };
        for (const auto& row : rows) {
            for (int e : row.estimates) {
                QTest::addRow("%g, estimate %d: %+d", double(row.resultat), e, row.points)
                    << row.resultat << QString::number(e) << row.points;
            }
        }
        // The limits are compared in single precision, where some exact ratios land just above them.
        QTest::newRow("exactly 95 % of 4000: 5, not 10") << 4000.f << u"3800"_s << 5;
        QTest::newRow("exactly 90 % of 4000: 1, not 5") << 4000.f << u"3600"_s << 1;
        QTest::newRow("exactly 75 % of 4000: 1") << 4000.f << u"3000"_s << 1;
        QTest::newRow("exactly 4/3 of 3000: 1") << 3000.f << u"4000"_s << 1;
        QTest::newRow("exactly half of 4000: 0") << 4000.f << u"2000"_s << 0;
        QTest::newRow("exactly double 4000: 0") << 4000.f << u"8000"_s << 0;
    }
    void estimatesScoreByTheirRatio() {
        QFETCH(float, resultat);
        QFETCH(QString, estimate);
        QFETCH(int, points);
        const float ecart = exercise::mesurer_ecart(estimate, resultat);
        QVERIFY(ecart >= 0 && ecart <= 1);
        QCOMPARE(exercise::bande_pour(ecart).points, points);
    }

    void noEstimateIsAsFarAsCanBe_data() {
        QTest::addColumn<QString>("estimate");
        QTest::newRow("empty") << QString();
        QTest::newRow("0") << u"0"_s;
    }
    void noEstimateIsAsFarAsCanBe() {
        QFETCH(QString, estimate);
        const float ecart = exercise::mesurer_ecart(estimate, 1234);
        QCOMPARE(ecart, 1.0f);
        QCOMPARE(&exercise::bande_pour(ecart), &exercise::bandes[4]);
    }

    void verdictOnTheWindow_data() {
        QTest::addColumn<double>("fraction"); // of the result, keyed as the estimate
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<double>("innerRadius");
        QTest::addColumn<double>("outerRadius");
        QTest::addColumn<int>("couleur1");
        QTest::addColumn<int>("couleur2");
        const struct {
            int points;
            const char16_t* comment;
            double inner, outer;
            int couleur1, couleur2;
            QList<double> fractions; // near both ends of the band
        } bands[] = {
            {10, u"Excellent, tu marques 10 points", 3, 27, 14, 0, {1.0, 0.96}},
            {5, u"Trés bien, tu marques 5 points", 33, 57, 12, 0, {0.94, 0.905}},
            {1, u"Bravo, tu marques 1 point", 63, 87, 11, 0, {0.89, 0.76}},
            {0, u"Trop loin, tu ne marques rien", 93, 117, 0, 12, {0.74, 0.51}},
            {-5, u"Dommage, tu perds 5 points", 123, 147, 15, 0, {0.45, 0.0}},
        };
        for (const auto& band : bands) {
            for (double fraction : band.fractions) {
                QTest::addRow("%g of the result: %+d", fraction, band.points)
                    << fraction << band.points << QString::fromUtf16(band.comment) << band.inner
                    << (fraction == 1.0 ? 3.0 : band.outer) << band.couleur1 << band.couleur2;
            }
        }
    }
    void verdictOnTheWindow() {
        QFETCH(double, fraction);
        QFETCH(int, points);
        QFETCH(QString, comment);
        QFETCH(double, innerRadius);
        QFETCH(double, outerRadius);
        QFETCH(int, couleur1);
        QFETCH(int, couleur2);
        for (std::uint32_t seed : {11u, 12u, 13u}) {
            Kovrant& k = startGame(2, seed);
            module11.score = 20;
            answer(k, QString::number(std::lround(k.champs().resultat * fraction)));
            const auto& c = k.champs();
            QCOMPARE(module11.score.value(), 20 + points);
            QCOMPARE(k.label(u"commentaire").caption(), comment);
            QVERIFY(k.label(u"commentaire").isVisible());
            QCOMPARE(k.label(u"Titre_aide").isVisible(), points <= 0);
            const double radius = std::hypot(c.x_reponse - 750.0, c.y_reponse - 250.0);
            QVERIFY2(radius >= innerRadius - 1e-3 && radius <= outerRadius + 1e-3,
                     qPrintable(QString::number(radius)));
            QCOMPARE(c.couleur1.value(), couleur1);
            QCOMPARE(c.couleur2.value(), couleur2);
        }
    }

    void scoreNeverGoesBelowZero() {
        Kovrant& k = startGame(2, 5);
        module11.score = 3;
        answer(k, u"0"_s);
        QCOMPARE(module11.score.value(), 0);
        QCOMPARE(module11.texte_score, u" Score = 0"_s);
        testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        answer(k, exactly(k));
        QCOMPARE(module11.score.value(), 10);
        QCOMPARE(module11.texte_score, u" Score = 10"_s);
    }

    // Seeds found beforehand to pose these results as the first calculation of additions and subtractions.
    void exactResultIsShownGrouped_data() {
        QTest::addColumn<uint>("seed");
        QTest::addColumn<float>("resultat");
        QTest::addColumn<QString>("shown");
        QTest::newRow("12: one blank") << 1286969u << 12.f << u" 12"_s;
        QTest::newRow("123: the sign's blank is grouped too") << 3719u << 123.f << u"  123"_s;
        QTest::newRow("1234") << 1628u << 1234.f << u" 1 234"_s;
        QTest::newRow("123456") << 6526993u << 123456.f << u"  123 456"_s;
    }
    void exactResultIsShownGrouped() {
        QFETCH(uint, seed);
        QFETCH(float, resultat);
        QFETCH(QString, shown);
        Kovrant& k = startGame(1, seed);
        QCOMPARE(k.champs().resultat, resultat);
        QCOMPARE(k.label(u"réponse_exacte").caption(), QString());
        answer(k, u"7"_s);
        QCOMPARE(k.label(u"réponse_exacte").caption(), QString(u"la réponse exacte est "_s + shown));
    }
    void sevenDigitResultTakesTwoBlanks() {
        // No seed reaches a product of 1 234 567 soon enough; the window builds its text this way.
        QCOMPARE(ui::espacer_milliers(ui::texte_nombre(1234567.f)), u" 1 234 567"_s);
    }

    void helpLineOnRoundedOperands_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<float>("nombre1");
        QTest::addColumn<float>("nombre2");
        QTest::addColumn<QString>("line");
        const QString fois = u"\u00D7"_s;
        QTest::newRow("3470 + 620") << Operation::Addition << 3470.f << 620.f << u" 3 000 +   600 =  3 600"_s;
        QTest::newRow("3470 × 62") << Operation::Multiplication << 3470.f << 62.f
                                   << QString(u" 3 000 "_s + fois + u" 60 =   180 000"_s);
        QTest::newRow("7440 : 62, the dividend made exact")
            << Operation::Division << 7440.f << 62.f << u" 6 000 :  60 =   100"_s;
        QTest::newRow("5200 - 1900") << Operation::Soustraction << 5200.f << 1900.f
                                     << u" 5 000 - 2 000 =  3 000"_s;
        QTest::newRow("25 × 35") << Operation::Multiplication << 25.f << 35.f
                                 << QString(u" 30 "_s + fois + u" 40 =  1 200"_s);
        QTest::newRow("950 + 149, halves up")
            << Operation::Addition << 950.f << 149.f << u" 1 000 +   100 =  1 100"_s;
    }
    void helpLineOnRoundedOperands() {
        QFETCH(Operation, operation);
        QFETCH(float, nombre1);
        QFETCH(float, nombre2);
        QFETCH(QString, line);
        QCOMPARE(exercise::ligne_aide(operation, nombre1, nombre2).texte(), line);
    }

    void tenMillionIsWrittenInDigits() {
        const QString t = exercise::texte_arrondi(1e7f);
        QVERIFY2(!t.contains(u'E'), qPrintable(t));
        QCOMPARE(QString(t).remove(u' '), u"10000000"_s);
        const QString line = exercise::ligne_aide(Operation::Multiplication, 9999, 999).texte();
        QVERIFY2(line.endsWith(u"10 000 000"_s), qPrintable(line));
    }
};

QTEST_MAIN(ScoringTest)
#include "tst_scoring.moc"
