#pragma once
// The scan options of the settings table, read once before a scan and fixed for its length.
// Field names follow the settings keys; Bindings() says which key fills which field. The three
// lists are held in lower case. A default-made value holds the table's defaults.

#include <span>
#include <string>

#include "settings/SettingBinding.h"

namespace pelko::scan {

struct ScanSettings {
    // g_bCheckOnlyDir: record folders only
    bool bCheckOnlyDir{};
    bool bCheckFileLimit{};
    // g_nFileLimit: most file entries considered per folder
    int nFileLimit{};
    bool bCheckFileLimitDisk{};
    // g_nFileLimitTotal: most file entries in the whole scan
    int nFileLimitTotal{};
    // g_bCheckFileExt2 with g_szFileLimit2 ("*.xxx;*.yyy"): record only these extensions
    bool bCheckFileExt2{};
    std::string szFileLimit2;
    // g_bCheckFileExt with g_szFileLimit: leave these extensions out
    bool bCheckFileExt{};
    std::string szFileLimit;
    // g_bCheckDirLimit with g_nDirLimit: depth limit
    bool bCheckDirLimit{};
    int nDirLimit{};
    // g_bFileCopy with g_szFileCopy: "*.xxx" or whole names "yyyy.xxx"
    bool bFileCopy{};
    std::string szFileCopy;
    bool extractZip{};
    bool extractMp3{};
    bool extractExeIcon{};
    bool bPicScan{};
    bool autoFillReadme{};

    // The table's defaults.
    ScanSettings();

    // Reads every option, with the table's defaults for missing keys.
    static ScanSettings Load(const settings::SettingsStore& store);

    static std::span<const settings::SettingBinding<ScanSettings>> Bindings();

    bool operator==(const ScanSettings&) const = default;
};

}  // namespace pelko::scan
