#include "shell/module11.h"
#include "support.h"
#include "ui/colour.h"
#include "ui/integer.h"
#include "ui/numbers.h"
#include "ui/runtime_error.h"

#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using ui::ErrorCode;
using ui::Integer;

namespace {

constexpr int noError = 0;

// The error number a call stops the program with, or noError when it returns normally.
int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ui::RuntimeErrorException& e) {
        return int(e.code);
    }
    return noError;
}

int code(ErrorCode c) {
    return int(c);
}

using Arithmetic = Integer (*)(int, int);

} // namespace

Q_DECLARE_METATYPE(Arithmetic)

class NumbersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void singleToText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero has its blank") << 0.0f << u" 0"_s;
        QTest::newRow("positive whole number") << 123.0f << u" 123"_s;
        QTest::newRow("negative takes a minus instead of the blank") << -5.0f << u"-5"_s;
        QTest::newRow("a half has no leading zero") << 0.5f << u" .5"_s;
        QTest::newRow("negative fraction") << -0.25f << u"-.25"_s;
        QTest::newRow("seven digits in full") << 9999999.0f << u" 9999999"_s;
        QTest::newRow("third rounded to seven digits") << 1.0f / 3.0f << u" .3333333"_s;
        QTest::newRow("two thirds rounded up") << 2.0f / 3.0f << u" .6666667"_s;
        QTest::newRow("seven digits across the point") << 123456.7f << u" 123456.7"_s;
        QTest::newRow("ten million in exponent form") << 10000000.0f << u" 1E+07"_s;
        QTest::newRow("eight digits rounded in exponent form") << 12345678.0f << u" 1.234568E+07"_s;
        QTest::newRow("negative exponent form") << -50000000.0f << u"-5E+07"_s;
    }
    void singleToText() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(ui::texte_nombre(value), text);
    }

    void integerToText_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << u" 0"_s;
        QTest::newRow("negative") << -7 << u"-7"_s;
        QTest::newRow("largest") << 32767 << u" 32767"_s;
        QTest::newRow("smallest") << -32768 << u"-32768"_s;
    }
    void integerToText() {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(ui::texte_nombre(Integer(value)), text);
    }

    void thousandsBlanks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spaced");
        QTest::newRow("three digits after the sign blank get a second blank") << u" 123"_s << "  123";
        QTest::newRow("four digits after the sign blank") << u" 1234"_s << " 1 234";
        QTest::newRow("six digits: the sign blank makes eight characters") << u" 123456"_s << "  123 456";
        QTest::newRow("seven digits") << u" 1234567"_s << " 1 234 567";
        QTest::newRow("eight digits") << u" 12345678"_s << " 12 345 678";
        QTest::newRow("bare three digits untouched") << u"123"_s << "123";
        QTest::newRow("bare four digits") << u"1234"_s << "1 234";
        QTest::newRow("empty") << u""_s << "";
    }
    void thousandsBlanks() {
        QFETCH(QString, text);
        QFETCH(QString, spaced);
        QCOMPARE(ui::espacer_milliers(text), spaced);
    }

    void leadingDigitRounding_data() {
        QTest::addColumn<double>("n");
        QTest::addColumn<float>("rounded");
        QTest::newRow("4 567 up to 5 000") << 4567.0 << 5000.0f;
        QTest::newRow("half goes up: 2 500") << 2500.0 << 3000.0f;
        QTest::newRow("149 down to 100") << 149.0 << 100.0f;
        QTest::newRow("11 down to 10") << 11.0 << 10.0f;
        QTest::newRow("95 carries to 100") << 95.0 << 100.0f;
        QTest::newRow("950 carries to 1000") << 950.0 << 1000.0f;
        QTest::newRow("exact thousand") << 1000.0 << 1000.0f;
        QTest::newRow("exact ten million") << 10000000.0 << 10000000.0f;
        QTest::newRow("eight nines carry to 100 million") << 99999999.0 << 100000000.0f;
    }
    void leadingDigitRounding() {
        QFETCH(double, n);
        QFETCH(float, rounded);
        QCOMPARE(ui::roundToLeadingDigit(n), rounded);
    }

    void numericValueOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty is zero") << u""_s << 0.0;
        QTest::newRow("digits") << u"12345678"_s << 12345678.0;
        QTest::newRow("stops at a letter") << u"12abc"_s << 12.0;
        QTest::newRow("no number at all") << u"abc"_s << 0.0;
        QTest::newRow("negative") << u"-5"_s << -5.0;
        QTest::newRow("decimal point") << u"3.5x"_s << 3.5;
    }
    void numericValueOfText() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ui::numericValue(text), value);
    }

    void integerRange_data() {
        QTest::addColumn<Arithmetic>("compute");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("exact"); // what the arithmetic gives without a range
        const Arithmetic plus = [](int a, int b) { return Integer(a) + Integer(b); };
        const Arithmetic minus = [](int a, int b) { return Integer(a) - Integer(b); };
        const Arithmetic times = [](int a, int b) { return Integer(a) * Integer(b); };
        const Arithmetic negate = [](int a, int) { return -Integer(a); };
        const Arithmetic build = [](int a, int) { return Integer(a); };
        const Arithmetic addTo = [](int a, int b) {
            Integer n(a);
            n += b;
            return n;
        };
        QTest::newRow("largest plus zero") << plus << 32767 << 0 << 32767;
        QTest::newRow("largest plus one") << plus << 32767 << 1 << 32768;
        QTest::newRow("smallest minus one") << minus << -32768 << 1 << -32769;
        QTest::newRow("zero minus smallest") << minus << 0 << -32768 << 32768;
        QTest::newRow("181 squared fits") << times << 181 << 181 << 32761;
        QTest::newRow("182 squared overflows") << times << 182 << 182 << 33124;
        QTest::newRow("negative product fits") << times << -128 << 256 << -32768;
        QTest::newRow("negative product overflows") << times << -200 << 200 << -40000;
        QTest::newRow("negating the smallest") << negate << -32768 << 0 << 32768;
        QTest::newRow("built from 32768") << build << 32768 << 0 << 32768;
        QTest::newRow("built from -32769") << build << -32769 << 0 << -32769;
        QTest::newRow("compound add overflows") << addTo << 32000 << 1000 << 33000;
    }
    void integerRange() {
        QFETCH(Arithmetic, compute);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, exact);
        Integer result;
        const int error = errorOf([&] { result = compute(a, b); });
        if (exact < -32768 || exact > 32767) {
            QCOMPARE(error, code(ErrorCode::Overflow));
        } else {
            QCOMPARE(error, noError);
            QCOMPARE(result.value(), exact);
        }
    }

    void arraySubscripts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("inside");
        QTest::newRow("below the lower bound") << -1 << false;
        QTest::newRow("upper bound") << 3 << true;
        QTest::newRow("above the upper bound") << 4 << false;
    }
    void arraySubscripts() {
        QFETCH(int, index);
        QFETCH(bool, inside);
        auto& choisies = shell::module11.operations_choisies;
        const int error = errorOf([&] { choisies[index] = 1; });
        if (inside) {
            QCOMPARE(error, noError);
            QCOMPARE(choisies[index].value(), 1);
        } else {
            QCOMPARE(error, code(ErrorCode::SubscriptOutOfRange));
        }
        // An array whose bounds do not start at zero checks both ends too.
        ui::Array<int, 1, 3> fromOne;
        QCOMPARE(errorOf([&] { fromOne[0] = 1; }), code(ErrorCode::SubscriptOutOfRange));
        QCOMPARE(errorOf([&] { fromOne[3] = 1; }), noError);
    }

    void palette_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0 black") << 0 << QColor(0, 0, 0);
        QTest::newRow("4 red") << 4 << QColor(128, 0, 0);
        QTest::newRow("7 light grey") << 7 << QColor(192, 192, 192);
        QTest::newRow("11 light cyan") << 11 << QColor(0, 255, 255);
        QTest::newRow("12 light red") << 12 << QColor(255, 0, 0);
        QTest::newRow("14 yellow") << 14 << QColor(255, 255, 0);
        QTest::newRow("15 white") << 15 << QColor(255, 255, 255);
    }
    void palette() {
        QFETCH(int, index);
        QFETCH(QColor, colour);
        QCOMPARE(ui::paletteColour(index), colour);
    }

    void invalidCalls() {
        QCOMPARE(errorOf([] { ui::paletteColour(16); }), code(ErrorCode::InvalidCall));
        QCOMPARE(errorOf([] { ui::paletteColour(-1); }), code(ErrorCode::InvalidCall));
        QCOMPARE(errorOf([] { ui::roundToLeadingDigit(0.0); }), code(ErrorCode::InvalidCall));
        QCOMPARE(errorOf([] { ui::roundToLeadingDigit(-12.0); }), code(ErrorCode::InvalidCall));
    }
};

QTEST_MAIN(NumbersTest)
#include "tst_numbers.moc"
