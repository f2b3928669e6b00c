#include "shell/HotKeys.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "catalog/UserInterface.h"
#include "shell/DriveDoors.h"
#include "text/Codec.h"

namespace pelko::shell {

std::vector<HotKey> ConfiguredHotKeys(const std::vector<platform::OpticalDrive>& drives,
                                      const settings::SettingsStore& settings) {
    std::vector<HotKey> keys;
    for (const platform::OpticalDrive& drive : drives) {
        for (const bool open : {true, false}) {
            const std::optional<int> number = DoorCommandNumber(open, drive.number);
            if (!number) continue;
            const int modifiers = settings::ReadSettingInt(settings, settings::HotKeyCombineKey(*number));
            const int keyCode = settings::ReadSettingInt(settings, settings::HotKeyCharKey(*number));
            if (modifiers == 0 && keyCode == 0) continue;
            keys.push_back(HotKey{*number, modifiers, keyCode, open, drive.device});
        }
    }
    return keys;
}

int RegisterHotKeys(const std::vector<platform::OpticalDrive>& drives, const settings::SettingsStore& settings,
                    HotKeyPort& port, catalog::UserInterface& ui) {
    const std::vector<HotKey> keys = ConfiguredHotKeys(drives, settings);
    if (keys.empty()) return 0;
    if (!port.Available()) {
        ui.ShowMessage(HotKeysUnavailableText());
        return 0;
    }
    int registered = 0;
    for (const HotKey& key : keys) {
        if (port.Register(key.command, key.modifiers, key.keyCode)) {
            ++registered;
            continue;
        }
        ui.ShowMessage(
            text::LocalWith(key.open ? "注册弹出光驱(%s)的快捷键失败" : "注册关闭光驱(%s)的快捷键失败",
                            text::FromUtf8(key.device)));
    }
    return registered;
}

void UnregisterHotKeys(const std::vector<platform::OpticalDrive>& drives, HotKeyPort& port) {
    for (const platform::OpticalDrive& drive : drives) {
        for (const bool open : {true, false})
            if (const std::optional<int> number = DoorCommandNumber(open, drive.number))
                port.Unregister(*number);
    }
}

std::string HotKeysUnavailableText() { return text::Local("当前桌面不提供全局快捷键，光驱快捷键无法注册"); }

}  // namespace pelko::shell
