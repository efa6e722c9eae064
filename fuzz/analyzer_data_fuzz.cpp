// Feeds arbitrary bytes to the reader of the analyzer's data files: it must end; a file it
// takes gives sorted, finite points with |Z| >= 0 and the count of phases beyond 90 degrees;
// a file it refuses gives a reason and no point.
#include "core/AnalyzerDataFile.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ymt::AnalyzerDataRead read = ymt::ParseAnalyzerDataFile(bytes);
    if (!read.ok) {
        check(!read.error.isEmpty());
        check(read.file.points.empty());
        return 0;
    }
    const auto& points = read.file.points;
    check(!points.empty());
    int outside = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ymt::SpectrumPoint& p = points[i];
        check(std::isfinite(p.frequency) && std::isfinite(p.magnitude) && std::isfinite(p.phase));
        check(p.frequency > 0 && p.magnitude >= 0);
        check(i == 0 || points[i - 1].frequency <= p.frequency);
        outside += std::fabs(p.phase) > 90 ? 1 : 0;
    }
    check(outside == read.file.phasesOutside90);
    check(!ymt::AnalyzerDataNotes(read.file).isEmpty());
    return 0;
}
