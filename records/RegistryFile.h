// The per-user settings store as a file in the text format of registry exports: one key of
// named values (strings, 32-bit numbers, binary). Lines the program does not know are kept.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

struct RegistryValue {
    enum class Type { String, Dword, Binary, Unreadable };
    Type type = Type::Unreadable;
    QString text;      // String
    quint32 dword = 0; // Dword
    QByteArray binary; // Binary

    static RegistryValue fromString(const QString& text);
    static RegistryValue fromDword(quint32 value);
    static RegistryValue fromBinary(const QByteArray& bytes);
};

// Where the settings of this user live: $XDG_CONFIG_HOME/Kvr/Ymt.reg.
QString SettingsFilePath();
// Puts the settings file elsewhere for the rest of the run (empty: back to the user's store); a
// demo keeps the operator's stored settings out of its run and its run out of them.
void SetSettingsFilePath(const QString& path);

inline const QString kSettingsKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kvr\\Ymt");

class RegistryFile {
public:
    explicit RegistryFile(QString key = kSettingsKey) : key_(std::move(key)) {}

    // Reads the file; a missing file is an empty store. False with the platform's message when
    // the file exists but cannot be read.
    bool load(const QString& path, QString* error = nullptr);
    void parse(const QByteArray& bytes);

    // Values of the key; names match without regard to case.
    bool contains(const QString& name) const;
    std::optional<RegistryValue> value(const QString& name) const;
    // Replaces the value's line in place, or adds it at the end of the key.
    void setValue(const QString& name, const RegistryValue& value);

    QByteArray serialise() const;
    // Writes a temporary file beside the target and renames it into place; creates the folder.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    struct Entry {
        QString text;      // one logical line (continuations joined with "\\\r\n")
        QString valueName; // lower-case name when the line is a value of the key, else empty
    };
    int findValue(const QString& name) const;
    int keyEnd() const; // index after the last line of the key's section, -1 without the key

    QString key_;
    QList<Entry> entries_;
};

// The line of a value as an export writes it, e.g. "Adress"=dword:00000011.
QString RegistryValueLine(const QString& name, const RegistryValue& value);
// Parses the part after "=" of a value line; Unreadable when it is malformed.
RegistryValue ParseRegistryData(const QString& data);

} // namespace ymt
