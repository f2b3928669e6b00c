#pragma once
// A main window over a catalog in a temporary folder, in-memory settings, a scripted user
// interface and fake drives: what the window tests share.

#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "settings/SettingsStore.h"
#include "export/DocumentOpener.h"
#include "platform/DrivePort.h"
#include "platform/GlobalHotKeys.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/FakeDrivePort.h"
#include "support/TempDir.h"
#include "ui/mainwindow/MainWindow.h"

namespace pelko::test {

// Drives with no disc in them, numbered /dev/sr0 up.
inline void SetDriveCount(FakeDrivePort& port, int count) {
    port.drives.clear();
    port.mediumChecksLeft = 0;
    for (int n = 0; n < count; ++n) port.drives.push_back({n, "/dev/sr" + std::to_string(n), "", false});
}

class FakeHotKeys final : public platform::GlobalHotKeys {
public:
    std::vector<int> registered;
    bool Available() const override { return true; }
    bool Register(int id, int, int) override {
        registered.push_back(id);
        return true;
    }
    void Unregister(int id) override { std::erase(registered, id); }
};

class NoOpener final : public exporting::DocumentOpener {
public:
    bool Open(const std::filesystem::path&) override { return true; }
};

struct WindowFixture {
    TempDir folder;
    RecordingLog log;
    ScriptedUi ui;
    settings::MemorySettingsStore settings;
    shell::AppSettings options;
    shell::BusyState busy;
    FakeDrivePort drives;
    FakeHotKeys hotKeys;
    NoOpener opener;
    std::unique_ptr<catalog::CPelkoDoc> doc;
    std::unique_ptr<ui::MainWindow> window;

    explicit WindowFixture(int driveCount = 1) {
        SetDriveCount(drives, driveCount);
        doc = std::make_unique<catalog::CPelkoDoc>(folder.path(), log, ui);
        doc->LoadCatalog();
    }
    ui::MainWindow& Window() {
        if (!window) {
            options.Load(settings);
            window = std::make_unique<ui::MainWindow>(
                ui::AppServices{*doc, settings, options, busy, ui, drives, hotKeys, opener}, false);
        }
        return *window;
    }
};

}  // namespace pelko::test
