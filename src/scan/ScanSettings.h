#pragma once
// The scan options of the settings table, read once before a scan and fixed for its length.
// Field names follow the settings keys; the three lists are held in lower case.

#include <string>

namespace pelko::catalog {
class SettingsStore;
}

namespace pelko::scan {

struct ScanSettings {
    bool bCheckOnlyDir = false;        // g_bCheckOnlyDir: record folders only
    bool bCheckFileLimit = false;      // g_bCheckFileLimit
    int nFileLimit = 100000;           // g_nFileLimit: most file entries considered per folder
    bool bCheckFileLimitDisk = false;  // g_bCheckFileLimitDisk
    int nFileLimitTotal = 10000000;    // g_nFileLimitTotal: most file entries in the whole scan
    bool bCheckFileExt2 = false;       // g_bCheckFileExt2: only-list switch
    std::string szFileLimit2;          // g_szFileLimit2: "*.xxx;*.yyy"
    bool bCheckFileExt = false;        // g_bCheckFileExt: exclude-list switch
    std::string szFileLimit;           // g_szFileLimit
    bool bCheckDirLimit = false;       // g_bCheckDirLimit
    int nDirLimit = 1000;              // g_nDirLimit: depth limit
    bool bFileCopy = false;            // g_bFileCopy
    std::string szFileCopy;            // g_szFileCopy: "*.xxx" or whole names "yyyy.xxx"
    bool extractZip = true;            // ExtractZip
    bool extractMp3 = true;            // ExtractMp3
    bool extractExeIcon = true;        // ExtractExeIcon
    bool bPicScan = true;              // g_bPicScan
    bool autoFillReadme = true;        // AutoFillReadme

    // Reads every option, with the defaults above for missing keys.
    static ScanSettings Load(const catalog::SettingsStore& store);
};

// True when a settings key is one of the scan options (for validating command-line overrides).
bool IsScanSettingKey(std::string_view key);
// True when the key holds a list (a string) rather than a number or a switch.
bool IsStringSettingKey(std::string_view key);

}  // namespace pelko::scan
