#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/fonts.h"
#include "ui/numbers.h"

#include <QFontMetricsF>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

using exercise::Kovrant;
using exercise::Operation;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

Q_DECLARE_METATYPE(Operation)

namespace {

struct Question {
    Operation operation;
    float nombre1, nombre2, resultat;
    QString texteCalcul, caption;
    int decalage, left;
    bool operator==(const Question&) const = default;
};

Question current(const Kovrant& k) {
    const auto& c = k.champs();
    const ui::Label& calcul = k.label(u"Calcul");
    return {c.operation,
            c.nombre1,
            c.nombre2,
            c.resultat,
            c.texte_calcul,
            calcul.caption(),
            c.decalage_calcul.value(),
            calcul.left()};
}

// Plays `count` questions with the given families. Each one is dismissed with a hopeless estimate, so the
// score never climbs; `score`, when given, is put in place before the next question is posed.
std::vector<Question> play(const QList<int>& families, int count, int score = -1) {
    for (int f : families) {
        module11.operations_choisies[f] = 1;
    }
    screens::kovrant().show();
    auto& k = screens::kovrant().as<Kovrant>();
    std::vector<Question> questions;
    if (score < 0) {
        questions.push_back(current(k));
    }
    while (int(questions.size()) < count) {
        testsupport::typeText(k, QStringLiteral("0="));
        if (score >= 0) {
            module11.score = score;
        }
        testsupport::typeKey(k, Qt::Key_Space, QStringLiteral(" "));
        questions.push_back(current(k));
    }
    return questions;
}

} // namespace

class GeneratorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(20240611); }

    void familiesComeUpEvenly_data() {
        QTest::addColumn<QList<int>>("families");
        // Expected shares of addition, multiplication, division and subtraction.
        QTest::addColumn<QList<double>>("shares");
        QTest::newRow("all three families, a third each")
            << QList<int>{1, 2, 3} << QList<double>{1. / 6, 1. / 3, 1. / 3, 1. / 6};
        QTest::newRow("additions only: half additions, half subtractions")
            << QList<int>{1} << QList<double>{.5, 0, 0, .5};
        QTest::newRow("additions and divisions: never a multiplication")
            << QList<int>{1, 3} << QList<double>{.25, 0, .5, .25};
        QTest::newRow("multiplications and divisions: half each")
            << QList<int>{2, 3} << QList<double>{0, .5, .5, 0};
    }
    void familiesComeUpEvenly() {
        QFETCH(QList<int>, families);
        QFETCH(QList<double>, shares);
        constexpr int n = 3000;
        double counts[4] = {};
        for (const Question& q : play(families, n)) {
            QVERIFY(q.operation != Operation::Aucune);
            counts[int(q.operation) - 1] += 1;
        }
        for (int op = 0; op < 4; ++op) {
            const double p = shares[op];
            // Five standard deviations of a binomial count: a fair generator essentially never fails it.
            const double tolerance = 5 * std::sqrt(n * p * (1 - p));
            QVERIFY2(std::fabs(counts[op] - n * p) <= tolerance,
                     qPrintable(QStringLiteral("operation %1: %2 of %3").arg(op + 1).arg(counts[op]).arg(n)));
        }
    }

    void operandsFollowTheScore_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("score");
        // Multiplications: the smaller and the larger operand. Divisions: the divisor and the quotient.
        QTest::addColumn<QList<int>>("first");
        QTest::addColumn<QList<int>>("second");
        QTest::newRow("× at 10: two 2-digit numbers") << 2 << 10 << QList<int>{11, 99} << QList<int>{11, 99};
        QTest::newRow("× at 11: 3 digits by 2") << 2 << 11 << QList<int>{11, 99} << QList<int>{101, 999};
        QTest::newRow("× at 20: 3 digits by 2") << 2 << 20 << QList<int>{11, 99} << QList<int>{101, 999};
        QTest::newRow("× at 21: 3 digits by 3") << 2 << 21 << QList<int>{101, 999} << QList<int>{101, 999};
        QTest::newRow("× at 30: 3 digits by 3") << 2 << 30 << QList<int>{101, 999} << QList<int>{101, 999};
        QTest::newRow("× at 31: up to 4 digits by 3")
            << 2 << 31 << QList<int>{11, 999} << QList<int>{11, 9999};
        QTest::newRow(": at 10: by one digit") << 3 << 10 << QList<int>{2, 9} << QList<int>{101, 999};
        QTest::newRow(": at 11: by two digits") << 3 << 11 << QList<int>{11, 99} << QList<int>{101, 9999};
        QTest::newRow(": at 30: by two digits") << 3 << 30 << QList<int>{11, 99} << QList<int>{101, 9999};
        QTest::newRow(": at 31: up to three digits") << 3 << 31 << QList<int>{11, 999} << QList<int>{2, 1001};
    }
    void operandsFollowTheScore() {
        QFETCH(int, family);
        QFETCH(int, score);
        QFETCH(QList<int>, first);
        QFETCH(QList<int>, second);
        constexpr int n = 300;
        float low1 = 1e9f, high2 = 0;
        int firstIsLarger = 0;
        for (const Question& q : play({family}, n, score)) {
            firstIsLarger += q.nombre1 > q.nombre2 ? 1 : 0;
            float a = std::min(q.nombre1, q.nombre2), b = std::max(q.nombre1, q.nombre2);
            if (family == 3) {
                QCOMPARE(q.nombre1, q.resultat * q.nombre2);
                a = q.nombre2;
                b = q.resultat;
                // A three-digit divisor leaves room for a two-digit quotient only.
                QVERIFY(a < 100 || b <= 101);
            } else {
                QCOMPARE(q.resultat, q.nombre1 * q.nombre2);
            }
            QVERIFY2(a >= first[0] && a <= first[1], qPrintable(QString::number(a)));
            QVERIFY2(b >= second[0] && b <= second[1], qPrintable(QString::number(b)));
            low1 = std::min(low1, a);
            high2 = std::max(high2, b);
        }
        // The whole band is reached, not only a corner of it.
        QVERIFY(low1 <= first[0] + (first[1] - first[0]) / 10);
        QVERIFY(high2 >= second[1] - (second[1] - second[0]) / 10);
        if (family == 2 && first[1] < second[0]) {
            // The longer factor comes first or second with even odds (five standard deviations).
            QVERIFY2(std::abs(firstIsLarger - n / 2) <= 5 * std::sqrt(n / 4.0),
                     qPrintable(QString::number(firstIsLarger)));
        }
    }

    void calculationsAreWellFormed() {
        for (const Question& q : play({1, 3}, 1500)) {
            QCOMPARE(q.nombre1, std::floor(q.nombre1));
            QCOMPARE(q.nombre2, std::floor(q.nombre2));
            switch (q.operation) {
            case Operation::Addition:
                QCOMPARE(q.resultat, q.nombre1 + q.nombre2);
                break;
            case Operation::Soustraction:
                QVERIFY(q.nombre1 >= q.nombre2);
                QCOMPARE(q.resultat, q.nombre1 - q.nombre2);
                QVERIFY(std::fabs(ui::roundToLeadingDigit(q.nombre1) - ui::roundToLeadingDigit(q.nombre2)) >
                        100);
                break;
            case Operation::Division:
                QCOMPARE(q.nombre1, q.resultat * q.nombre2);
                QCOMPARE(q.resultat, std::floor(q.resultat));
                break;
            default:
                QFAIL("a family that was not chosen");
            }
        }
    }

    void textsOfACalculation_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<float>("nombre1");
        QTest::addColumn<float>("nombre2");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("decalage");
        const QString fois = QStringLiteral(" \u00D7 ");
        QTest::newRow("12 345 + 67 890")
            << Operation::Addition << 12345.f << 67890.f << u"12 345 + 67 890"_s << 20;
        QTest::newRow("999 + 1 000") << Operation::Addition << 999.f << 1000.f << u"999 + 1 000"_s << 10;
        QTest::newRow("12 345 - 678")
            << Operation::Soustraction << 12345.f << 678.f << u"12 345 - 678"_s << 10;
        QTest::newRow("1 234 × 56") << Operation::Multiplication << 1234.f << 56.f
                                    << QString(u"1 234"_s + fois + u"56"_s) << 8;
        QTest::newRow("1 234 × 5 678")
            << Operation::Multiplication << 1234.f << 5678.f << QString(u"1 234"_s + fois + u"5 678"_s) << 16;
        QTest::newRow("123 474 : 78") << Operation::Division << 123474.f << 78.f << u"123 474 : 78"_s << 10;
        QTest::newRow("303 : 3") << Operation::Division << 303.f << 3.f << u"303 : 3"_s << 0;
        QTest::newRow("divisor's blank not counted")
            << Operation::Division << 2002.f << 1001.f << u"2 002 : 1 001"_s << 10;
    }
    void textsOfACalculation() {
        QFETCH(Operation, operation);
        QFETCH(float, nombre1);
        QFETCH(float, nombre2);
        QFETCH(QString, texte);
        QFETCH(int, decalage);
        const exercise::TextesCalcul t = exercise::textes_calcul(operation, nombre1, nombre2);
        QCOMPARE(t.texte_calcul, texte);
        QCOMPARE(t.decalage_calcul.value(), decalage);
    }

    // The right end of the calculation, as measured in the window's 48-point bold serif, falls at 320
    // points plus the correction, just left of the "approximately equal" sign.
    void calculationIsPlacedByItsMeasuredWidth() {
        const QFontMetricsF metrics(ui::makeFont(QStringLiteral("Times New Roman"), 48, true));
        for (const Question& q : play({1, 2, 3}, 60)) {
            const exercise::TextesCalcul t = exercise::textes_calcul(q.operation, q.nombre1, q.nombre2);
            QCOMPARE(q.texteCalcul, t.texte_calcul);
            QCOMPARE(q.decalage, t.decalage_calcul.value());
            QCOMPARE(q.caption, QString(q.texteCalcul + u"        ?"_s));
            const double w = metrics.horizontalAdvance(q.texteCalcul) / (4.0 / 3.0);
            QVERIFY2(std::abs(q.left - (320 - w + q.decalage) * 20) <= 1.0, qPrintable(q.texteCalcul));
        }
    }

    void aSeedReplaysTheSameCalculations() {
        const std::vector<Question> first = play({1, 2, 3}, 40);
        testsupport::resetProgram(20240611);
        QVERIFY(play({1, 2, 3}, 40) == first);
        testsupport::resetProgram(20240612);
        QVERIFY(play({1, 2, 3}, 40) != first);
    }
};

QTEST_MAIN(GeneratorTest)
#include "tst_generator.moc"
