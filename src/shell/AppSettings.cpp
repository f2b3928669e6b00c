#include "shell/AppSettings.h"

#include "settings/SettingsStore.h"

namespace pelko::shell {

namespace {

using Binding = settings::SettingBinding<AppSettings>;

// In the order the main window reads them when it is created.
constexpr Binding kStartUpOrder[] = {
    {"ExtractZip", &AppSettings::extractZip},
    {"ExtractMp3", &AppSettings::extractMp3},
    {"ExtractExeIcon", &AppSettings::extractExeIcon},
    {"Mp3Op", &AppSettings::mp3Op},
    {"Mp3Gap", &AppSettings::mp3Gap},
    {"PopCloseDlg", &AppSettings::popCloseDlg},
    {"PopAskNewCDDlg", &AppSettings::popAskNewCDDlg},
    {"ScanUnAskNewCDDlg", &AppSettings::scanUnAskNewCDDlg},
    {"PopAddedInfoDlg", &AppSettings::popAddedInfoDlg},
    {"PopMem", &AppSettings::popMem},
    {"AutoFillReadme", &AppSettings::autoFillReadme},
    {"AutoOpenReadme", &AppSettings::autoOpenReadme},
    {"OpenNewCDNow", &AppSettings::openNewCDNow},
    {"DefaultBigIcon", &AppSettings::defaultBigIcon},
    {"OtherReport", &AppSettings::otherReport},
    {"BigIcon_X", &AppSettings::bigIconX},
    {"BigIcon_Y", &AppSettings::bigIconY},
    {"BigIconMemo", &AppSettings::bigIconMemo},
    {"g_bDelPicDir", &AppSettings::bDelPicDir},
    {"LastViewStyle", &AppSettings::lastViewStyle},
    {"g_bPicScan", &AppSettings::bPicScan},
    {"g_bPicBmp", &AppSettings::bPicBmp},
    {"g_bPicJpg", &AppSettings::bPicJpg},
    {"g_bPicJpe", &AppSettings::bPicJpe},
    {"g_bPicGif", &AppSettings::bPicGif},
    {"g_bPicTiff", &AppSettings::bPicTiff},
    {"g_bPicPsd", &AppSettings::bPicPsd},
    {"g_bMostPicPerDir", &AppSettings::bMostPicPerDir},
    {"g_nMostPicPerDir", &AppSettings::nMostPicPerDir},
    {"g_bMostPicPerDisk", &AppSettings::bMostPicPerDisk},
    {"g_nMostPicPerDisk", &AppSettings::nMostPicPerDisk},
    {"g_bPicSize", &AppSettings::bPicSize},
    {"g_nPicWidth", &AppSettings::nPicWidth},
    {"g_nPicHight", &AppSettings::nPicHight},
    {"g_bLeftSort", &AppSettings::bLeftSort},
    {"g_bCheckFileExt", &AppSettings::bCheckFileExt},
    {"g_szFileLimit", &AppSettings::szFileLimit},
    {"g_bCheckFileExt2", &AppSettings::bCheckFileExt2},
    {"g_szFileLimit2", &AppSettings::szFileLimit2},
    {"g_bCheckFileLimit", &AppSettings::bCheckFileLimit},
    {"g_nFileLimit", &AppSettings::nFileLimit},
    {"g_bCheckFileLimitDisk", &AppSettings::bCheckFileLimitDisk},
    {"g_nFileLimitTotal", &AppSettings::nFileLimitTotal},
    {"g_bCheckDirLimit", &AppSettings::bCheckDirLimit},
    {"g_nDirLimit", &AppSettings::nDirLimit},
    {"g_bCheckOnlyDir", &AppSettings::bCheckOnlyDir},
    {"g_bFileCopy", &AppSettings::bFileCopy},
    {"g_szFileCopy", &AppSettings::szFileCopy},
    {"g_szExTxtPre", &AppSettings::szExTxtPre},
    {"g_szExTxtPost", &AppSettings::szExTxtPost},
    {"g_szExHtmPre", &AppSettings::szExHtmPre},
    {"g_szExHtmPost", &AppSettings::szExHtmPost},
    {"g_bExportTree", &AppSettings::bExportTree},
    {"g_bExportMemo", &AppSettings::bExportMemo},
    {"g_szExDirSign", &AppSettings::szExDirSign},
    {"FW_bCase", &AppSettings::fwCase},
    {"FW_bCheckReadMe", &AppSettings::fwCheckReadMe},
    {"FW_bCurCategory", &AppSettings::fwCurCategory},
    {"FW_bPartMatch", &AppSettings::fwPartMatch},
    {"FW_nFindWhat", &AppSettings::fwFindWhat},
    {"FW_strFilter", &AppSettings::fwFilter},
    {"g_bListDiskOnly", &AppSettings::bListDiskOnly},
    {"g_bRunCheckDiskFirst", &AppSettings::bRunCheckDiskFirst},
};

const Binding* HeldBinding(std::string_view key) {
    return settings::FindBinding(AppSettings::Bindings(), key);
}

}  // namespace

AppSettings::AppSettings() { settings::LoadDefaultSettings(*this, Bindings()); }

std::span<const Binding> AppSettings::Bindings() { return kStartUpOrder; }

void AppSettings::Load(const settings::SettingsStore& store) {
    settings::LoadSettings(*this, Bindings(), store);
}

void AppSettings::SetInt(settings::SettingsStore& store, std::string_view key, int value) {
    settings::SettingRowOf(key, settings::SettingKind::kInt);
    store.WriteInt(key, value);
    if (const Binding* binding = HeldBinding(key)) binding->Assign(*this, value);
}

void AppSettings::SetString(settings::SettingsStore& store, std::string_view key, std::string_view value) {
    settings::WriteSettingString(store, key, value);
    if (const Binding* binding = HeldBinding(key)) binding->Assign(*this, value);
}

int AppSettings::IntValue(const settings::SettingsStore& store, std::string_view key) const {
    const Binding* binding = HeldBinding(key);
    return binding == nullptr ? settings::ReadSettingInt(store, key) : binding->IntOf(*this);
}

std::string AppSettings::TextValue(const settings::SettingsStore& store, std::string_view key) const {
    const Binding* binding = HeldBinding(key);
    return binding == nullptr ? settings::ReadSettingString(store, key) : binding->TextOf(*this);
}

bool AppSettings::Flip(settings::SettingsStore& store, std::string_view key) {
    const bool now = IntValue(store, key) == 0;
    SetInt(store, key, now ? 1 : 0);
    return now;
}

scan::ScanSettings AppSettings::ScanOptions() const {
    scan::ScanSettings s;
    s.bCheckOnlyDir = bCheckOnlyDir;
    s.bCheckFileLimit = bCheckFileLimit;
    s.nFileLimit = nFileLimit;
    s.bCheckFileLimitDisk = bCheckFileLimitDisk;
    s.nFileLimitTotal = nFileLimitTotal;
    s.bCheckFileExt2 = bCheckFileExt2;
    s.szFileLimit2 = szFileLimit2;
    s.bCheckFileExt = bCheckFileExt;
    s.szFileLimit = szFileLimit;
    s.bCheckDirLimit = bCheckDirLimit;
    s.nDirLimit = nDirLimit;
    s.bFileCopy = bFileCopy;
    s.szFileCopy = szFileCopy;
    s.extractZip = extractZip;
    s.extractMp3 = extractMp3;
    s.extractExeIcon = extractExeIcon;
    s.bPicScan = bPicScan;
    s.autoFillReadme = autoFillReadme;
    return s;
}

}  // namespace pelko::shell
