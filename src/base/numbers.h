#pragma once

#include "integer.h"

#include <QString>

namespace base {

// The runtime's number-to-text conversion: a blank before zero and positive values, "-" before negative
// ones, no thousands separator, "." as the decimal point. A single shows at most seven significant
// digits and switches to exponent form from ten million up (" 1E+07").
QString texte_nombre(float x);
QString texte_nombre(Integer n);

// Inserts the thousands blanks: one before the last 3 characters of a text longer than 3, then one
// before the last 7 of a result longer than 7. A leading blank from texte_nombre counts in the lengths.
QString espacer_milliers(const QString& text);

// The number rounded to its leading digit, halves up: 4 567 gives 5 000, 149 gives 100, 95 gives 100.
// Only defined for positive numbers; anything else is an invalid call.
float roundToLeadingDigit(double n);

// The leading decimal number of a text; 0 for a text that does not start with one.
double numericValue(const QString& text);

// The text as a speech synthesiser should get it: runs of blanks made one, the blanks that group the
// digits of a number taken out ("12 345" is one number, not two) and the sign × read as "fois".
QString spokenText(const QString& text);

// The character of a code in the Windows-1252 set the game was written for (215 is the sign ×).
QString characterOf(int code);

} // namespace base
