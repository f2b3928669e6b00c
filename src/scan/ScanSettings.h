#pragma once
// The scan options of the settings table, read once before a scan and fixed for its length.
// Field names follow the settings keys; the three lists are held in lower case. A default-made
// value holds the table's defaults.

#include <string>

#include "catalog/SettingsTable.h"

namespace pelko::scan {

struct ScanSettings {
    // g_bCheckOnlyDir: record folders only
    bool bCheckOnlyDir = catalog::DefaultFlag("g_bCheckOnlyDir");
    bool bCheckFileLimit = catalog::DefaultFlag("g_bCheckFileLimit");
    // g_nFileLimit: most file entries considered per folder
    int nFileLimit = catalog::DefaultInt("g_nFileLimit");
    bool bCheckFileLimitDisk = catalog::DefaultFlag("g_bCheckFileLimitDisk");
    // g_nFileLimitTotal: most file entries in the whole scan
    int nFileLimitTotal = catalog::DefaultInt("g_nFileLimitTotal");
    // g_bCheckFileExt2 with g_szFileLimit2 ("*.xxx;*.yyy"): record only these extensions
    bool bCheckFileExt2 = catalog::DefaultFlag("g_bCheckFileExt2");
    std::string szFileLimit2{catalog::DefaultString("g_szFileLimit2")};
    // g_bCheckFileExt with g_szFileLimit: leave these extensions out
    bool bCheckFileExt = catalog::DefaultFlag("g_bCheckFileExt");
    std::string szFileLimit{catalog::DefaultString("g_szFileLimit")};
    // g_bCheckDirLimit with g_nDirLimit: depth limit
    bool bCheckDirLimit = catalog::DefaultFlag("g_bCheckDirLimit");
    int nDirLimit = catalog::DefaultInt("g_nDirLimit");
    // g_bFileCopy with g_szFileCopy: "*.xxx" or whole names "yyyy.xxx"
    bool bFileCopy = catalog::DefaultFlag("g_bFileCopy");
    std::string szFileCopy{catalog::DefaultString("g_szFileCopy")};
    bool extractZip = catalog::DefaultFlag("ExtractZip");
    bool extractMp3 = catalog::DefaultFlag("ExtractMp3");
    bool extractExeIcon = catalog::DefaultFlag("ExtractExeIcon");
    bool bPicScan = catalog::DefaultFlag("g_bPicScan");
    bool autoFillReadme = catalog::DefaultFlag("AutoFillReadme");

    // Reads every option, with the table's defaults for missing keys.
    static ScanSettings Load(const catalog::SettingsStore& store);
};

}  // namespace pelko::scan
