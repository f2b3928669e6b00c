#pragma once
// pelko-cli's sub-commands: each is a name, a synopsis, a description and one Execute that
// returns the process exit status. The table is data, so help is built from it and tests run
// commands in-process with their own output streams.

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsStore.h"

namespace pelko::platform {
class QtSettingsStore;
}

namespace pelko::cli {

// kExitIncomplete: a scan stopped early (Ctrl+C, the medium taken out, memory ran out); what was
// read has been filed.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitIncomplete = 3 };

struct CliContext {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool interactive;                                    // a person types at standard input
    std::optional<std::filesystem::path> catalogFolder;  // --catalog
    // The settings of this run: the base store with the --set overrides on top, which are never
    // written to the base.
    settings::OverlaySettingsStore settings;
    bool passwordFromStdin = false;  // --password-stdin: the first input line is the password
    // The user's own store, for commands that keep what the user chose as the desktop program
    // does (find writes its keys); null when this run must not write settings.
    settings::SettingsStore* userSettings = nullptr;
    // The terminal `err` writes to, for a live progress line; -1 when `err` is not a terminal.
    int errTerminalFd = -1;
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string_view Name() const = 0;
    virtual std::string_view Synopsis() const = 0;
    virtual std::string_view Description() const = 0;
    // The command's own options that take the next word as their value (so the value is never
    // taken for a global option, whatever it looks like).
    virtual std::span<const std::string_view> OptionsTakingValue() const { return {}; }
    virtual int Execute(CliContext& context, std::span<const std::string> args) = 0;
};

const std::vector<std::unique_ptr<Command>>& Commands();

// Parses the global options and runs one command. `args` excludes the program name. Settings are
// read from `baseSettings`, which the run never writes.
int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
           const settings::SettingsStore& baseSettings, bool interactive);

// As above, and commands that keep the user's choices write them to `settings`.
int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
           settings::SettingsStore& settings, bool interactive);

// As above, reading nothing from standard input.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const settings::SettingsStore& baseSettings);

// As above on the process's standard input, with the settings of the INI file named by $PELKO_SETTINGS_FILE
// when it is set and not empty, else the user's settings file (the one the desktop program keeps).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The store RunCli uses when none is given.
std::unique_ptr<platform::QtSettingsStore> OpenSettingsStore();

}  // namespace pelko::cli
