#include "scan/ScanSettings.h"

#include "catalog/SettingsStore.h"

namespace pelko::scan {

ScanSettings ScanSettings::Load(const catalog::SettingsStore& store) {
    const auto flag = [&](std::string_view key) { return catalog::ReadSettingInt(store, key) != 0; };
    const auto number = [&](std::string_view key) { return catalog::ReadSettingInt(store, key); };
    const auto list = [&](std::string_view key) { return catalog::ReadSettingString(store, key); };
    ScanSettings s;
    s.bCheckOnlyDir = flag("g_bCheckOnlyDir");
    s.bCheckFileLimit = flag("g_bCheckFileLimit");
    s.nFileLimit = number("g_nFileLimit");
    s.bCheckFileLimitDisk = flag("g_bCheckFileLimitDisk");
    s.nFileLimitTotal = number("g_nFileLimitTotal");
    s.bCheckFileExt2 = flag("g_bCheckFileExt2");
    s.szFileLimit2 = list("g_szFileLimit2");
    s.bCheckFileExt = flag("g_bCheckFileExt");
    s.szFileLimit = list("g_szFileLimit");
    s.bCheckDirLimit = flag("g_bCheckDirLimit");
    s.nDirLimit = number("g_nDirLimit");
    s.bFileCopy = flag("g_bFileCopy");
    s.szFileCopy = list("g_szFileCopy");
    s.extractZip = flag("ExtractZip");
    s.extractMp3 = flag("ExtractMp3");
    s.extractExeIcon = flag("ExtractExeIcon");
    s.bPicScan = flag("g_bPicScan");
    s.autoFillReadme = flag("AutoFillReadme");
    return s;
}

}  // namespace pelko::scan
