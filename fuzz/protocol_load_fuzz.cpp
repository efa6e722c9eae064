// Feeds arbitrary bytes to the protocol file reader through a file on disk: it must load them
// (they are far below the size limit) as lines without line ends or NUL characters, and the
// lines must survive a save and a second load unchanged.
#include "core/TextFile.h"
#include "records/Protocol.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Memory-backed /dev/shm keeps the fuzzer at thousands of inputs a second.
QString scratchTemplate() {
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(shm).exists() ? shm + QStringLiteral("/protocol_load_fuzz-XXXXXX") : QString();
}

const QString& scratchFile() {
    static const QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("protocol.txt"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(scratchFile());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(bytes) == bytes.size());
    }
    const ymt::ProtocolLoad load = ymt::LoadProtocolFile(scratchFile());
    check(load.Status == ymt::ProtocolLoadStatus::Loaded);
    for (const QString& line : load.Lines)
        check(!line.contains(QChar(0)) && !line.contains(QLatin1Char('\r')) &&
              !line.contains(QLatin1Char('\n')));

    check(ymt::WriteTextFile(scratchFile(), load.Lines));
    const ymt::ProtocolLoad again = ymt::LoadProtocolFile(scratchFile());
    check(again.Status == ymt::ProtocolLoadStatus::Loaded);
    check(again.Lines == load.Lines);
    return 0;
}
