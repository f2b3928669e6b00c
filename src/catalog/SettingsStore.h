#pragma once
// The per-user settings store: one section of keys with integer and string values. The desktop
// program keeps it in an INI file; tests and one-off command-line runs use MemorySettingsStore.

#include <map>
#include <string>
#include <string_view>

namespace pelko::catalog {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int ReadInt(std::string_view key, int defaultValue) const = 0;
    virtual std::string ReadString(std::string_view key, std::string_view defaultValue) const = 0;
    virtual void WriteInt(std::string_view key, int value) = 0;
    virtual void WriteString(std::string_view key, std::string_view value) = 0;
};

// Keeps every value as text, as an INI file does: an integer read of a value that is not a
// number gives the default.
class MemorySettingsStore final : public SettingsStore {
public:
    int ReadInt(std::string_view key, int defaultValue) const override;
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override;
    void WriteInt(std::string_view key, int value) override;
    void WriteString(std::string_view key, std::string_view value) override;

private:
    std::map<std::string, std::string, std::less<>> m_values;
};

}  // namespace pelko::catalog
