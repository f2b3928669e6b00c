#pragma once
// What the drive hot-key dialog edits, without widgets: its rows (one per optical drive for
// opening, then one per drive for closing, each with its door command number and text), the
// stored pair {modifiers, key code} of a row, and the key list's entries (an empty entry, then
// "a" to "z") as key codes.

#include <string>
#include <vector>

#include "platform/OpticalDrives.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::shell {

struct AppSettings;

struct HotKeyRow {
    int command = 0;   // door command number, also the hot key's identifier
    bool open = true;  // opens the door (else closes it)
    std::string text;  // model bytes: "弹出光驱 (/dev/sr0)"
};

// Modifier bits (kHotKeyAlt ... kHotKeyWindows of shell/HotKeys.h) and key code (65 'A' to
// 90 'Z', 0 for none). {0, 0} is no hot key, the same as a pair never stored.
struct HotKeyPair {
    int modifiers = 0;
    int keyCode = 0;
    bool operator==(const HotKeyPair&) const = default;
};

// The dialog's rows: every drive's open row in number order, then every drive's close row. A
// drive beyond the numbered range has no command and no row.
std::vector<HotKeyRow> HotKeyRows(const std::vector<platform::OpticalDrive>& drives);

// The pair stored under EHotKeyCombine<command> and EHotKeyChar<command> (0 each when absent).
HotKeyPair StoredHotKey(const AppSettings& options, const settings::SettingsStore& store, int command);

// Stores the pair under the command's keys when it differs from the stored one, so that merely
// looking at a row never creates keys. Returns true when it wrote.
bool StoreHotKey(AppSettings& options, settings::SettingsStore& store, int command, const HotKeyPair& pair);

// The key list: entry 0 is empty (key code 0), entry k from 1 to 26 is the letter of key code
// 64 + k ("a" to "z").
inline constexpr int kHotKeyListEntries = 27;
// The key code of an entry; an index outside the list (no entry chosen) counts as the empty one.
int HotKeyCodeOfEntry(int index);
// The entry showing a key code; a code that is no letter key shows as the empty entry.
int HotKeyEntryOfCode(int keyCode);

}  // namespace pelko::shell
