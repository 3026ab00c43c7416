#include "colour.h"
#include "integer.h"
#include "numbers.h"
#include "regles.h"
#include "runtime_error.h"

#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using base::ErrorCode;
using base::Integer;

namespace {

constexpr int noError = 0;

// The error number a call stops the program with, or noError when it returns normally.
int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const base::RuntimeErrorException& e) {
        return int(e.code);
    }
    return noError;
}

} // namespace

class NumbersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Numbers written as the game writes them, thousands apart on screen, and read by a French
    // synthesiser: numbers whole, operators in words.
    void texts_data() {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("expected");
        const auto text = [](float x) { return base::texte_nombre(x); };
        const auto rounded = [](double x) { return base::texte_nombre(base::roundToLeadingDigit(x)); };
        const auto space = base::espacer_milliers;
        QTest::newRow("zero has its blank") << text(0.0f) << u" 0"_s;
        QTest::newRow("negative takes a minus instead of the blank") << text(-5.0f) << u"-5"_s;
        QTest::newRow("negative fraction has no leading zero") << text(-0.25f) << u"-.25"_s;
        QTest::newRow("seven digits in full") << text(9999999.0f) << u" 9999999"_s;
        QTest::newRow("two thirds rounded up to seven digits") << text(2.0f / 3.0f) << u" .6666667"_s;
        QTest::newRow("ten million in exponent form") << text(10000000.0f) << u" 1E+07"_s;
        QTest::newRow("eight digits rounded in exponent form") << text(12345678.0f) << u" 1.234568E+07"_s;
        QTest::newRow("rounded: half goes up, 2 500") << rounded(2500.0) << u" 3000"_s;
        QTest::newRow("rounded: 149 down to 100") << rounded(149.0) << u" 100"_s;
        QTest::newRow("rounded: 95 carries to 100") << rounded(95.0) << u" 100"_s;
        QTest::newRow("rounded: exact ten million") << rounded(10000000.0) << u" 1E+07"_s;
        QTest::newRow("rounded: eight nines carry to 100 million") << rounded(99999999.0) << u" 1E+08"_s;
        QTest::newRow("three digits after the sign blank get a second blank")
            << space(u" 123"_s) << u"  123"_s;
        QTest::newRow("six digits: the sign blank makes eight characters")
            << space(u" 123456"_s) << u"  123 456"_s;
        QTest::newRow("seven digits") << space(u" 1234567"_s) << u" 1 234 567"_s;
        QTest::newRow("bare four digits") << space(u"1234"_s) << u"1 234"_s;
        QTest::newRow("read: grouped numbers, times, blanks run together")
            << base::spokenText(u"12 345 678 × 67 890        ?"_s) << u"12345678 fois 67890 ?"_s;
        QTest::newRow("read: numbers apart, four digits after a blank")
            << base::spokenText(u"10 sur 100, 12 3456"_s) << u"10 sur 100, 12 3456"_s;
        QTest::newRow("read: multiplication, no exponent")
            << exercise::calcul_a_dire(exercise::Operation::Multiplication, 10000, 1000)
            << u"10000 fois 1000"_s;
        QTest::newRow("read: division")
            << exercise::calcul_a_dire(exercise::Operation::Division, 5929, 7) << u"5929 divisé par 7"_s;
        QTest::newRow("read: subtraction")
            << exercise::calcul_a_dire(exercise::Operation::Soustraction, 5000, 2345) << u"5000 moins 2345"_s;
    }
    void texts() {
        QFETCH(QString, made);
        QFETCH(QString, expected);
        QCOMPARE(made, expected);
    }

    // Every way the 16-bit integers, the checked arrays and the library calls stop the program.
    void runtimeErrors() {
        const int overflow = int(ErrorCode::Overflow);
        QCOMPARE(errorOf([] { Integer(32767) + Integer(1); }), overflow);
        QCOMPARE(errorOf([] { Integer(-32768) - Integer(1); }), overflow);
        QCOMPARE(errorOf([] { Integer(182) * Integer(182); }), overflow);
        QCOMPARE(errorOf([] { -Integer(-32768); }), overflow);
        QCOMPARE(errorOf([] { Integer(32768); }), overflow);
        QCOMPARE((Integer(32767) + Integer(0)).value(), 32767);
        QCOMPARE((Integer(-128) * Integer(256)).value(), -32768);
        const int subscript = int(ErrorCode::SubscriptOutOfRange), invalid = int(ErrorCode::InvalidCall);
        exercise::Familles choisies;
        QCOMPARE(errorOf([&] { choisies[-1] = 1; }), subscript);
        QCOMPARE(errorOf([&] { choisies[3] = 1; }), noError);
        QCOMPARE(errorOf([&] { choisies[4] = 1; }), subscript);
        base::Array<int, 1, 3> fromOne;
        QCOMPARE(errorOf([&] { fromOne[0] = 1; }), subscript);
        QCOMPARE(errorOf([] { ui::paletteColour(15); }), noError);
        QCOMPARE(errorOf([] { ui::paletteColour(16); }), invalid);
        QCOMPARE(errorOf([] { ui::paletteColour(-1); }), invalid);
        QCOMPARE(errorOf([] { base::roundToLeadingDigit(0.0); }), invalid);
    }
};

QTEST_MAIN(NumbersTest)
#include "tst_numbers.moc"
