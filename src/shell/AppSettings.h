#pragma once
// The process-wide copies of the user options: read once at start-up, then updated together with
// the store by the menu switches and option dialogs. Whoever runs the program owns one value of
// this type; the scanning and searching workers only read it.
//
// The options that belong to one part of the program are held in that part's own type (the walker's
// options in `scan`, the thumbnails' in `picture`, the MP3 memo's in `mp3`, the exports' in
// `exportStyle`), each filled through its own key bindings; the rest are held here, with member
// names following the keys: a "g_" prefix is dropped ("g_bDelPicDir" is bDelPicDir), other keys
// start in lower case ("PopMem" is popMem, "BigIcon_X" bigIconX, "FW_bCase" fwCase). The settings
// table gives every default. Keys the table marks as read at use are not held; IntValue and
// TextValue read them from the store.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "export/ExportOptions.h"
#include "scan/Mp3Tag.h"
#include "scan/PictureSettings.h"
#include "scan/ScanSettings.h"
#include "settings/SettingBinding.h"

namespace pelko::shell {

struct AppSettings {
    // The table's defaults.
    AppSettings();

    scan::ScanSettings scan;
    scan::PictureSettings picture;
    scan::Mp3Options mp3;
    exporting::ExportStyle exportStyle;

    bool popCloseDlg{};
    bool popAskNewCDDlg{};
    bool scanUnAskNewCDDlg{};
    bool popAddedInfoDlg{};
    bool popMem{};
    bool autoOpenReadme{};  // 1: ReadMe shown on double-click only
    bool openNewCDNow{};
    bool defaultBigIcon{};
    bool otherReport{};
    int bigIconX{};
    int bigIconY{};
    bool bigIconMemo{};
    bool bDelPicDir{};
    int lastViewStyle{};  // 0 large icons, 1 report, 2 small, 3 list
    bool bLeftSort{};

    bool fwCase{};
    bool fwCheckReadMe{};
    bool fwCurCategory{};
    bool fwPartMatch{};
    int fwFindWhat{};
    std::string fwFilter;

    bool bListDiskOnly{};
    bool bRunCheckDiskFirst{};

    // Reads every held value, the three lists in lower case. Writes nothing: a value reaches the
    // store only when an option is changed.
    void Load(const settings::SettingsStore& store);

    // Stores an option and updates its copy here when it is held. A list is stored in lower case;
    // Mp3Op and Mp3Gap keep the low byte. A key that is not in the table, or of the other kind,
    // throws std::invalid_argument.
    void SetInt(settings::SettingsStore& store, std::string_view key, int value);
    void SetString(settings::SettingsStore& store, std::string_view key, std::string_view value);

    // The current value of an integer option: the copy here when held, else the store's value
    // (table default when absent). A switch's check mark shows this value.
    int IntValue(const settings::SettingsStore& store, std::string_view key) const;
    // The current value of a text option, the same way (model bytes; a list in lower case).
    std::string TextValue(const settings::SettingsStore& store, std::string_view key) const;

    // A menu switch: writes the logical negation of the current value to the store, updates the
    // copy when held, and returns the new value.
    bool Flip(settings::SettingsStore& store, std::string_view key);

    // The values held here rather than in one of the parts, with their keys.
    static std::span<const settings::SettingBinding<AppSettings>> Bindings();

    bool operator==(const AppSettings&) const = default;
};

}  // namespace pelko::shell
