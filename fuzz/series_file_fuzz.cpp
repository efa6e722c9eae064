// Feeds arbitrary bytes, read as the lines of an existing series file, to the check that decides
// whether a new series may be appended to it: a file it takes still takes a further series, and
// never a cut-off row at its end.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "measurement/RepeatMeasurement.h"

#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = ymt::SplitLines(ymt::DecodeCp1252(bytes));
    if (!ymt::IsSeriesFileLayout(lines))
        return 0;
    ymt::SeriesHeaderInputs inputs;
    inputs.title = QStringLiteral("Low Field Impedance Analysis");
    inputs.capFrequency = QStringLiteral("1.000");
    ymt::SeriesRow row;
    row.temperature = 1;
    const QString rowLine = ymt::SeriesRowLine(row);
    check(ymt::IsSeriesFileLayout(lines + ymt::SeriesHeaderLines(inputs) + QStringList{rowLine}));
    check(!ymt::IsSeriesFileLayout(lines + QStringList{rowLine.left(rowLine.size() / 2)}));
    return 0;
}
