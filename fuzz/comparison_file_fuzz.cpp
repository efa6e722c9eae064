// Feeds arbitrary bytes, as a file on disk, to the reading of a comparison-set file (header
// search and the shared spectrum-row reader): it must end, and every point it takes must be
// finite, so that nothing that is not a number reaches the plot.
#include "fuzz/FuzzSupport.h"
#include "records/ComparisonSet.h"

#include <QFile>

#include <cmath>
#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& path = ymt::fuzz::WriteScratchFile(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        "comparison.txt");
    const ymt::ComparisonFile read = ymt::ReadComparisonFile(path);
    if (read.status != ymt::ComparisonFile::Status::Read)
        check(read.points.empty());
    for (const ymt::SpectrumPoint& point : read.points)
        check(std::isfinite(point.frequency) && std::isfinite(point.magnitude) &&
              std::isfinite(point.phase));
    return 0;
}
