// Fuzzes the reading of a real-hardware transport's parameters from the [interfaces] line of
// sicl.conf, for each transport name, and the VISA resource built from it.
#include "instrument/transports/AdapterLine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString parameters =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* name : {"prologix", "usbtmc", "linux-gpib", "visa", "other"}) {
        ymt::sicl::AdapterLine line;
        QString error;
        const bool ok =
            ymt::sicl::parseAdapterLine(QString::fromLatin1(name), parameters, line, &error);
        if (!ok && error.isEmpty())
            __builtin_trap(); // a refusal always says why
        if (ok && line.kind == ymt::sicl::AdapterLine::Kind::PrologixTcp &&
            (line.port < 1 || line.port > 65535 || line.host.isEmpty()))
            __builtin_trap();
        if (ok && line.kind == ymt::sicl::AdapterLine::Kind::Visa &&
            ymt::sicl::visaResourceFor(line.resource, 30).contains(QLatin1Char('%')))
            __builtin_trap();
    }
    return 0;
}
