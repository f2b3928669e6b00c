#include "settings/SettingsTable.h"

#include "settings/SettingsStore.h"
#include "text/MbString.h"

namespace pelko::settings {

std::string CommandSettingKey(std::string_view pattern, int command) {
    std::string key(pattern.substr(0, pattern.size() - (pattern.ends_with("%d") ? 2 : 0)));
    key += std::to_string(command);
    return key;
}

const SettingRow& SettingRowOf(std::string_view key, SettingKind kind) {
    const SettingRow* row = FindSetting(key);
    if (row == nullptr) throw std::invalid_argument("not a key of the settings table: " + std::string(key));
    if (row->kind != kind) throw std::invalid_argument("setting of the other kind: " + std::string(key));
    return *row;
}

int ReadSettingInt(const SettingsStore& store, std::string_view key) {
    return store.ReadInt(key, SettingRowOf(key, SettingKind::kInt).intDefault);
}

std::string ReadSettingString(const SettingsStore& store, std::string_view key) {
    const SettingRow& row = SettingRowOf(key, SettingKind::kString);
    std::string value = store.ReadString(key, row.stringDefault);
    return row.lowerCaseList ? text::AsciiLower(value) : value;
}

void WriteSettingString(SettingsStore& store, std::string_view key, std::string_view value) {
    const SettingRow& row = SettingRowOf(key, SettingKind::kString);
    if (row.lowerCaseList)
        store.WriteString(key, text::AsciiLower(value));
    else
        store.WriteString(key, value);
}

}  // namespace pelko::settings
