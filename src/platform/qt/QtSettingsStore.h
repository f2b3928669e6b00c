#pragma once
// The user's settings store as an INI file kept by QSettings: section [settings], one line per
// key, text in UTF-8. The library side sees model bytes (GB18030); conversion happens here.
// Every write that changes a value is flushed to the file at once, so another process sees it
// (an unchanged value is not written again); a file that cannot be written is reported once, as
// a message in model bytes, to the function given. Works without a QCoreApplication. As in any
// INI file, a ";" starts a comment unless the value is quoted; values written here are quoted
// when they need it.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "settings/SettingsStore.h"

class QSettings;
class QString;

namespace pelko::platform {

class QtSettingsStore final : public settings::SettingsStore {
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

    // Where the first write that does not reach the file is reported (empty: nowhere). The
    // values stay readable from memory for the rest of the run.
    using FailureReport = std::function<void(const std::string& message)>;
    void ReportWriteFailuresTo(FailureReport report) { m_failureReport = std::move(report); }

    // A value that is absent or not a whole number in the int range gives the default.
    int ReadInt(std::string_view key, int defaultValue) const override;
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override;
    void WriteInt(std::string_view key, int value) override;
    void WriteString(std::string_view key, std::string_view value) override;

private:
    void Write(const QString& key, const QString& text);
    void Flush();

    std::unique_ptr<QSettings> m_settings;
    FailureReport m_failureReport;
    bool m_failureReported = false;
};

}  // namespace pelko::platform
