// Feeds arbitrary bytes, read both as code page 1252 and as UTF-8, to the tolerant number
// reading; a number it returns must be finite and must survive the trip through FixedText.
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

void readAndWriteBack(const QString& text) {
    const double value = ymt::ParseNumber(text);
    check(std::isfinite(value));
    // Six decimals from 15 significant digits: the text read back is within that rounding.
    const QString fixed = ymt::FixedText(value, 12, 6);
    check(fixed.size() >= 12);
    check(!fixed.contains(QLatin1Char(',')));
    // Near the largest double the 15-digit text may round above it and read back as 0.
    if (std::fabs(value) > 1e307)
        return;
    const double back = ymt::ParseNumber(fixed);
    check(std::fabs(back - value) <= 1e-6 + std::fabs(value) * 1e-13);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readAndWriteBack(ymt::DecodeCp1252(bytes));
    readAndWriteBack(QString::fromUtf8(bytes));
    return 0;
}
