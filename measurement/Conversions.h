// Strict conversions of typed text, as the toolkit's own ones behave: a text that is not a
// number yields the toolkit's conversion error message instead of a value.
#pragma once

#include <QString>

#include <optional>

namespace ymt {

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
