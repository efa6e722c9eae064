// Fuzzes the reading of sicl.conf: the sections and lines of the file, and the settings and
// faults of each simulated device (which must stay bounded whatever the numbers say).
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimAnalyzer.h"
#include "instrument/simulated/SimAnalyzerConfig.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ymt::sicl::SiclConfig config = ymt::sicl::parseSiclConfig(text);
    for (const ymt::sicl::KeyValueList& lines : config.devices) {
        QStringList problems;
        const ymt::sim::SimAnalyzerConfig device =
            ymt::sim::parseSimAnalyzerConfig(lines, &problems);
        for (const ymt::sim::Fault& fault : device.faults)
            if (fault.count < 0 || fault.count > ymt::sim::kMaxFaultValues)
                __builtin_trap();
        // A sample made of a material answers at any frequency in bounded time (large Bessel
        // arguments, non-finite constants).
        for (double kHz : {0.04, 200.0, 110000.0})
            (void)ymt::SampleImpedance(device.sample, kHz);
        const ymt::sim::SimAnalyzer analyzer(device);
        if (analyzer.traceLength() < 0)
            __builtin_trap();
    }
    return 0;
}
