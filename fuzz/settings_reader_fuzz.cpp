// Feeds arbitrary bytes to the settings store reader: every value must come out with its
// table type, and what the store writes back must read to the same values.
#include "fuzz/FuzzSupport.h"
#include "records/SettingsStore.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using ymt::fuzz::check;

bool sameValue(const ymt::SettingValue& a, const ymt::SettingValue& b) {
    if (a.index() != b.index())
        return false;
    if (const double* x = std::get_if<double>(&a))
        return std::memcmp(x, std::get_if<double>(&b), sizeof(double)) == 0;
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const ymt::SettingValues defaults = [] {
        ymt::SettingValues values = ymt::FixedSettingDefaults();
        values.insert(QStringLiteral("WorkDir"), QStringLiteral("/w/"));
        values.insert(QStringLiteral("BackupDir"), QStringLiteral("/b/"));
        values.insert(QStringLiteral("PrintLanguage"), qint32(0));
        return values;
    }();

    ymt::RegistryFile store;
    store.parse(bytes);
    QStringList skipped;
    const ymt::SettingValues values = ymt::ReadSettingValues(store, defaults, &skipped);
    check(values.size() == ymt::kSettingCount - 1);
    for (const ymt::SettingDefinition& definition : ymt::SettingsTable()) {
        const QString name = QString::fromLatin1(definition.name);
        if (!values.contains(name))
            continue;
        const ymt::SettingValue& value = values.value(name);
        check(value.index() == static_cast<size_t>(definition.type));
        if (const double* number = std::get_if<double>(&value))
            check(std::isfinite(*number));
    }

    // The store written out and read again: the same values and the same skipped names.
    ymt::RegistryFile rewritten;
    rewritten.parse(store.serialise());
    QStringList skippedAgain;
    const ymt::SettingValues reread = ymt::ReadSettingValues(rewritten, defaults, &skippedAgain);
    check(skippedAgain == skipped);
    for (auto it = values.begin(); it != values.end(); ++it)
        check(sameValue(it.value(), reread.value(it.key())));
    return 0;
}
