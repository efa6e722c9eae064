// Reading and writing registry-export text. The file is UTF-8 (a UTF-16 export with its byte
// order mark is read as well), so that any folder name survives.
#include "records/RegistryFile.h"

#include "core/FileWrite.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace ymt {
namespace {

const QString kHeaderLine = QStringLiteral("Windows Registry Editor Version 5.00");

QString escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    // A raw line break would end the value line: the value could not be read back and its
    // second half would stay in the file as a line of its own.
    out.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return out;
}

// Reads a quoted text starting at `at` (on the opening quote); moves `at` past the closing one.
std::optional<QString> readQuoted(const QString& line, qsizetype& at) {
    if (at >= line.size() || line.at(at) != QLatin1Char('"'))
        return std::nullopt;
    QString text;
    for (++at; at < line.size(); ++at) {
        const QChar c = line.at(at);
        if (c == QLatin1Char('\\') && at + 1 < line.size()) {
            const QChar escaped = line.at(++at);
            text += escaped == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                    : escaped == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                                  : escaped;
        } else if (c == QLatin1Char('"')) {
            ++at;
            return text;
        } else {
            text += c;
        }
    }
    return std::nullopt;
}

bool isSectionLine(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

QString sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.mid(1, trimmed.size() - 2);
}

// The lower-case value name of a value line, empty when the line is not one.
QString valueNameOf(const QString& line) {
    qsizetype at = 0;
    while (at < line.size() && line.at(at).isSpace())
        ++at;
    const std::optional<QString> name = readQuoted(line, at);
    if (!name || at >= line.size() || line.at(at) != QLatin1Char('='))
        return {};
    return name->toLower();
}

QString dataOf(const QString& line) {
    qsizetype at = 0;
    while (at < line.size() && line.at(at).isSpace())
        ++at;
    readQuoted(line, at);
    return line.mid(at + 1);
}

} // namespace

RegistryValue RegistryValue::fromString(const QString& text) {
    RegistryValue value;
    value.type = Type::String;
    value.text = text;
    return value;
}

RegistryValue RegistryValue::fromDword(quint32 number) {
    RegistryValue value;
    value.type = Type::Dword;
    value.dword = number;
    return value;
}

RegistryValue RegistryValue::fromBinary(const QByteArray& bytes) {
    RegistryValue value;
    value.type = Type::Binary;
    value.binary = bytes;
    return value;
}

namespace {
QString& settingsFileOverride() {
    static QString path;
    return path;
}
} // namespace

void SetSettingsFilePath(const QString& path) {
    settingsFileOverride() = path;
}

QString SettingsFilePath() {
    if (!settingsFileOverride().isEmpty())
        return settingsFileOverride();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/Kvr/Ymt.reg");
}

QString RegistryValueLine(const QString& name, const RegistryValue& value) {
    const QString prefix = QLatin1Char('"') + escaped(name) + QStringLiteral("\"=");
    switch (value.type) {
    case RegistryValue::Type::String:
        return prefix + QLatin1Char('"') + escaped(value.text) + QLatin1Char('"');
    case RegistryValue::Type::Dword:
        return prefix + QStringLiteral("dword:") +
               QStringLiteral("%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    case RegistryValue::Type::Binary: {
        QStringList bytes;
        for (const char byte : value.binary)
            bytes << QStringLiteral("%1").arg(static_cast<quint8>(byte), 2, 16, QLatin1Char('0'));
        return prefix + QStringLiteral("hex:") + bytes.join(QLatin1Char(','));
    }
    case RegistryValue::Type::Unreadable:
        break;
    }
    return prefix + QStringLiteral("\"\"");
}

RegistryValue ParseRegistryData(const QString& rawData) {
    const QString data = rawData.trimmed();
    if (data.startsWith(QLatin1Char('"'))) {
        qsizetype at = 0;
        const std::optional<QString> text = readQuoted(data, at);
        if (text && data.mid(at).trimmed().isEmpty())
            return RegistryValue::fromString(*text);
        return {};
    }
    if (data.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6);
        bool ok = false;
        const quint32 number = digits.toUInt(&ok, 16);
        if (ok && digits.size() == 8)
            return RegistryValue::fromDword(number);
        return {};
    }
    if (data.startsWith(QStringLiteral("hex:"), Qt::CaseInsensitive)) {
        QString digits = data.mid(4);
        digits.remove(QLatin1Char('\\'));
        digits.remove(QLatin1Char('\r'));
        digits.remove(QLatin1Char('\n'));
        digits.remove(QLatin1Char(' '));
        digits.remove(QLatin1Char('\t'));
        QByteArray bytes;
        if (!digits.isEmpty()) {
            for (const QString& pair : digits.split(QLatin1Char(','))) {
                bool ok = false;
                const uint byte = pair.toUInt(&ok, 16);
                if (!ok || pair.size() != 2)
                    return {};
                bytes.append(static_cast<char>(byte));
            }
        }
        return RegistryValue::fromBinary(bytes);
    }
    return {};
}

bool RegistryFile::load(const QString& path, QString* error) {
    entries_.clear();
    if (!QFile::exists(path))
        return true;
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    parse(bytes);
    return true;
}

void RegistryFile::parse(const QByteArray& bytes) {
    entries_.clear();
    QString text;
    if (bytes.startsWith("\xff\xfe"))
        text = QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    else
        text = QString::fromUtf8(bytes.startsWith("\xef\xbb\xbf") ? bytes.mid(3) : bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));

    bool inKey = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the line end of the last line
        // A long binary value continues on the next line after a final backslash.
        while (line.trimmed().endsWith(QLatin1Char('\\')) && !isSectionLine(line) &&
               i + 1 < lines.size())
            line += QStringLiteral("\n") + lines.at(++i);
        Entry entry{line, {}};
        if (isSectionLine(line))
            inKey = sectionName(line).compare(key_, Qt::CaseInsensitive) == 0;
        else if (inKey)
            entry.valueName = valueNameOf(line);
        entries_.push_back(entry);
    }
}

int RegistryFile::findValue(const QString& name) const {
    const QString wanted = name.toLower();
    for (int i = static_cast<int>(entries_.size()) - 1; i >= 0; --i)
        if (!entries_.at(i).valueName.isEmpty() && entries_.at(i).valueName == wanted)
            return i;
    return -1;
}

bool RegistryFile::contains(const QString& name) const {
    return findValue(name) >= 0;
}

std::optional<RegistryValue> RegistryFile::value(const QString& name) const {
    const int index = findValue(name);
    if (index < 0)
        return std::nullopt;
    return ParseRegistryData(dataOf(entries_.at(index).text));
}

int RegistryFile::keyEnd() const {
    int section = -1;
    for (int i = 0; i < entries_.size(); ++i)
        if (isSectionLine(entries_.at(i).text) &&
            sectionName(entries_.at(i).text).compare(key_, Qt::CaseInsensitive) == 0)
            section = i;
    if (section < 0)
        return -1;
    int end = section + 1;
    for (int i = section + 1; i < entries_.size() && !isSectionLine(entries_.at(i).text); ++i)
        if (!entries_.at(i).text.trimmed().isEmpty())
            end = i + 1;
    return end;
}

void RegistryFile::setValue(const QString& name, const RegistryValue& value) {
    const Entry entry{RegistryValueLine(name, value), name.toLower()};
    const int existing = findValue(name);
    if (existing >= 0) {
        // Keep the spelling of the name as the file has it.
        const QString line = entries_.at(existing).text;
        qsizetype at = 0;
        while (at < line.size() && line.at(at).isSpace())
            ++at;
        const QString storedName = readQuoted(line, at).value_or(name);
        entries_[existing] = Entry{RegistryValueLine(storedName, value), entry.valueName};
        return;
    }
    int end = keyEnd();
    if (end < 0) {
        if (entries_.isEmpty())
            entries_.push_back(Entry{kHeaderLine, {}});
        if (!entries_.last().text.trimmed().isEmpty())
            entries_.push_back(Entry{QString(), {}});
        entries_.push_back(Entry{QLatin1Char('[') + key_ + QLatin1Char(']'), {}});
        end = static_cast<int>(entries_.size());
    }
    entries_.insert(end, entry);
}

QByteArray RegistryFile::serialise() const {
    QString text;
    for (const Entry& entry : entries_) {
        QString line = entry.text;
        line.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        text += line + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

bool RegistryFile::save(const QString& path, QString* error) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return ReplaceFileContents(path, serialise(), error);
}

} // namespace ymt
