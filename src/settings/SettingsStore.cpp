#include "settings/SettingsStore.h"

#include <charconv>

namespace pelko::settings {

namespace {

// The whole text as a decimal integer, or the default.
int ParseInt(const std::string& text, int defaultValue) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : defaultValue;
}

}  // namespace

int MemorySettingsStore::ReadInt(std::string_view key, int defaultValue) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? defaultValue : ParseInt(it->second, defaultValue);
}

std::string MemorySettingsStore::ReadString(std::string_view key, std::string_view defaultValue) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::string(defaultValue) : it->second;
}

void MemorySettingsStore::WriteInt(std::string_view key, int value) {
    m_values.insert_or_assign(std::string(key), std::to_string(value));
}

void MemorySettingsStore::WriteString(std::string_view key, std::string_view value) {
    m_values.insert_or_assign(std::string(key), std::string(value));
}

int OverlaySettingsStore::ReadInt(std::string_view key, int defaultValue) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? m_base.ReadInt(key, defaultValue) : ParseInt(it->second, defaultValue);
}

std::string OverlaySettingsStore::ReadString(std::string_view key, std::string_view defaultValue) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? m_base.ReadString(key, defaultValue) : it->second;
}

void OverlaySettingsStore::WriteInt(std::string_view key, int value) {
    m_values.insert_or_assign(std::string(key), std::to_string(value));
}

void OverlaySettingsStore::WriteString(std::string_view key, std::string_view value) {
    m_values.insert_or_assign(std::string(key), std::string(value));
}

}  // namespace pelko::settings
