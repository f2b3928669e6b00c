#include "catalog/SettingsStore.h"

#include <charconv>

namespace pelko::catalog {

int MemorySettingsStore::ReadInt(std::string_view key, int defaultValue) const {
    const auto it = m_values.find(key);
    if (it == m_values.end()) return defaultValue;
    int value = 0;
    const std::string& text = it->second;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : defaultValue;
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

}  // namespace pelko::catalog
