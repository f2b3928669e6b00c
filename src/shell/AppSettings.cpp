#include "shell/AppSettings.h"

#include <stdexcept>
#include <variant>

#include "catalog/SettingsStore.h"
#include "text/MbString.h"

namespace pelko::shell {

namespace {

using Member = std::variant<bool AppSettings::*, int AppSettings::*, std::uint8_t AppSettings::*,
                            std::string AppSettings::*>;

struct Binding {
    std::string_view key;
    Member member;
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Every held value with its key, in the order the main window reads them when it is created.
const Binding kStartUpOrder[] = {
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

const Binding* FindBinding(std::string_view key) {
    for (const Binding& binding : kStartUpOrder)
        if (binding.key == key) return &binding;
    return nullptr;
}

// Puts an integer into a held copy of any integer type.
void Assign(AppSettings& settings, const Binding& binding, int value) {
    std::visit(Overloaded{
                   [&](bool AppSettings::*m) { settings.*m = value != 0; },
                   [&](int AppSettings::*m) { settings.*m = value; },
                   [&](std::uint8_t AppSettings::*m) { settings.*m = static_cast<std::uint8_t>(value); },
                   [&](std::string AppSettings::*) {
                       throw std::logic_error("integer bound to a text value: " + std::string(binding.key));
                   },
               },
               binding.member);
}

}  // namespace

void AppSettings::Load(const catalog::SettingsStore& store) {
    for (const Binding& binding : kStartUpOrder) {
        if (std::holds_alternative<std::string AppSettings::*>(binding.member))
            this->*std::get<std::string AppSettings::*>(binding.member) =
                catalog::ReadSettingString(store, binding.key);
        else
            Assign(*this, binding, catalog::ReadSettingInt(store, binding.key));
    }
}

void AppSettings::SetInt(catalog::SettingsStore& store, std::string_view key, int value) {
    catalog::SettingRowOf(key, catalog::SettingKind::kInt);
    store.WriteInt(key, value);
    if (const Binding* binding = FindBinding(key)) Assign(*this, *binding, value);
}

void AppSettings::SetString(catalog::SettingsStore& store, std::string_view key, std::string_view value) {
    const catalog::SettingRow& row = catalog::SettingRowOf(key, catalog::SettingKind::kString);
    const std::string stored = row.lowerCaseList ? text::AsciiLower(value) : std::string(value);
    store.WriteString(key, stored);
    if (const Binding* binding = FindBinding(key))
        this->*std::get<std::string AppSettings::*>(binding->member) = stored;
}

int AppSettings::IntValue(const catalog::SettingsStore& store, std::string_view key) const {
    const Binding* binding = FindBinding(key);
    if (binding == nullptr) return catalog::ReadSettingInt(store, key);
    return std::visit(Overloaded{
                          [&](bool AppSettings::*m) { return this->*m ? 1 : 0; },
                          [&](int AppSettings::*m) { return this->*m; },
                          [&](std::uint8_t AppSettings::*m) { return static_cast<int>(this->*m); },
                          [&](std::string AppSettings::*) -> int {
                              throw std::invalid_argument("setting of the other kind: " + std::string(key));
                          },
                      },
                      binding->member);
}

bool AppSettings::Flip(catalog::SettingsStore& store, std::string_view key) {
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
