#include "scan/ScanSettings.h"

#include <array>
#include <string_view>

#include "catalog/SettingsStore.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace {

constexpr std::array<std::string_view, 3> kStringKeys = {"g_szFileLimit2", "g_szFileLimit", "g_szFileCopy"};
constexpr std::array<std::string_view, 15> kNumberKeys = {
    "g_bCheckOnlyDir",   "g_bCheckFileLimit", "g_nFileLimit",    "g_bCheckFileLimitDisk",
    "g_nFileLimitTotal", "g_bCheckFileExt2",  "g_bCheckFileExt", "g_bCheckDirLimit",
    "g_nDirLimit",       "g_bFileCopy",       "ExtractZip",      "ExtractMp3",
    "ExtractExeIcon",    "g_bPicScan",        "AutoFillReadme"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& keys, std::string_view key) {
    for (std::string_view k : keys)
        if (k == key) return true;
    return false;
}

}  // namespace

ScanSettings ScanSettings::Load(const catalog::SettingsStore& store) {
    ScanSettings s;
    const auto flag = [&](std::string_view key, bool def) { return store.ReadInt(key, def ? 1 : 0) != 0; };
    s.bCheckOnlyDir = flag("g_bCheckOnlyDir", s.bCheckOnlyDir);
    s.bCheckFileLimit = flag("g_bCheckFileLimit", s.bCheckFileLimit);
    s.nFileLimit = store.ReadInt("g_nFileLimit", s.nFileLimit);
    s.bCheckFileLimitDisk = flag("g_bCheckFileLimitDisk", s.bCheckFileLimitDisk);
    s.nFileLimitTotal = store.ReadInt("g_nFileLimitTotal", s.nFileLimitTotal);
    s.bCheckFileExt2 = flag("g_bCheckFileExt2", s.bCheckFileExt2);
    s.szFileLimit2 = text::AsciiLower(store.ReadString("g_szFileLimit2", ""));
    s.bCheckFileExt = flag("g_bCheckFileExt", s.bCheckFileExt);
    s.szFileLimit = text::AsciiLower(store.ReadString("g_szFileLimit", ""));
    s.bCheckDirLimit = flag("g_bCheckDirLimit", s.bCheckDirLimit);
    s.nDirLimit = store.ReadInt("g_nDirLimit", s.nDirLimit);
    s.bFileCopy = flag("g_bFileCopy", s.bFileCopy);
    s.szFileCopy = text::AsciiLower(store.ReadString("g_szFileCopy", ""));
    s.extractZip = flag("ExtractZip", s.extractZip);
    s.extractMp3 = flag("ExtractMp3", s.extractMp3);
    s.extractExeIcon = flag("ExtractExeIcon", s.extractExeIcon);
    s.bPicScan = flag("g_bPicScan", s.bPicScan);
    s.autoFillReadme = flag("AutoFillReadme", s.autoFillReadme);
    return s;
}

bool IsScanSettingKey(std::string_view key) {
    return Contains(kStringKeys, key) || Contains(kNumberKeys, key);
}

bool IsStringSettingKey(std::string_view key) { return Contains(kStringKeys, key); }

}  // namespace pelko::scan
