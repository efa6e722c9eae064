// The settings table and the load/save sequences over the registry-export file.
#include "records/SettingsStore.h"

#include "core/TextCatalogue.h"
#include "core/Version.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace ymt {
namespace {

using T = SettingType;

RegistryValue encode(SettingType type, const SettingValue& value) {
    switch (type) {
    case T::String:
        return RegistryValue::fromString(std::get<QString>(value));
    case T::Integer:
        return RegistryValue::fromDword(static_cast<quint32>(std::get<qint32>(value)));
    case T::Boolean:
        return RegistryValue::fromDword(std::get<bool>(value) ? 1 : 0);
    case T::Float: {
        const double number = std::get<double>(value);
        quint64 bits = 0;
        std::memcpy(&bits, &number, sizeof bits);
        QByteArray bytes(8, '\0');
        qToLittleEndian(bits, bytes.data());
        return RegistryValue::fromBinary(bytes);
    }
    }
    return {};
}

std::optional<SettingValue> decode(const SettingDefinition& definition,
                                   const RegistryValue& stored) {
    switch (definition.type) {
    case T::String:
        if (stored.type == RegistryValue::Type::String)
            return stored.text;
        return std::nullopt;
    case T::Integer: {
        if (stored.type != RegistryValue::Type::Dword)
            return std::nullopt;
        const auto number = static_cast<qint32>(stored.dword);
        if (definition.min != definition.max &&
            (number < definition.min || number > definition.max))
            return std::nullopt;
        return number;
    }
    case T::Boolean:
        if (stored.type == RegistryValue::Type::Dword)
            return stored.dword != 0;
        return std::nullopt;
    case T::Float: {
        if (stored.type != RegistryValue::Type::Binary || stored.binary.size() != 8)
            return std::nullopt;
        const quint64 bits = qFromLittleEndian<quint64>(stored.binary.constData());
        double number = 0;
        std::memcpy(&number, &bits, sizeof number);
        if (!std::isfinite(number))
            return std::nullopt;
        return number;
    }
    }
    return std::nullopt;
}

bool holdsType(SettingType type, const SettingValue& value) {
    switch (type) {
    case T::String:
        return std::holds_alternative<QString>(value);
    case T::Integer:
        return std::holds_alternative<qint32>(value);
    case T::Boolean:
        return std::holds_alternative<bool>(value);
    case T::Float:
        return std::holds_alternative<double>(value);
    }
    return false;
}

} // namespace

const std::array<SettingDefinition, kSettingCount>& SettingsTable() {
    static const std::array<SettingDefinition, kSettingCount> table{{
        {"Version", T::String},
        {"HPIB", T::String},
        {"Adress", T::Integer, 1, 99},
        {"Color1", T::Integer, 0, 0xFFFFFF},
        {"Color2", T::Integer, 0, 0xFFFFFF},
        {"Width1", T::Integer, 0, 256},
        {"Width2", T::Integer, 0, 256},
        {"Therm", T::Integer, 0, 4},
        {"COM", T::Integer, 1, 8},
        {"Analyzer", T::Integer, 0, 1},
        {"K", T::Integer, 0, 4},
        {"Range1", T::Boolean},
        {"Range1min", T::Float},
        {"Range1max", T::Float},
        {"Range2", T::Boolean},
        {"Range2min", T::Float},
        {"Range2max", T::Float},
        {"Range3", T::Boolean},
        {"Range3min", T::Float},
        {"Range3max", T::Float},
        {"Points", T::Integer},
        {"GetCouple", T::Boolean},
        {"WorkDir", T::String},
        {"BackupDir", T::String},
        {"ShowCont", T::Boolean},
        {"MergePts", T::Boolean},
        {"Language", T::String},
        {"PrintLanguage", T::Integer, 0, 2},
        {"Printer", T::Integer},
        {"Autoprot", T::Boolean},
        {"Autobackup", T::Integer, 0, 2},
        {"kpoints", T::Integer},
        {"qpoints", T::Integer},
        {"tandunit", T::Integer, 0, 1},
        {"FreqLog", T::Boolean},
    }};
    return table;
}

SettingValues FixedSettingDefaults() {
    return {
        {"Version", VersionText()},
        {"HPIB", QStringLiteral("gpib0")},
        {"Adress", qint32(17)},
        {"Color1", qint32(255)},
        {"Color2", qint32(16711680)},
        {"Width1", qint32(2)},
        {"Width2", qint32(2)},
        {"Therm", qint32(0)},
        {"COM", qint32(2)},
        {"Analyzer", qint32(0)},
        {"K", qint32(0)},
        {"Range1", true},
        {"Range1min", 0.04},
        {"Range1max", 5000.0},
        {"Range2", true},
        {"Range2min", 5000.0},
        {"Range2max", 110000.0},
        {"Range3", false},
        {"Range3min", 0.0},
        {"Range3max", 0.0},
        {"Points", qint32(401)},
        {"GetCouple", false},
        {"ShowCont", false},
        {"MergePts", true},
        {"Language", QStringLiteral("English")},
        {"Printer", qint32(0)},
        {"Autoprot", false},
        {"Autobackup", qint32(2)},
        {"kpoints", qint32(20)},
        {"qpoints", qint32(20)},
        {"tandunit", qint32(1)},
        {"FreqLog", false},
    };
}

SettingValues ReadSettingValues(const RegistryFile& store, const SettingValues& defaults,
                                QStringList* skipped) {
    SettingValues values;
    for (const SettingDefinition& definition : SettingsTable()) {
        const QString name = QString::fromLatin1(definition.name);
        if (name == QStringLiteral("Version"))
            continue;
        std::optional<SettingValue> value;
        if (const std::optional<RegistryValue> stored = store.value(name))
            value = decode(definition, *stored);
        if (!value) {
            if (store.contains(name) && skipped)
                *skipped << name;
            if (!defaults.contains(name))
                continue;
            value = defaults.value(name);
        }
        values.insert(name, *value);
    }
    return values;
}

SettingsLoadResult LoadSettings(const QString& path, const SettingValues& defaults) {
    SettingsLoadResult result;
    RegistryFile store;
    const bool readable = store.load(path, &result.error);

    bool created = false;
    for (const SettingDefinition& definition : SettingsTable()) {
        const QString name = QString::fromLatin1(definition.name);
        if (store.contains(name) || !holdsType(definition.type, defaults.value(name)))
            continue;
        store.setValue(name, encode(definition.type, defaults.value(name)));
        created = true;
    }
    // A file that could not be read is not replaced: it may hold the operator's settings.
    if (readable && created) {
        QString error;
        if (!store.save(path, &error))
            result.error = error;
    }

    result.values = ReadSettingValues(store, defaults, &result.skipped);
    return result;
}

SettingsSaveResult SaveSettings(const QString& path, const SettingValues& values) {
    SettingsSaveResult result;
    RegistryFile store;
    if (!store.load(path, &result.error))
        return result; // an unreadable file is not overwritten with a partial store
    for (const SettingDefinition& definition : SettingsTable()) {
        const QString name = QString::fromLatin1(definition.name);
        if (name == QStringLiteral("Version"))
            continue;
        if (!values.contains(name) || !holdsType(definition.type, values.value(name))) {
            result.skipped << name;
            continue;
        }
        store.setValue(name, encode(definition.type, values.value(name)));
    }
    QString error;
    if (!store.save(path, &error))
        result.error = error;
    return result;
}

QString SettingsWarningText(const QString& headline, const QStringList& skipped,
                            const QString& error) {
    QString text = headline;
    if (!skipped.isEmpty())
        text +=
            QLatin1Char('\n') + Text(Txt::SettingsSkipped).arg(skipped.join(QStringLiteral(", ")));
    if (!error.isEmpty())
        text += QStringLiteral("\n") + error;
    return text;
}

} // namespace ymt
