#pragma once
// What the option dialogs' tests share: the user's settings as a real INI file in a temporary
// folder (read back through a second store, as the next start of the program would), the
// process-wide copies loaded from it, and a user interface that records every message.

#include <QSettings>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

#include "platform/qt/QtSettingsStore.h"
#include "shell/AppSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace pelko::test {

struct OptionsFixture {
    TempDir folder;
    std::filesystem::path iniFile = folder / "Pelko.conf";
    platform::QtSettingsStore store{iniFile};
    shell::AppSettings options;
    ScriptedUi ui;

    OptionsFixture() { options.Load(store); }

    // Stores a value before the dialog opens, as an earlier run would have.
    void Preset(std::string_view key, int value) { options.SetInt(store, key, value); }
    void Preset(std::string_view key, std::string_view value) { options.SetString(store, key, value); }

    // What the INI file holds for a key of the section, read afresh from the file; empty when
    // the key is absent.
    QString StoredText(std::string_view key) const {
        QSettings file(QString::fromStdString(iniFile.string()), QSettings::IniFormat);
        return file.value(QStringLiteral("settings/") + QString::fromLatin1(key.data(), qsizetype(key.size())))
            .toString();
    }
    bool Stored(std::string_view key) const { return !StoredText(key).isEmpty(); }
    // The integer the next run of the program would read.
    int StoredInt(std::string_view key) const {
        platform::QtSettingsStore next(iniFile);
        return next.ReadInt(key, -12345);
    }
    // The text the next run would read (model bytes).
    std::string StoredString(std::string_view key) const {
        platform::QtSettingsStore next(iniFile);
        return next.ReadString(key, "<absent>");
    }
    bool FileWritten() const { return std::filesystem::exists(iniFile); }
};

}  // namespace pelko::test
