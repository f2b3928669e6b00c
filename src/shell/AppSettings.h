#pragma once
// The process-wide copies of the user options: read once at start-up, then updated together with
// the store by the menu switches and option dialogs. Whoever runs the program owns one value of
// this type; the scanning and searching workers only read it.
//
// Member names follow the settings keys: a "g_" prefix is dropped ("g_nFileLimit" is nFileLimit),
// other keys start in lower case ("ExtractZip" is extractZip, "BigIcon_X" bigIconX, "FW_bCase"
// fwCase). Defaults come from the settings table. Keys the table marks as read at use are not held
// here; read them with catalog::ReadSettingInt / ReadSettingString (or IntValue below).

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/SettingsTable.h"
#include "scan/ScanSettings.h"

namespace pelko::catalog {
class SettingsStore;
}

namespace pelko::shell {

struct AppSettings {
    bool extractZip = catalog::DefaultFlag("ExtractZip");
    bool extractMp3 = catalog::DefaultFlag("ExtractMp3");
    bool extractExeIcon = catalog::DefaultFlag("ExtractExeIcon");
    // Mp3Op: fields kept, bits 1 title, 2 artist, 4 album, 8 comment, 16 year, 32 genre
    std::uint8_t mp3Op = static_cast<std::uint8_t>(catalog::DefaultInt("Mp3Op"));
    // Mp3Gap: character code of the separator between the fields
    std::uint8_t mp3Gap = static_cast<std::uint8_t>(catalog::DefaultInt("Mp3Gap"));
    bool popCloseDlg = catalog::DefaultFlag("PopCloseDlg");
    bool popAskNewCDDlg = catalog::DefaultFlag("PopAskNewCDDlg");
    bool scanUnAskNewCDDlg = catalog::DefaultFlag("ScanUnAskNewCDDlg");
    bool popAddedInfoDlg = catalog::DefaultFlag("PopAddedInfoDlg");
    bool popMem = catalog::DefaultFlag("PopMem");
    bool autoFillReadme = catalog::DefaultFlag("AutoFillReadme");
    bool autoOpenReadme = catalog::DefaultFlag("AutoOpenReadme");  // 1: ReadMe shown on double-click only
    bool openNewCDNow = catalog::DefaultFlag("OpenNewCDNow");
    bool defaultBigIcon = catalog::DefaultFlag("DefaultBigIcon");
    bool otherReport = catalog::DefaultFlag("OtherReport");
    int bigIconX = catalog::DefaultInt("BigIcon_X");
    int bigIconY = catalog::DefaultInt("BigIcon_Y");
    bool bigIconMemo = catalog::DefaultFlag("BigIconMemo");
    bool bDelPicDir = catalog::DefaultFlag("g_bDelPicDir");
    int lastViewStyle = catalog::DefaultInt("LastViewStyle");  // 0 large icons, 1 report, 2 small, 3 list

    bool bPicScan = catalog::DefaultFlag("g_bPicScan");
    bool bPicBmp = catalog::DefaultFlag("g_bPicBmp");
    bool bPicJpg = catalog::DefaultFlag("g_bPicJpg");
    bool bPicJpe = catalog::DefaultFlag("g_bPicJpe");
    bool bPicGif = catalog::DefaultFlag("g_bPicGif");
    bool bPicTiff = catalog::DefaultFlag("g_bPicTiff");
    bool bPicPsd = catalog::DefaultFlag("g_bPicPsd");
    bool bMostPicPerDir = catalog::DefaultFlag("g_bMostPicPerDir");
    int nMostPicPerDir = catalog::DefaultInt("g_nMostPicPerDir");
    bool bMostPicPerDisk = catalog::DefaultFlag("g_bMostPicPerDisk");
    int nMostPicPerDisk = catalog::DefaultInt("g_nMostPicPerDisk");
    bool bPicSize = catalog::DefaultFlag("g_bPicSize");
    int nPicWidth = catalog::DefaultInt("g_nPicWidth");
    int nPicHight = catalog::DefaultInt("g_nPicHight");
    bool bLeftSort = catalog::DefaultFlag("g_bLeftSort");

    bool bCheckFileExt = catalog::DefaultFlag("g_bCheckFileExt");
    std::string szFileLimit{catalog::DefaultString("g_szFileLimit")};  // lower case
    bool bCheckFileExt2 = catalog::DefaultFlag("g_bCheckFileExt2");
    std::string szFileLimit2{catalog::DefaultString("g_szFileLimit2")};  // lower case
    bool bCheckFileLimit = catalog::DefaultFlag("g_bCheckFileLimit");
    int nFileLimit = catalog::DefaultInt("g_nFileLimit");
    bool bCheckFileLimitDisk = catalog::DefaultFlag("g_bCheckFileLimitDisk");
    int nFileLimitTotal = catalog::DefaultInt("g_nFileLimitTotal");
    bool bCheckDirLimit = catalog::DefaultFlag("g_bCheckDirLimit");
    int nDirLimit = catalog::DefaultInt("g_nDirLimit");
    bool bCheckOnlyDir = catalog::DefaultFlag("g_bCheckOnlyDir");
    bool bFileCopy = catalog::DefaultFlag("g_bFileCopy");
    std::string szFileCopy{catalog::DefaultString("g_szFileCopy")};  // lower case

    std::string szExTxtPre{catalog::DefaultString("g_szExTxtPre")};
    std::string szExTxtPost{catalog::DefaultString("g_szExTxtPost")};
    std::string szExHtmPre{catalog::DefaultString("g_szExHtmPre")};
    std::string szExHtmPost{catalog::DefaultString("g_szExHtmPost")};
    bool bExportTree = catalog::DefaultFlag("g_bExportTree");
    bool bExportMemo = catalog::DefaultFlag("g_bExportMemo");
    std::string szExDirSign{catalog::DefaultString("g_szExDirSign")};

    bool fwCase = catalog::DefaultFlag("FW_bCase");
    bool fwCheckReadMe = catalog::DefaultFlag("FW_bCheckReadMe");
    bool fwCurCategory = catalog::DefaultFlag("FW_bCurCategory");
    bool fwPartMatch = catalog::DefaultFlag("FW_bPartMatch");
    int fwFindWhat = catalog::DefaultInt("FW_nFindWhat");
    std::string fwFilter{catalog::DefaultString("FW_strFilter")};

    bool bListDiskOnly = catalog::DefaultFlag("g_bListDiskOnly");
    bool bRunCheckDiskFirst = catalog::DefaultFlag("g_bRunCheckDiskFirst");

    // Reads every held value in the start-up order, the three lists in lower case. Writes
    // nothing: a value reaches the store only when an option is changed.
    void Load(const catalog::SettingsStore& store);

    // Stores an option and updates its copy here when it is held. A list is stored in lower case;
    // Mp3Op and Mp3Gap keep the low byte. A key that is not in the table, or of the other kind,
    // throws std::invalid_argument.
    void SetInt(catalog::SettingsStore& store, std::string_view key, int value);
    void SetString(catalog::SettingsStore& store, std::string_view key, std::string_view value);

    // The current value of an integer option: the copy here when held, else the store's value
    // (table default when absent). A switch's check mark shows this value.
    int IntValue(const catalog::SettingsStore& store, std::string_view key) const;

    // A menu switch: writes the logical negation of the current value to the store, updates the
    // copy when held, and returns the new value.
    bool Flip(catalog::SettingsStore& store, std::string_view key);

    // The walker's options from the copies held here.
    scan::ScanSettings ScanOptions() const;

    bool operator==(const AppSettings&) const = default;
};

}  // namespace pelko::shell
