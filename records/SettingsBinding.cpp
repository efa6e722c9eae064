// Showing the settings in the controls and taking them back.
#include "records/SettingsBinding.h"

namespace ymt {

void ShowSettings(const std::vector<SettingBinding>& bindings, const SettingValues& values) {
    for (const SettingBinding& binding : bindings) {
        const auto found = values.constFind(binding.name);
        if (found != values.constEnd())
            binding.show(*found);
    }
}

SettingValues TakeSettings(const std::vector<SettingBinding>& bindings) {
    SettingValues values;
    for (const SettingBinding& binding : bindings) {
        if (std::optional<SettingValue> value = binding.take())
            values.insert(binding.name, *value);
    }
    return values;
}

} // namespace ymt
