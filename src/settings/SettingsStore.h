#pragma once
// The per-user settings store: one section of keys with integer and string values. The desktop
// program keeps it in an INI file; tests use MemorySettingsStore, and a command-line run puts its
// one-off values in an OverlaySettingsStore over the user's store.

#include <map>
#include <string>
#include <string_view>

namespace pelko::settings {

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

// Values written through it shadow the base store for reads through it, and are never written to
// the base: an override for one run. Keys it does not hold are read from the base, which must
// outlive it.
class OverlaySettingsStore final : public SettingsStore {
public:
    explicit OverlaySettingsStore(const SettingsStore& base) : m_base(base) {}

    int ReadInt(std::string_view key, int defaultValue) const override;
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override;
    void WriteInt(std::string_view key, int value) override;
    void WriteString(std::string_view key, std::string_view value) override;

private:
    const SettingsStore& m_base;
    std::map<std::string, std::string, std::less<>> m_values;  // as text, like MemorySettingsStore
};

}  // namespace pelko::settings
