// The operator's settings that survive a restart: 34 named values of four types, created with
// their defaults when missing, read at the first activation and written at shut-down.
#pragma once

#include "records/RegistryFile.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <variant>

namespace ymt {

enum class SettingType { String, Integer, Boolean, Float };

using SettingValue = std::variant<QString, qint32, bool, double>;

struct SettingDefinition {
    const char* name;
    SettingType type;
    // Integers outside min..max cannot be applied (a list index past its list) and count as
    // unreadable; both 0 means any value.
    qint32 min = 0;
    qint32 max = 0;
};

inline constexpr int kSettingCount = 35;

// The values in the order they are created, read and written; entry 0 is "Version".
const std::array<SettingDefinition, kSettingCount>& SettingsTable();

// Values by name as spelled in the table (exact spelling; lookups in the file ignore case).
using SettingValues = QMap<QString, SettingValue>;

// The defaults that do not depend on the running program; the caller adds "WorkDir",
// "BackupDir" and "PrintLanguage", whose defaults do.
SettingValues FixedSettingDefaults();

struct SettingsLoadResult {
    SettingValues values; // every value 2..34: the stored one, or the default when skipped
    QStringList skipped;  // names of values that could not be read (default used)
    QString error;        // the platform's message when the file could not be read or written
};

// Values 2..34 from a parsed store: the stored value, or the default when it is missing or
// cannot be read (wrong type, not 8 bytes, not finite, out of range; named in *skipped).
SettingValues ReadSettingValues(const RegistryFile& store, const SettingValues& defaults,
                                QStringList* skipped);

// Opens the store file, writes every missing value's default (into the file), reads values
// 2..34. A value that cannot be read (wrong type, not 8 bytes, not finite, out of range) is
// skipped, its default used; the others still load.
SettingsLoadResult LoadSettings(const QString& path, const SettingValues& defaults);

struct SettingsSaveResult {
    QStringList skipped; // names whose value was missing from `values` (not convertible)
    QString error;       // non-empty when the file could not be written
};

// Writes the given values (2..34 in table order) into the store file; values not given keep
// what the store held. Unknown lines of the file are kept.
SettingsSaveResult SaveSettings(const QString& path, const SettingValues& values);

// The "Warning: Registry access error!" box text for skipped values and a file error.
QString SettingsWarningText(const QString& headline, const QStringList& skipped,
                            const QString& error);

} // namespace ymt
