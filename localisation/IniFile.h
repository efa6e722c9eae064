// INI files as the language files use them: sections and keys without regard to case, the first
// entry of a key wins, values trimmed and unquoted, code page 1252 (a UTF-8 BOM selects UTF-8).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace ymt {

// The longest value a read returns, as the platform's 2048-byte buffer allows.
inline constexpr int kIniMaxValueLength = 2047;

class IniFile {
public:
    // Parses a whole file; nothing in the bytes can make it fail.
    static IniFile FromBytes(const QByteArray& bytes);
    // Reads a file; false (and *error) when it does not exist or cannot be read.
    static bool Load(const QString& path, IniFile& file, QString* error = nullptr);

    // The value of key in section after the reading rules; nullopt when the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The value, or `current` unchanged when the key is missing.
    QString read(const QString& section, const QString& key, const QString& current) const;
    bool hasSection(const QString& section) const;

private:
    QHash<QString, QHash<QString, QString>> sections_; // lower-case names, raw values
};

// Blanks at both ends removed, one enclosing pair of quotes removed, at most 2047 characters.
QString CleanIniValue(const QString& raw);
// The form a value is written in, so that CleanIniValue gives it back: quoted when it starts or
// ends with a blank or is itself enclosed in quotes; line breaks become blanks.
QString QuoteIniValue(const QString& value);

// An INI file being written: sections and keys in the order they were first set.
class IniDocument {
public:
    void setValue(const QString& section, const QString& key, const QString& value);
    void eraseSection(const QString& section);
    QStringList lines() const;
    // Code page 1252 with CR LF, written to a temporary file and renamed into place.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    Section& sectionFor(const QString& name);
    std::vector<Section> sections_;
};

} // namespace ymt
