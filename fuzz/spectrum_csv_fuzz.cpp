// Feeds arbitrary bytes to the CSV reader and to the reader of any spectrum file: they must
// end; CSV points are finite, and written back row by row they read back bit for bit.
#include "core/SpectrumCsv.h"
#include "core/SpectrumPointFile.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using ymt::fuzz::check;

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ymt::SpectrumPointFile any = ymt::ParseSpectrumPointFile(bytes);
    check(any.ok || (any.points.empty() && !any.error.isEmpty()));
    const ymt::SpectrumCsvRead read = ymt::ParseSpectrumCsv(bytes);
    if (!read.ok) {
        check(read.points.empty() && !read.error.isEmpty());
        return 0;
    }
    QByteArray written = QByteArray(ymt::kSpectrumCsvTitles) + '\n';
    for (const ymt::SpectrumPoint& p : read.points) {
        check(std::isfinite(p.frequency) && std::isfinite(p.magnitude) && std::isfinite(p.phase));
        written += ymt::SpectrumCsvRow(p);
    }
    const ymt::SpectrumCsvRead again = ymt::ParseSpectrumCsv(written);
    check(again.ok && again.points.size() == read.points.size());
    for (std::size_t i = 0; i < read.points.size(); ++i)
        check(sameBits(again.points[i].frequency, read.points[i].frequency) &&
              sameBits(again.points[i].magnitude, read.points[i].magnitude) &&
              sameBits(again.points[i].phase, read.points[i].phase));
    return 0;
}
