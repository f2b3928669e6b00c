#pragma once
// The process-wide copies of the user options: read once at start-up, then updated together with
// the store by the menu switches and option dialogs. Whoever runs the program owns one value of
// this type; the scanning and searching workers only read it.
//
// Member names follow the settings keys: a "g_" prefix is dropped ("g_nFileLimit" is nFileLimit),
// other keys start in lower case ("ExtractZip" is extractZip, "BigIcon_X" bigIconX, "FW_bCase"
// fwCase); Bindings() says which key of the settings table fills which member, and the table gives
// every default. Keys the table marks as read at use are not held here; read them with
// settings::ReadSettingInt / ReadSettingString (or IntValue below).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scan/ScanSettings.h"
#include "settings/SettingBinding.h"

namespace pelko::shell {

struct AppSettings {
    // The table's defaults.
    AppSettings();

    bool extractZip{};
    bool extractMp3{};
    bool extractExeIcon{};
    // Mp3Op: fields kept, bits 1 title, 2 artist, 4 album, 8 comment, 16 year, 32 genre
    std::uint8_t mp3Op{};
    // Mp3Gap: character code of the separator between the fields
    std::uint8_t mp3Gap{};
    bool popCloseDlg{};
    bool popAskNewCDDlg{};
    bool scanUnAskNewCDDlg{};
    bool popAddedInfoDlg{};
    bool popMem{};
    bool autoFillReadme{};
    bool autoOpenReadme{};  // 1: ReadMe shown on double-click only
    bool openNewCDNow{};
    bool defaultBigIcon{};
    bool otherReport{};
    int bigIconX{};
    int bigIconY{};
    bool bigIconMemo{};
    bool bDelPicDir{};
    int lastViewStyle{};  // 0 large icons, 1 report, 2 small, 3 list

    bool bPicScan{};
    bool bPicBmp{};
    bool bPicJpg{};
    bool bPicJpe{};
    bool bPicGif{};
    bool bPicTiff{};
    bool bPicPsd{};
    bool bMostPicPerDir{};
    int nMostPicPerDir{};
    bool bMostPicPerDisk{};
    int nMostPicPerDisk{};
    bool bPicSize{};
    int nPicWidth{};
    int nPicHight{};
    bool bLeftSort{};

    bool bCheckFileExt{};
    std::string szFileLimit;  // lower case
    bool bCheckFileExt2{};
    std::string szFileLimit2;  // lower case
    bool bCheckFileLimit{};
    int nFileLimit{};
    bool bCheckFileLimitDisk{};
    int nFileLimitTotal{};
    bool bCheckDirLimit{};
    int nDirLimit{};
    bool bCheckOnlyDir{};
    bool bFileCopy{};
    std::string szFileCopy;  // lower case

    std::string szExTxtPre;
    std::string szExTxtPost;
    std::string szExHtmPre;
    std::string szExHtmPost;
    bool bExportTree{};
    bool bExportMemo{};
    std::string szExDirSign;

    bool fwCase{};
    bool fwCheckReadMe{};
    bool fwCurCategory{};
    bool fwPartMatch{};
    int fwFindWhat{};
    std::string fwFilter;

    bool bListDiskOnly{};
    bool bRunCheckDiskFirst{};

    // Reads every held value in the start-up order, the three lists in lower case. Writes
    // nothing: a value reaches the store only when an option is changed.
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

    // The walker's options from the copies held here.
    scan::ScanSettings ScanOptions() const;

    // Every held value with its key, in the order the main window reads them when it is created.
    static std::span<const settings::SettingBinding<AppSettings>> Bindings();

    bool operator==(const AppSettings&) const = default;
};

}  // namespace pelko::shell
