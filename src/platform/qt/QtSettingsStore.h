#pragma once
// The user's settings store as an INI file kept by QSettings: section [settings], one line per
// key, text in UTF-8. The library side sees model bytes (GB18030); conversion happens here.
// Every write is flushed to the file at once, so another process sees it; a file that cannot be
// written is reported once to the message log given. Works without a QCoreApplication. As in any INI file, a ";" starts a comment unless
// the value is quoted; values written here are quoted when they need it.

#include <filesystem>
#include <memory>

#include "catalog/SettingsStore.h"

class QSettings;

namespace pelko::catalog {
class MessageLog;
}

namespace pelko::platform {

class QtSettingsStore final : public catalog::SettingsStore {
public:
    // The user's file: Tinkmoss/Pelko.conf under $XDG_CONFIG_HOME (normally ~/.config).
    QtSettingsStore();
    // The INI file at `iniFile`, created on the first write.
    explicit QtSettingsStore(const std::filesystem::path& iniFile);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    // The INI file this store reads and writes.
    std::filesystem::path FilePath() const;

    // Where the first write that does not reach the file is reported (null: nowhere). The
    // values stay readable from memory for the rest of the run.
    void ReportWriteFailuresTo(catalog::MessageLog* log) { m_failureLog = log; }

    // A value that is absent or not a whole number in the int range gives the default.
    int ReadInt(std::string_view key, int defaultValue) const override;
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override;
    void WriteInt(std::string_view key, int value) override;
    void WriteString(std::string_view key, std::string_view value) override;

private:
    void Flush();

    std::unique_ptr<QSettings> m_settings;
    catalog::MessageLog* m_failureLog = nullptr;
    bool m_failureReported = false;
};

}  // namespace pelko::platform
