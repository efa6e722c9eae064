// The settings as the window's controls hold them: one entry per stored value saying how it is
// shown at the first activation and taken back at shut-down, so that reading and writing
// cannot drift apart.
#pragma once

#include "records/SettingsStore.h"

#include <functional>
#include <optional>
#include <vector>

namespace ymt {

struct SettingBinding {
    QString name; // as spelled in SettingsTable()
    std::function<void(const SettingValue& value)> show;
    // Empty when the control's text cannot become the value: it is not written, and the store
    // names it as skipped.
    std::function<std::optional<SettingValue>()> take;
};

// An entry for a value of type T (QString, qint32, bool or double).
template <typename T>
SettingBinding BindSetting(const char* name, std::function<void(const T&)> show,
                           std::function<std::optional<T>()> take) {
    return {QLatin1String(name),
            [show = std::move(show)](const SettingValue& value) { show(std::get<T>(value)); },
            [take = std::move(take)]() -> std::optional<SettingValue> {
                if (std::optional<T> value = take())
                    return SettingValue(*value);
                return std::nullopt;
            }};
}

// Shows each value in the order of the bindings (a control may depend on one shown before it);
// a binding without a value is left as it is.
void ShowSettings(const std::vector<SettingBinding>& bindings, const SettingValues& values);
// The values the controls hold.
SettingValues TakeSettings(const std::vector<SettingBinding>& bindings);

} // namespace ymt
