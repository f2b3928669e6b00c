#pragma once
// The main window's two switches into the desktop: start at login (kept in "Emr", carried out
// with an XDG autostart file) and the desktop's autorun of inserted discs.

#include <filesystem>
#include <optional>

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::shell {

// Flips start-at-login: writes the autostart file for the new state and then "Emr". When the
// file cannot be written nothing changes. Returns the state now in force.
bool ToggleStartAtLogin(settings::SettingsStore& settings, const std::filesystem::path& autostartFile,
                        const std::filesystem::path& executable);

// The check mark of the autorun switch: true when autorun is off; nothing when the desktop has
// no such setting (the menu entry is then disabled and says why).
std::optional<bool> AutorunSwitchChecked();
// Flips the desktop's autorun; the state now in force, or nothing when it cannot be changed.
std::optional<bool> ToggleAutorunSwitch();

}  // namespace pelko::shell
