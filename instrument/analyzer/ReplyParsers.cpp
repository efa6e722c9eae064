#include "instrument/analyzer/ReplyParsers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace ymt {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Length of the longest prefix of [begin, end) that is a number; 0 if there is none.
std::size_t numberLength(const char* begin, const char* end) {
    const char* p = begin;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    std::size_t digits = 0;
    while (p < end && isDigit(*p))
        ++p, ++digits;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p))
            ++p, ++digits;
    }
    if (digits == 0)
        return 0;
    const char* mantissaEnd = p;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        std::size_t exponentDigits = 0;
        while (p < end && isDigit(*p))
            ++p, ++exponentDigits;
        if (exponentDigits == 0)
            p = mantissaEnd;
    }
    return static_cast<std::size_t>(p - begin);
}

// Converts a number of numberLength() characters; out-of-range values become 0.
double convert(const char* begin, std::size_t length) {
    if (length > 0 && *begin == '+')
        ++begin, --length;
    double value = 0.0;
    const auto [end, status] = std::from_chars(begin, begin + length, value);
    (void)end;
    if (status != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

} // namespace

int ConvertFixedField(const char* text, std::size_t length, double& value) {
    value = 0.0;
    if (!text || length == 0)
        return 1;
    const char* end = text + length;
    const char* p = text;
    while (p < end && isBlank(*p))
        ++p;
    const std::size_t numberChars = numberLength(p, end);
    if (numberChars == 0)
        return static_cast<int>(p - text) + 1;
    value = convert(p, numberChars);
    p += numberChars;
    return p == end ? 0 : static_cast<int>(p - text) + 1;
}

std::size_t ParseValueList(const char* text, std::size_t length, double* values,
                           std::size_t capacity, bool complete) {
    if (!text || !values)
        return 0;
    const char* end = text + length;
    const char* p = text;
    std::size_t stored = 0;
    while (stored < capacity) {
        while (p < end && isBlank(*p))
            ++p;
        const std::size_t numberChars = numberLength(p, end);
        if (numberChars == 0)
            break;
        const char* after = p + numberChars;
        while (after < end && isBlank(*after))
            ++after;
        // A value is whole only up to its separator or the end of the message: a value that
        // runs into other characters is garbled, and one the message was cut inside is a
        // piece of a number.
        const bool separated = after < end && *after == ',';
        const bool lastOfMessage = after < end ? (*after == '\r' || *after == '\n') : complete;
        if (!separated && !lastOfMessage)
            break;
        values[stored++] = convert(p, numberChars);
        if (!separated)
            break;
        p = after + 1;
    }
    return stored;
}

} // namespace ymt
