// Reading numbers from text. The tolerant readers take what an operator typed or an instrument
// replied as far as it reads; the strict ones behave as the toolkit's own conversions: a text
// that is not a number yields the toolkit's conversion error message instead of a value.
#pragma once

#include <QString>

#include <optional>

namespace ymt {

// Tolerant reading of typed numbers and instrument replies; 0 when nothing can be read.
double ParseNumber(const QString& text);

// The leading whole number of a text: blanks and a sign allowed, reading stops at the first
// character that is not a digit; no digits give 0. Saturates at the 32-bit limits.
int LeadingInt(const QString& text);

struct IntConversion {
    std::optional<int> value;
    QString error; // "'abc' is not a valid integer value" when !value
};

struct FloatConversion {
    std::optional<double> value;
    QString error; // "'abc' is not a valid floating point value" when !value
};

// Optional surrounding blanks, optional sign, decimal digits; 32-bit range.
IntConversion StrictInt(const QString& text);
// Optional surrounding blanks, "." as decimal separator, optional exponent; finite values only.
FloatConversion StrictFloat(const QString& text);

} // namespace ymt
