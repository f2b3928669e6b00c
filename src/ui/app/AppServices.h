#pragma once
// What the desktop program holds for its whole run and lends to its windows: the catalog, the
// settings, the busy state and the ports to the machine. The start-up (PelkoApplication) owns
// every one of them; windows and tests only borrow them.

#include <filesystem>

#include "export/DocumentOpener.h"
#include "platform/DesktopServices.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class CPelkoDoc;
class UserInterface;
}  // namespace pelko::catalog
namespace pelko::platform {
class DrivePort;
class GlobalHotKeys;
}  // namespace pelko::platform
namespace pelko::shell {
class BusyState;
struct AppSettings;
}  // namespace pelko::shell

namespace pelko::ui {

// Opens written pages and folders with the desktop's default program.
class DesktopOpener final : public exporting::DocumentOpener {
public:
    bool Open(const std::filesystem::path& file) override {
        return platform::OpenWithDesktop(file.string()) == platform::DesktopResult::Ok;
    }
};

struct AppServices {
    catalog::CPelkoDoc& doc;
    settings::SettingsStore& settings;
    shell::AppSettings& options;
    shell::BusyState& busy;
    catalog::UserInterface& ui;
    platform::DrivePort& drives;
    platform::GlobalHotKeys& hotKeys;
    exporting::DocumentOpener& opener;
};

}  // namespace pelko::ui
