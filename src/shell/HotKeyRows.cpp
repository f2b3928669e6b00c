#include "shell/HotKeyRows.h"

#include <optional>

#include "settings/SettingsTable.h"
#include "shell/AppSettings.h"
#include "shell/DriveDoors.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace {

constexpr int kFirstLetterCode = 'A';
constexpr int kLastLetterCode = 'Z';

}  // namespace

std::vector<HotKeyRow> HotKeyRows(const std::vector<platform::OpticalDrive>& drives) {
    std::vector<HotKeyRow> rows;
    for (const bool open : {true, false}) {
        for (const platform::OpticalDrive& drive : drives) {
            const std::optional<int> number = DoorCommandNumber(open, drive.number);
            if (!number) continue;
            rows.push_back(
                {*number, open,
                 text::LocalWith(open ? "弹出光驱 (%s)" : "关闭光驱 (%s)", text::FromUtf8(drive.device))});
        }
    }
    return rows;
}

HotKeyPair StoredHotKey(const AppSettings& options, const settings::SettingsStore& store, int command) {
    return {options.IntValue(store, settings::HotKeyCombineKey(command)),
            options.IntValue(store, settings::HotKeyCharKey(command))};
}

bool StoreHotKey(AppSettings& options, settings::SettingsStore& store, int command, const HotKeyPair& pair) {
    if (StoredHotKey(options, store, command) == pair) return false;
    options.SetInt(store, settings::HotKeyCombineKey(command), pair.modifiers);
    options.SetInt(store, settings::HotKeyCharKey(command), pair.keyCode);
    return true;
}

int HotKeyCodeOfEntry(int index) {
    if (index < 1 || index >= kHotKeyListEntries) return 0;
    return kFirstLetterCode - 1 + index;
}

int HotKeyEntryOfCode(int keyCode) {
    if (keyCode < kFirstLetterCode || keyCode > kLastLetterCode) return 0;
    return keyCode - (kFirstLetterCode - 1);
}

}  // namespace pelko::shell
