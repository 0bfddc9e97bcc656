#pragma once

#include <QString>
#include <optional>

// Number conventions shared by the whole program: rounding, reading numbers out of texts, and the
// display form with a blank in the sign position.

// Nearest integer, halves to the even one. Not-a-number gives 0; values beyond the range of the
// result are held at its ends.
long long RoundHalfEven(double value);

// The decimal number at the start of the text (blanks before it skipped, an optional sign, digits
// with an optional '.' and more digits), up to the first other character; 0 when nothing numeric
// leads or the number is too large for a double.
double ParseLeadingNumber(const QString& text);

// The text as one decimal number of the same form, blanks around it aside; nothing when the text
// holds anything else or the number is too large for a double.
std::optional<double> ParseNumber(const QString& text);

// The general number form with a blank in the sign position: 25 -> " 25", 2.5 -> " 2.5", 2.0 -> " 2",
// -2.5 -> "-2.5".
QString WithLeadingBlank(double value);
