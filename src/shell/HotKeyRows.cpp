#include "shell/HotKeyRows.h"

#include <optional>

#include "settings/SettingsTable.h"
#include "shell/AppSettings.h"
#include "shell/DriveDoors.h"

namespace pelko::shell {

namespace {

constexpr int kFirstLetterCode = 'A';
constexpr int kLastLetterCode = 'Z';

}  // namespace

std::vector<HotKeyRow> HotKeyRows(const std::vector<platform::OpticalDrive>& drives) {
    std::vector<HotKeyRow> rows;
    for (DriveMenuEntry& entry : DoorCommandEntries(drives))
        rows.push_back({entry.command, DecodeDoorCommand(entry.command)->open, std::move(entry.text)});
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
