#pragma once
// What an export writes: the kind of file, the layout options kept in the settings, and the
// choices of the export window (folders only, which file types, whether progress is shown).

#include <span>
#include <string>
#include <string_view>

#include "settings/SettingBinding.h"

namespace pelko::exporting {

enum class ExportFormat { Text, Html };

// The seven export options of the settings table (model bytes); Bindings() says which key fills
// which member. A default-made value holds the table's defaults.
struct ExportStyle {
    bool tree{};          // g_bExportTree: line-drawing tree, else one block per folder
    bool memo{};          // g_bExportMemo: append non-empty memos to their lines
    std::string dirSign;  // g_szExDirSign: mark in front of a folder name in the tree layout
    std::string txtPre;   // g_szExTxtPre / g_szExTxtPost: around a memo in text (and in index pages)
    std::string txtPost;
    std::string htmPre;  // g_szExHtmPre / g_szExHtmPost: around a memo in a page
    std::string htmPost;

    ExportStyle();

    // The values held in the store, table defaults for the missing ones.
    static ExportStyle Load(const settings::SettingsStore& store);
    // The table defaults.
    static ExportStyle Defaults() { return ExportStyle(); }

    static std::span<const settings::SettingBinding<ExportStyle>> Bindings();

    bool operator==(const ExportStyle&) const = default;
};

// Which files of a scan object are listed.
struct ExportFilter {
    static constexpr std::string_view kDefaultTypeList = "*.exe;*.zip;*.rar";

    bool foldersOnly = false;  // no file lines at all
    bool allTypes = true;      // every file; else, with listedTypes, only the listed types
    bool listedTypes = false;
    std::string typeList{kDefaultTypeList};  // "*.exe;*.zip", matched without regard to case

    // Whether the type list decides which files are written.
    bool FiltersTypes() const { return !foldersOnly && !allTypes && listedTypes; }
};

struct ExportOptions {
    ExportFormat format = ExportFormat::Text;
    ExportStyle style = ExportStyle::Defaults();
    ExportFilter filter;
    bool showProgress = true;  // path and progress reported while exporting
};

// A file is listed when its extension (from the last "." on, the whole name when it has none),
// folded to lower case, occurs in the lower-cased type list after its first character: so the
// list is written "*.exe;*.zip", and ".txt" alone matches nothing. `foldedList` must already be
// lower case (text::AsciiLower).
bool TypeListAdmits(std::string_view foldedList, std::string_view fileName);

}  // namespace pelko::exporting
