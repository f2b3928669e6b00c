#include "export/ExportOptions.h"

#include "text/MbString.h"

namespace pelko::exporting {

namespace {

constexpr settings::SettingBinding<ExportStyle> kBindings[] = {
    {"g_bExportTree", &ExportStyle::tree},    {"g_bExportMemo", &ExportStyle::memo},
    {"g_szExDirSign", &ExportStyle::dirSign}, {"g_szExTxtPre", &ExportStyle::txtPre},
    {"g_szExTxtPost", &ExportStyle::txtPost}, {"g_szExHtmPre", &ExportStyle::htmPre},
    {"g_szExHtmPost", &ExportStyle::htmPost},
};

}  // namespace

ExportStyle::ExportStyle() { settings::LoadDefaultSettings(*this, Bindings()); }

ExportStyle ExportStyle::Load(const settings::SettingsStore& store) {
    ExportStyle style;
    settings::LoadSettings(style, Bindings(), store);
    return style;
}

std::span<const settings::SettingBinding<ExportStyle>> ExportStyle::Bindings() { return kBindings; }

bool TypeListAdmits(std::string_view foldedList, std::string_view fileName) {
    const std::size_t dot = text::FindLastChar(fileName, '.');
    const std::string key = text::AsciiLower(dot == std::string_view::npos ? fileName : fileName.substr(dot));
    const std::size_t at = text::FindWhole(foldedList, key);
    return at != std::string_view::npos && at > 0;
}

}  // namespace pelko::exporting
