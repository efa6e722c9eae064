// Fuzzes the analyzer reply parsers: one 13-byte trace field (first 12 characters, as
// ReadFixedValues converts them) and the comma-separated list of the formatted input.
#include "instrument/analyzer/ReplyParsers.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);

    char field[13];
    for (std::size_t offset = 0; offset < size; offset += sizeof field) {
        const std::size_t length = size - offset < sizeof field ? size - offset : sizeof field;
        std::memcpy(field, text + offset, length);
        const auto* nul = static_cast<const char*>(std::memchr(field, 0, length));
        std::size_t used = nul ? std::size_t(nul - field) : length;
        if (used > 12)
            used = 12;
        double value = 0;
        const int position = ymt::ConvertFixedField(field, used, value);
        if (position < 0 || std::size_t(position) > used + 1)
            __builtin_trap();
    }

    // A small array with guards: a write beyond capacity shows up under the sanitizers.
    double values[8];
    const std::size_t capacity = size % 9;
    const std::size_t stored = ymt::ParseValueList(text, size, values, capacity);
    if (stored > capacity)
        __builtin_trap();
    return 0;
}
