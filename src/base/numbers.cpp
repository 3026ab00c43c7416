#include "numbers.h"

#include <QStringDecoder>
#include <cmath>
#include <cstdio>

namespace base {

namespace {

// The mantissa's digits without trailing zeros, and the decimal exponent, for 7 significant digits.
struct Decimal {
    QString digits;
    int exponent = 0;
};

Decimal sevenDigits(double magnitude) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6e", magnitude);
    const QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    Decimal d;
    d.digits = text.left(e).remove(QLatin1Char('.'));
    while (d.digits.size() > 1 && d.digits.endsWith(QLatin1Char('0'))) {
        d.digits.chop(1);
    }
    d.exponent = text.mid(e + 1).toInt();
    return d;
}

} // namespace

QString texte_nombre(float x) {
    const QString sign = x < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    const double magnitude = std::fabs(static_cast<double>(x));
    if (magnitude == 0.0) {
        return QStringLiteral(" 0");
    }
    const Decimal d = sevenDigits(magnitude);
    if (d.exponent >= 7 || d.exponent < -5) {
        QString mantissa = d.digits.left(1);
        if (d.digits.size() > 1) {
            mantissa += QLatin1Char('.') + d.digits.mid(1);
        }
        const QString exponent = QString::number(std::abs(d.exponent)).rightJustified(2, QLatin1Char('0'));
        return sign + mantissa + (d.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + exponent;
    }
    QString text;
    if (d.exponent >= 0) {
        const qsizetype integerDigits = d.exponent + 1;
        text = d.digits.leftJustified(integerDigits, QLatin1Char('0'));
        if (d.digits.size() > integerDigits) {
            text = d.digits.left(integerDigits) + QLatin1Char('.') + d.digits.mid(integerDigits);
        }
    } else {
        // The runtime writes .5, not 0.5.
        text = QLatin1Char('.') + QString(-d.exponent - 1, QLatin1Char('0')) + d.digits;
    }
    return sign + text;
}

QString texte_nombre(Integer n) {
    return n.value() < 0 ? QString::number(n.value()) : QLatin1Char(' ') + QString::number(n.value());
}

QString espacer_milliers(const QString& text) {
    QString t = text;
    if (t.size() > 3) {
        t.insert(t.size() - 3, QLatin1Char(' '));
    }
    if (t.size() > 7) {
        t.insert(t.size() - 7, QLatin1Char(' '));
    }
    return t;
}

float roundToLeadingDigit(double n) {
    if (!(n > 0.0)) {
        runtimeError(ErrorCode::InvalidCall);
    }
    const double p = std::pow(10.0, std::floor(std::log(n) / std::log(10.0)));
    return static_cast<float>(std::floor(n / p + 0.5) * p);
}

double numericValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) {
        ++i;
    }
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        ++i;
    }
    bool seenPoint = false;
    while (i < text.size() && (text[i].isDigit() || (!seenPoint && text[i] == QLatin1Char('.')))) {
        seenPoint = seenPoint || text[i] == QLatin1Char('.');
        ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

QString characterOf(int code) {
    if (code < 0 || code > 255) {
        runtimeError(ErrorCode::InvalidCall);
    }
    const char byte = static_cast<char>(code);
    auto decode = QStringDecoder(QStringDecoder::Latin1);
    // Windows-1252 differs from Latin-1 only in 128..159, none of which the game uses.
    return decode(QByteArrayView(&byte, 1));
}

QString spokenText(const QString& text) {
    QString words = text;
    words.replace(QChar(0x00D7), QLatin1String(" fois "));
    words = words.simplified();
    const auto digit = [&words](qsizetype i) { return i >= 0 && i < words.size() && words[i].isDigit(); };
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i] == QLatin1Char(' ') && digit(i - 1) && digit(i + 1) && digit(i + 2) && digit(i + 3) &&
            !digit(i + 4)) {
            words.remove(i, 1);
        }
    }
    return words;
}

} // namespace base
