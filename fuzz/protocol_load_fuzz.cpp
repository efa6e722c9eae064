// Feeds arbitrary bytes to the protocol file reader through a file on disk: it must load them
// (they are far below the size limit) as lines without line ends or NUL characters, and the
// lines must survive a save and a second load unchanged.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "records/Protocol.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString& path = ymt::fuzz::WriteScratchFile(bytes, "protocol.txt");
    const ymt::ProtocolLoad load = ymt::LoadProtocolFile(path);
    check(load.Status == ymt::ProtocolLoadStatus::Loaded);
    for (const QString& line : load.Lines)
        check(!line.contains(QChar(0)) && !line.contains(QLatin1Char('\r')) &&
              !line.contains(QLatin1Char('\n')));

    check(ymt::WriteTextFile(path, load.Lines));
    const ymt::ProtocolLoad again = ymt::LoadProtocolFile(path);
    check(again.Status == ymt::ProtocolLoadStatus::Loaded);
    check(again.Lines == load.Lines);
    return 0;
}
