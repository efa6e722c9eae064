// Pure parsers of analyzer replies: one fixed 13-byte trace field of the HP 4194A and the
// comma-separated value list of the formatted input. Neither reads or writes out of bounds.
#pragma once

#include <cstddef>

namespace ymt {

// Standard decimal conversion of a field: optional leading blanks, sign, digits, ".", digits,
// exponent. Sets value to what converted (0 when nothing did) and returns 0 when the whole
// text converted, else the 1-based position of the first character that did not.
int ConvertFixedField(const char* text, std::size_t length, double& value);

// Parses up to capacity comma-separated doubles (blanks around values allowed); returns the
// number stored. The list ends at the first value that is not a whole number up to its
// separator or the line end; complete: the text is a whole message, so its last value may end
// with the text (a value at the end of a message that was cut short is not taken).
std::size_t ParseValueList(const char* text, std::size_t length, double* values,
                           std::size_t capacity, bool complete = true);

} // namespace ymt
