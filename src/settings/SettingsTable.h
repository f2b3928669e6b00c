#pragma once
// The one table of user options: every key of the settings store's "settings" section with its
// kind, its default and how the program holds it. Every reader takes its default from here, so a
// key has the same default wherever it is read.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelko::settings {

class SettingsStore;

enum class SettingKind : std::uint8_t { kInt, kString };

enum class SettingUse : std::uint8_t {
    kStartUp,   // read once into the process-wide values when the program starts
    kReadAtUse  // read from the store each time it is needed, never held in a process-wide copy
};

struct SettingRow {
    // The key, or for the per-command keys the pattern with "%d" where the command number goes.
    std::string_view key;
    SettingKind kind;
    int intDefault;                  // for kInt rows
    std::string_view stringDefault;  // for kString rows: model bytes (GB18030)
    bool lowerCaseList;              // a ";"-separated list held in lower case
    SettingUse use;

    constexpr bool IsPerCommand() const { return key.ends_with("%d"); }
};

namespace detail {

constexpr SettingRow Int(std::string_view key, int value, SettingUse use = SettingUse::kStartUp) {
    return {key, SettingKind::kInt, value, {}, false, use};
}
constexpr SettingRow Str(std::string_view key, std::string_view value) {
    return {key, SettingKind::kString, 0, value, false, SettingUse::kStartUp};
}
constexpr SettingRow List(std::string_view key) {
    return {key, SettingKind::kString, 0, {}, true, SettingUse::kStartUp};
}
constexpr SettingUse kAtUse = SettingUse::kReadAtUse;

}  // namespace detail

// ExpandSingleTreeItem defaults to 0 everywhere: the tree is created with the value and the menu
// switch draws its check mark from the same value, so on a fresh installation both agree on the
// ordinary tree, where several branches may be open at once. A default of 1 for the switch alone
// would show a check mark for a style the tree does not have, and its first click would then
// "turn off" something that was never on.
inline constexpr SettingRow kSettingsTable[] = {
    detail::Int("RunOnTray", 0, detail::kAtUse),
    detail::Int("LastViewStyle", 0),  // 0 large icons, 1 report, 2 small icons, 3 list
    detail::Int("CurColPos", 190, detail::kAtUse),
    detail::Int("ClearBeforeInfo", 1, detail::kAtUse),
    detail::Int("EjectCDAfterScanning", 0, detail::kAtUse),
    detail::Int("OpenNewCDNow", 0),
    detail::Int("ExpandSingleTreeItem", 0, detail::kAtUse),
    detail::Int("DispExt", 1, detail::kAtUse),
    detail::Int("PopMem", 0),
    detail::Int("BigIconMemo", 1),
    detail::Int("Emr", 0, detail::kAtUse),
    detail::Int("PromptHibAuto", 0, detail::kAtUse),
    detail::Int("ExtractExeIcon", 1),
    detail::Int("ExtractZip", 1),
    detail::Int("ExtractZipAllLevel", 0, detail::kAtUse),
    detail::Int("g_bDelPicDir", 1),
    detail::Int("g_bListDiskOnly", 0),
    detail::Int("g_bRunCheckDiskFirst", 0),
    detail::Int("g_bLeftSort", 0),
    detail::Int("AutoFillReadme", 1),
    detail::Int("AutoOpenReadme", 1),
    detail::Int("PopCloseDlg", 1),
    detail::Int("PopAskNewCDDlg", 1),
    detail::Int("ScanUnAskNewCDDlg", 0),
    detail::Int("PopAddedInfoDlg", 0),
    detail::Int("ExtractMp3", 1),
    detail::Int("Mp3Op", 1),    // bit set of the MP3 fields kept
    detail::Int("Mp3Gap", 43),  // character code of the field separator, "+"
    detail::Int("g_bPicScan", 1),
    detail::Int("g_bPicBmp", 1),
    detail::Int("g_bPicJpg", 1),
    detail::Int("g_bPicJpe", 1),
    detail::Int("g_bPicGif", 1),
    detail::Int("g_bPicTiff", 1),
    detail::Int("g_bPicPsd", 1),
    detail::Int("g_bMostPicPerDir", 0),
    detail::Int("g_nMostPicPerDir", 0),
    detail::Int("g_bMostPicPerDisk", 0),
    detail::Int("g_nMostPicPerDisk", 0),
    detail::Int("g_bPicSize", 0),
    detail::Int("g_nPicWidth", 320),
    detail::Int("g_nPicHight", 240),
    detail::Int("g_bCheckFileExt", 0),
    detail::List("g_szFileLimit"),
    detail::Int("g_bCheckFileExt2", 0),
    detail::List("g_szFileLimit2"),
    detail::Int("g_bCheckFileLimit", 0),
    detail::Int("g_nFileLimit", 100000),
    detail::Int("g_bCheckFileLimitDisk", 0),
    detail::Int("g_nFileLimitTotal", 10000000),
    detail::Int("g_bCheckDirLimit", 0),
    detail::Int("g_nDirLimit", 1000),
    detail::Int("g_bCheckOnlyDir", 0),
    detail::Int("g_bFileCopy", 0),
    detail::List("g_szFileCopy"),
    detail::Str("g_szExTxtPre", "/*"),
    detail::Str("g_szExTxtPost", "*/"),
    detail::Str("g_szExHtmPre", "/*"),
    detail::Str("g_szExHtmPost", "*/"),
    detail::Int("g_bExportTree", 1),
    detail::Int("g_bExportMemo", 0),
    detail::Str("g_szExDirSign", "\xA1\xBE\xCE\xC4\xBC\xFE\xBC\xD0\xA1\xBF"),  // "【文件夹】" in GB18030
    detail::Int("DefaultBigIcon", 1),
    detail::Int("OtherReport", 1),
    detail::Int("BigIcon_X", 102),
    detail::Int("BigIcon_Y", 77),
    detail::Int("FW_bCase", 0),
    detail::Int("FW_bCheckReadMe", 0),
    detail::Int("FW_bCurCategory", 0),
    detail::Int("FW_bPartMatch", 1),
    detail::Int("FW_nFindWhat", 1),
    detail::Str("FW_strFilter", ""),
    // One pair per drive-door command number; the hot-key table reads them when it registers.
    detail::Int("EHotKeyCombine%d", 0, detail::kAtUse),
    detail::Int("EHotKeyChar%d", 0, detail::kAtUse),
};

inline constexpr std::string_view kHotKeyCombinePattern = "EHotKeyCombine%d";
inline constexpr std::string_view kHotKeyCharPattern = "EHotKeyChar%d";

inline constexpr std::size_t kSettingsCount = std::size(kSettingsTable);

// The index of a key's row in the table, or kSettingsCount when the table has none. A
// per-command key matches its pattern when the "%d" part is a non-negative decimal number as "%d"
// writes it ("EHotKeyChar50003"). Works on indices rather than pointers so that it also evaluates
// at compile time in builds with the undefined-behaviour sanitizer.
constexpr std::size_t SettingIndex(std::string_view key) {
    for (std::size_t i = 0; i < kSettingsCount; ++i) {
        const std::string_view rowKey = kSettingsTable[i].key;
        if (!rowKey.ends_with("%d")) {
            if (rowKey == key) return i;
            continue;
        }
        const std::string_view prefix = rowKey.substr(0, rowKey.size() - 2);
        if (!key.starts_with(prefix)) continue;
        const std::string_view number = key.substr(prefix.size());
        if (number.empty() || (number[0] == '0' && number.size() > 1)) continue;
        bool digits = true;
        for (char c : number) digits = digits && c >= '0' && c <= '9';
        if (digits) return i;
    }
    return kSettingsCount;
}

// The row of a key, or nullptr when the table has none.
constexpr const SettingRow* FindSetting(std::string_view key) {
    const std::size_t i = SettingIndex(key);
    return i == kSettingsCount ? nullptr : &kSettingsTable[i];
}

// Compile-time defaults for the holders of process-wide copies: a key that is not in the table,
// or of the other kind, does not compile.
consteval int DefaultInt(std::string_view key) {
    const std::size_t i = SettingIndex(key);
    if (i == kSettingsCount || kSettingsTable[i].kind != SettingKind::kInt)
        throw std::logic_error("not an integer setting");
    return kSettingsTable[i].intDefault;
}
consteval bool DefaultFlag(std::string_view key) { return DefaultInt(key) != 0; }
consteval std::string_view DefaultString(std::string_view key) {
    const std::size_t i = SettingIndex(key);
    if (i == kSettingsCount || kSettingsTable[i].kind != SettingKind::kString)
        throw std::logic_error("not a string setting");
    return kSettingsTable[i].stringDefault;
}

// The key formed from a pattern ("EHotKeyCombine%d") and a command number.
std::string CommandSettingKey(std::string_view pattern, int command);
inline std::string HotKeyCombineKey(int command) { return CommandSettingKey(kHotKeyCombinePattern, command); }
inline std::string HotKeyCharKey(int command) { return CommandSettingKey(kHotKeyCharPattern, command); }

// Reads a key of the table with its table default; a list comes back in lower case. A key that is
// not in the table, or of the other kind, throws std::invalid_argument (a programming error).
int ReadSettingInt(const SettingsStore& store, std::string_view key);
std::string ReadSettingString(const SettingsStore& store, std::string_view key);

// Writes a string key of the table; a list is written in lower case. Throws like the readers.
void WriteSettingString(SettingsStore& store, std::string_view key, std::string_view value);

// The row of a key of the given kind; throws std::invalid_argument when there is none.
const SettingRow& SettingRowOf(std::string_view key, SettingKind kind);

}  // namespace pelko::settings
