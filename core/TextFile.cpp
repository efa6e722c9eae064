#include "core/TextFile.h"

#include "core/FileWrite.h"
#include "core/TextCatalogue.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace ymt {
namespace {

// Code points of bytes 0x80..0x9F in code page 1252. The five bytes the code page leaves
// undefined map to the C1 control of the same value, as the platform's converter does.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QByteArray EncodeCp1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (size_t i = 0; i < kHighTable.size(); ++i) {
            if (kHighTable[i] == u) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        bytes.append(mapped);
    }
    return bytes;
}

QStringList CharactersNotInCp1252(const QStringList& lines) {
    QStringList missing;
    for (const QString& line : lines) {
        const QByteArray bytes = EncodeCp1252(line);
        qsizetype at = 0; // the character of bytes[i]: one QChar a byte
        for (qsizetype i = 0; i < bytes.size(); ++i, ++at) {
            if (bytes[i] != '?' || line[at] == QLatin1Char('?'))
                continue;
            // A character beyond the 16-bit range is two QChars and two "?".
            const bool pair =
                line[at].isHighSurrogate() && at + 1 < line.size() && line[at + 1].isLowSurrogate();
            const QString character = line.mid(at, pair ? 2 : 1);
            if (!missing.contains(character))
                missing.append(character);
            if (pair) {
                ++i;
                ++at;
            }
        }
    }
    return missing;
}

QString DecodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F)
            text.append(QChar(kHighTable[u - 0x80]));
        else
            text.append(QChar(u));
    }
    return text;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(Text(Txt::ReadIsFolder));
    if (info.exists() && !info.isFile())
        return fail(Text(Txt::ReadNotRegular));
    constexpr qint64 kMegabyte = 1024 * 1024;
    const auto tooLarge = [&fail](qint64 size) {
        return fail(Text(Txt::ReadTooLarge)
                        .arg((size + kMegabyte - 1) / kMegabyte)
                        .arg(kMaxWholeFileBytes / kMegabyte));
    };
    if (info.size() > kMaxWholeFileBytes)
        return tooLarge(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > kMaxWholeFileBytes)
        return tooLarge(file.size());
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    // A file that grew while it was read.
    if (bytes.size() > kMaxWholeFileBytes) {
        const qint64 size = bytes.size();
        bytes.clear();
        return tooLarge(size);
    }
    return true;
}

bool ReadTextFile(const QString& path, QStringList& lines, QString* error) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    lines = SplitLines(DecodeCp1252(bytes));
    return true;
}

static QByteArray joinLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.append(EncodeCp1252(line));
        bytes.append("\r\n");
    }
    return bytes;
}

bool WriteTextFile(const QString& path, const QStringList& lines, QString* error) {
    return ReplaceFileContents(path, joinLines(lines), error);
}

bool WriteOwnTextFile(const QString& path, const QStringList& lines, QString* error) {
    return ReplaceOwnFileContents(path, joinLines(lines), error);
}

bool AppendTextFile(const QString& path, const QStringList& lines, QString* error) {
    return AppendFileContents(path, joinLines(lines), error);
}

} // namespace ymt
