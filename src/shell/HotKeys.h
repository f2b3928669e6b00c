#pragma once
// The drive hot keys: for every optical drive its open and close command numbers, each with the
// modifier bits and key code stored under EHotKeyCombine<number> and EHotKeyChar<number>,
// registered with the desktop through a port, and unregistered again before the hot-key dialog
// and at close. A key press comes back as its command number (see DriveDoors::RunCommand).

#include <string>
#include <vector>

#include "platform/GlobalHotKeys.h"
#include "platform/OpticalDrives.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

// Modifier bits of the stored combination.
inline constexpr int kHotKeyAlt = 1;
inline constexpr int kHotKeyCtrl = 2;
inline constexpr int kHotKeyShift = 4;
inline constexpr int kHotKeyWindows = 8;

struct HotKey {
    int command = 0;    // the door command number, also the hot key's identifier
    int modifiers = 0;  // kHotKey* bits
    int keyCode = 0;    // 65 ('A') to 90 ('Z')
    bool open = true;
    std::string device;
};

// The desktop's system-wide hot keys (platform/GlobalHotKeys.h has the X11 backend).
using HotKeyPort = platform::GlobalHotKeys;

// The configured keys of the drives: per drive in number order its open key, then its close
// key; a number whose stored combination and key are both 0 has none.
std::vector<HotKey> ConfiguredHotKeys(const std::vector<platform::OpticalDrive>& drives,
                                      const settings::SettingsStore& settings);

// Registers every configured key. A key the desktop refuses gets its message ("注册弹出光驱
// (%s)的快捷键失败" or the close variant) and the others are still registered. Where the desktop
// has no hot keys, one message says so when any key is configured. Returns the number registered.
int RegisterHotKeys(const std::vector<platform::OpticalDrive>& drives, const settings::SettingsStore& settings,
                    HotKeyPort& port, catalog::UserInterface& ui);

// Unregisters both numbers of every drive.
void UnregisterHotKeys(const std::vector<platform::OpticalDrive>& drives, HotKeyPort& port);

// The text shown when the desktop offers no system-wide hot keys (model bytes).
std::string HotKeysUnavailableText();

}  // namespace pelko::shell
