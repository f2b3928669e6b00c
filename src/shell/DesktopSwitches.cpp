#include "shell/DesktopSwitches.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "platform/DesktopServices.h"

namespace pelko::shell {

bool ToggleStartAtLogin(settings::SettingsStore& settings, const std::filesystem::path& autostartFile,
                        const std::filesystem::path& executable) {
    const bool wasOn = settings::ReadSettingInt(settings, "Emr") != 0;
    if (!platform::SetStartAtLogin(autostartFile, !wasOn, executable)) return wasOn;
    settings.WriteInt("Emr", wasOn ? 0 : 1);
    return !wasOn;
}

std::optional<bool> AutorunSwitchChecked() {
    switch (platform::ReadAutorunSwitch()) {
        case platform::AutorunSwitch::Disabled:
            return true;
        case platform::AutorunSwitch::Allowed:
            return false;
        case platform::AutorunSwitch::Unavailable:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<bool> ToggleAutorunSwitch() {
    const std::optional<bool> checked = AutorunSwitchChecked();
    if (!checked) return std::nullopt;
    // The desktop applies the change at once: no restart notice is needed here.
    if (!platform::WriteAutorunSwitch(!*checked)) return checked;
    return !*checked;
}

}  // namespace pelko::shell
