#include "localisation/IniFile.h"

#include "core/TextFile.h"

#include <QFile>

namespace ymt {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace

QString CleanIniValue(const QString& raw) {
    QString value = trimBlanks(raw);
    if (value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'))
        value = value.mid(1, value.size() - 2);
    value.truncate(kIniMaxValueLength);
    return value;
}

QString QuoteIniValue(const QString& value) {
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (text.isEmpty())
        return text;
    const bool blankAtEnd = isBlank(text.front()) || isBlank(text.back());
    const bool quoted =
        text.size() >= 2 && text.front() == QLatin1Char('"') && text.back() == QLatin1Char('"');
    if (blankAtEnd || quoted)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

IniFile IniFile::FromBytes(const QByteArray& bytes) {
    IniFile file;
    // Editors that save UTF-8 mark it with a BOM; everything else is code page 1252.
    static const QByteArray bom("\xEF\xBB\xBF");
    const QString text =
        bytes.startsWith(bom) ? QString::fromUtf8(bytes.mid(bom.size())) : DecodeCp1252(bytes);
    QHash<QString, QString>* section = nullptr;
    for (const QString& line : SplitLines(text)) {
        const QString trimmed = trimBlanks(line);
        if (trimmed.isEmpty() || trimmed.front() == QLatin1Char(';'))
            continue;
        if (trimmed.front() == QLatin1Char('[')) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close > 0) {
                // A section opened again adds to the first one.
                section =
                    &file.sections_[trimBlanks(QStringView(trimmed).mid(1, close - 1)).toLower()];
                continue;
            }
        }
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (!section || equals < 0)
            continue;
        const QString key = trimBlanks(QStringView(trimmed).left(equals)).toLower();
        if (key.isEmpty() || section->contains(key))
            continue;
        section->insert(key, trimmed.mid(equals + 1));
    }
    return file;
}

bool IniFile::Load(const QString& path, IniFile& file, QString* error) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    file = FromBytes(bytes);
    return true;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const auto s = sections_.constFind(section.toLower());
    if (s == sections_.constEnd())
        return std::nullopt;
    const auto v = s->constFind(key.toLower());
    if (v == s->constEnd())
        return std::nullopt;
    return CleanIniValue(*v);
}

QString IniFile::read(const QString& section, const QString& key, const QString& current) const {
    return value(section, key).value_or(current);
}

bool IniFile::hasSection(const QString& section) const {
    return sections_.contains(section.toLower());
}

IniDocument::Section& IniDocument::sectionFor(const QString& name) {
    for (Section& s : sections_) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    sections_.push_back({name, {}});
    return sections_.back();
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    Section& s = sectionFor(section);
    for (auto& entry : s.entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    s.entries.emplace_back(key, value);
}

void IniDocument::eraseSection(const QString& section) {
    std::erase_if(sections_, [&](const Section& s) {
        return s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
}

QStringList IniDocument::lines() const {
    QStringList out;
    for (const Section& s : sections_) {
        out << QLatin1Char('[') + s.name + QLatin1Char(']');
        for (const auto& [key, value] : s.entries)
            out << key + QLatin1Char('=') + QuoteIniValue(value);
    }
    return out;
}

bool IniDocument::save(const QString& path, QString* error) const {
    return WriteTextFile(path, lines(), error);
}

} // namespace ymt
