// The data rows of a spectrum text file (frequency in kHz, |Z| in ohm, theta in degrees, then
// optional display columns). One reader serves "Open Spectrum..." and the comparison sets.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <optional>
#include <vector>

namespace ymt {

struct SpectrumPoint {
    double frequency = 0; // kHz
    double magnitude = 0; // |Z|, ohm
    double phase = 0;     // theta, degrees
};

// More rows than any measurement produces; a larger file is refused rather than filling memory.
inline constexpr qint64 kMaxSpectrumRows = 2'000'000;

// Longest line kept by ReadFileLine; the rest of a longer line is read and dropped.
inline constexpr qsizetype kMaxKeptLineLength = 64 * 1024;

// Far above the span of any analyzer (110 MHz); a row beyond it is a damaged row, which would
// stretch the plot and every range taken from it over hundreds of digits.
inline constexpr double kMaxRowFrequencyKHz = 1e7;

// One row: three finite numbers separated by blanks or tabs, then anything (further columns).
// Empty when the row is incomplete: fewer than three numbers, a word, "nan" or "inf", or a
// frequency beyond kMaxRowFrequencyKHz.
std::optional<SpectrumPoint> ParseSpectrumRow(QByteArrayView row);

struct SpectrumRows {
    std::vector<SpectrumPoint> points;
    qint64 incompleteRows = 0;     // non-blank rows that were not taken
    qint64 firstIncompleteRow = 0; // 1-based row number of the first of them, 0 when none
    bool tooManyRows = false;      // reading stopped at the row limit
};

// Reads one line (LF, CR LF or the end of the data ends it) without its line end.
// Returns false only at the end of the device when nothing was read.
bool ReadFileLine(QIODevice& device, QByteArray& line);

// Reads the rows from the device's position to its end. Blank lines (a trailing empty line
// among them) are passed over; incomplete rows are counted, never taken.
SpectrumRows ReadSpectrumRows(QIODevice& device, qint64 maxRows = kMaxSpectrumRows);

} // namespace ymt
