// Feeds arbitrary bytes to the code-page decoding and line splitting, directly and through a
// file on disk; every byte must come back and no line may keep a line-end character.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

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

    const QString& path = ymt::fuzz::WriteScratchFile(bytes, "input.txt");
    QStringList read;
    check(ymt::ReadTextFile(path, read));
    check(read == lines);

    // Written back with CR LF, the same lines are read again.
    check(ymt::WriteTextFile(path, lines));
    QStringList reread;
    check(ymt::ReadTextFile(path, reread));
    check(reread == lines);
    return 0;
}
