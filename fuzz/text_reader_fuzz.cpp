// Feeds arbitrary bytes to the code-page decoding and line splitting, directly and through a
// file on disk; every byte must come back and no line may keep a line-end character.
#include "core/TextFile.h"

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

// On a disk, replacing a file syncs it and truncating one flushes it; memory-backed /dev/shm
// keeps the fuzzer at thousands of inputs a second.
QString scratchTemplate() {
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(shm).exists() ? shm + QStringLiteral("/text_reader_fuzz-XXXXXX") : QString();
}

const QString& scratchFile() {
    static const QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("input.txt"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = ymt::DecodeCp1252(bytes);
    check(text.size() == bytes.size());
    check(ymt::EncodeCp1252(text) == bytes);

    const QStringList lines = ymt::SplitLines(text);
    qsizetype characters = 0;
    for (const QString& line : lines) {
        check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        characters += line.size();
    }
    const qsizetype lineEnds = text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n'));
    check(characters + lineEnds == text.size());
    check(lines.size() <= lineEnds + 1);

    {
        QFile file(scratchFile());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(bytes) == bytes.size());
    }
    QStringList read;
    check(ymt::ReadTextFile(scratchFile(), read));
    check(read == lines);

    // Written back with CR LF, the same lines are read again.
    check(ymt::WriteTextFile(scratchFile(), lines));
    QStringList reread;
    check(ymt::ReadTextFile(scratchFile(), reread));
    check(reread == lines);
    return 0;
}
