#include "export/ExportOptions.h"

#include "catalog/SettingsStore.h"
#include "catalog/SettingsTable.h"
#include "text/MbString.h"

namespace pelko::exporting {

ExportStyle ExportStyle::Load(const catalog::SettingsStore& store) {
    ExportStyle style;
    style.tree = catalog::ReadSettingInt(store, "g_bExportTree") != 0;
    style.memo = catalog::ReadSettingInt(store, "g_bExportMemo") != 0;
    style.dirSign = catalog::ReadSettingString(store, "g_szExDirSign");
    style.txtPre = catalog::ReadSettingString(store, "g_szExTxtPre");
    style.txtPost = catalog::ReadSettingString(store, "g_szExTxtPost");
    style.htmPre = catalog::ReadSettingString(store, "g_szExHtmPre");
    style.htmPost = catalog::ReadSettingString(store, "g_szExHtmPost");
    return style;
}

ExportStyle ExportStyle::Defaults() {
    ExportStyle style;
    style.tree = catalog::DefaultFlag("g_bExportTree");
    style.memo = catalog::DefaultFlag("g_bExportMemo");
    style.dirSign = catalog::DefaultString("g_szExDirSign");
    style.txtPre = catalog::DefaultString("g_szExTxtPre");
    style.txtPost = catalog::DefaultString("g_szExTxtPost");
    style.htmPre = catalog::DefaultString("g_szExHtmPre");
    style.htmPost = catalog::DefaultString("g_szExHtmPost");
    return style;
}

bool TypeListAdmits(std::string_view foldedList, std::string_view fileName) {
    const std::size_t dot = text::FindLastChar(fileName, '.');
    const std::string key = text::AsciiLower(dot == std::string_view::npos ? fileName : fileName.substr(dot));
    const std::size_t at = text::FindWhole(foldedList, key);
    return at != std::string_view::npos && at > 0;
}

}  // namespace pelko::exporting
