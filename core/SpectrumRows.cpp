// Reads spectrum rows with std::from_chars: locale-independent, no exceptions, and fast enough
// for files of a million points.
#include "core/SpectrumRows.h"

#include <charconv>
#include <cmath>

namespace ymt {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads one number that ends at a blank or the end of the row; moves `at` past it.
std::optional<double> readNumber(const char*& at, const char* end) {
    while (at < end && isBlank(*at))
        ++at;
    if (at < end && *at == '+')
        ++at; // from_chars does not take a plus sign
    double value = 0;
    const auto [stop, error] = std::from_chars(at, end, value);
    if (error != std::errc() || stop == at || (stop < end && !isBlank(*stop)))
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    at = stop;
    return value;
}

bool isBlankRow(QByteArrayView row) {
    for (const char c : row)
        if (!isBlank(c))
            return false;
    return true;
}

} // namespace

std::optional<SpectrumPoint> ParseSpectrumRow(QByteArrayView row) {
    const char* at = row.data();
    const char* end = at + row.size();
    const auto frequency = readNumber(at, end);
    if (!frequency || std::fabs(*frequency) > kMaxRowFrequencyKHz)
        return std::nullopt;
    const auto magnitude = readNumber(at, end);
    if (!magnitude)
        return std::nullopt;
    const auto phase = readNumber(at, end);
    if (!phase)
        return std::nullopt;
    return SpectrumPoint{*frequency, *magnitude, *phase};
}

bool ReadFileLine(QIODevice& device, QByteArray& line) {
    line.clear();
    char buffer[4096];
    bool readSomething = false;
    while (true) {
        const qint64 got = device.readLine(buffer, sizeof buffer);
        if (got <= 0)
            break;
        readSomething = true;
        const bool ended = buffer[got - 1] == '\n';
        const qint64 keep =
            std::min<qint64>(got - (ended ? 1 : 0), kMaxKeptLineLength - line.size());
        if (keep > 0)
            line.append(buffer, keep);
        if (ended)
            break;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return readSomething;
}

SpectrumRows ReadSpectrumRows(QIODevice& device, qint64 maxRows) {
    SpectrumRows rows;
    QByteArray line;
    qint64 rowNumber = 0;
    while (ReadFileLine(device, line)) {
        ++rowNumber;
        if (isBlankRow(line))
            continue;
        const auto point = ParseSpectrumRow(line);
        if (!point) {
            if (rows.incompleteRows++ == 0)
                rows.firstIncompleteRow = rowNumber;
            continue;
        }
        if (static_cast<qint64>(rows.points.size()) >= maxRows) {
            rows.tooManyRows = true;
            break;
        }
        rows.points.push_back(*point);
    }
    return rows;
}

} // namespace ymt
