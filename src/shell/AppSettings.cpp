#include "shell/AppSettings.h"

#include <type_traits>

#include "settings/SettingsStore.h"

namespace pelko::shell {

namespace {

using Binding = settings::SettingBinding<AppSettings>;

constexpr Binding kOwnBindings[] = {
    {"PopCloseDlg", &AppSettings::popCloseDlg},
    {"PopAskNewCDDlg", &AppSettings::popAskNewCDDlg},
    {"ScanUnAskNewCDDlg", &AppSettings::scanUnAskNewCDDlg},
    {"PopAddedInfoDlg", &AppSettings::popAddedInfoDlg},
    {"PopMem", &AppSettings::popMem},
    {"AutoOpenReadme", &AppSettings::autoOpenReadme},
    {"OpenNewCDNow", &AppSettings::openNewCDNow},
    {"DefaultBigIcon", &AppSettings::defaultBigIcon},
    {"OtherReport", &AppSettings::otherReport},
    {"BigIcon_X", &AppSettings::bigIconX},
    {"BigIcon_Y", &AppSettings::bigIconY},
    {"BigIconMemo", &AppSettings::bigIconMemo},
    {"g_bDelPicDir", &AppSettings::bDelPicDir},
    {"LastViewStyle", &AppSettings::lastViewStyle},
    {"g_bLeftSort", &AppSettings::bLeftSort},
    {"FW_bCase", &AppSettings::fwCase},
    {"FW_bCheckReadMe", &AppSettings::fwCheckReadMe},
    {"FW_bCurCategory", &AppSettings::fwCurCategory},
    {"FW_bPartMatch", &AppSettings::fwPartMatch},
    {"FW_nFindWhat", &AppSettings::fwFindWhat},
    {"FW_strFilter", &AppSettings::fwFilter},
    {"g_bListDiskOnly", &AppSettings::bListDiskOnly},
    {"g_bRunCheckDiskFirst", &AppSettings::bRunCheckDiskFirst},
};

// Calls visit(part, binding) for the part that holds `key` (this value itself or one of its
// parts); false when no part holds it.
template <class Self, class Visit>
bool VisitHolder(Self& self, std::string_view key, Visit&& visit) {
    bool held = false;
    const auto tryPart = [&](auto& part) {
        using Part = std::remove_const_t<std::remove_reference_t<decltype(part)>>;
        if (held) return;
        if (const auto* binding = settings::FindBinding(Part::Bindings(), key)) {
            visit(part, *binding);
            held = true;
        }
    };
    tryPart(self);
    tryPart(self.scan);
    tryPart(self.picture);
    tryPart(self.mp3);
    tryPart(self.exportStyle);
    return held;
}

}  // namespace

AppSettings::AppSettings() { settings::LoadDefaultSettings(*this, Bindings()); }

std::span<const Binding> AppSettings::Bindings() { return kOwnBindings; }

void AppSettings::Load(const settings::SettingsStore& store) {
    settings::LoadSettings(*this, Bindings(), store);
    settings::LoadSettings(scan, scan::ScanSettings::Bindings(), store);
    settings::LoadSettings(picture, scan::PictureSettings::Bindings(), store);
    settings::LoadSettings(mp3, scan::Mp3Options::Bindings(), store);
    settings::LoadSettings(exportStyle, exporting::ExportStyle::Bindings(), store);
}

void AppSettings::SetInt(settings::SettingsStore& store, std::string_view key, int value) {
    settings::SettingRowOf(key, settings::SettingKind::kInt);
    store.WriteInt(key, value);
    VisitHolder(*this, key, [value](auto& part, const auto& binding) { binding.Assign(part, value); });
}

void AppSettings::SetString(settings::SettingsStore& store, std::string_view key, std::string_view value) {
    settings::WriteSettingString(store, key, value);
    VisitHolder(*this, key, [value](auto& part, const auto& binding) { binding.Assign(part, value); });
}

int AppSettings::IntValue(const settings::SettingsStore& store, std::string_view key) const {
    int value = 0;
    if (VisitHolder(*this, key, [&value](const auto& part, const auto& binding) { value = binding.IntOf(part); }))
        return value;
    return settings::ReadSettingInt(store, key);
}

std::string AppSettings::TextValue(const settings::SettingsStore& store, std::string_view key) const {
    std::string value;
    if (VisitHolder(*this, key, [&value](const auto& part, const auto& binding) { value = binding.TextOf(part); }))
        return value;
    return settings::ReadSettingString(store, key);
}

bool AppSettings::Flip(settings::SettingsStore& store, std::string_view key) {
    const bool now = IntValue(store, key) == 0;
    SetInt(store, key, now ? 1 : 0);
    return now;
}

}  // namespace pelko::shell
