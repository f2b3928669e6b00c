#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <ostream>
#include <sstream>

#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/DrivesCommand.h"
#include "cli/DumpCommand.h"
#include "cli/EditCommands.h"
#include "cli/ExportCommand.h"
#include "cli/FindCommand.h"
#include "cli/IndexCommand.h"
#include "cli/HelpPageCommand.h"
#include "cli/HistoryCommand.h"
#include "cli/InfoCommand.h"
#include "cli/InitCommand.h"
#include "cli/PasswdCommand.h"
#include "cli/ScanDiscCommand.h"
#include "cli/ScanFolderCommand.h"
#include "cli/TerminalLog.h"
#include "cli/TerminalUi.h"
#include "cli/TreeCommand.h"
#include "cli/WatchCommand.h"
#include "platform/qt/QtSettingsStore.h"
#include "settings/SettingsTable.h"
#include "text/Codec.h"

#ifndef PELKO_VERSION
#define PELKO_VERSION "0"
#endif

namespace pelko::cli {

namespace {

void PrintHelp(std::ostream& out) {
    out << "pelko-cli - the command line of Pelko, the disc catalog manager\n\n"
           "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... [--password-stdin] COMMAND [ARGS]\n\n"
           "options (before or after the command; \"--\" ends them, what follows goes to the command):\n"
           "  --catalog DIR     use the catalog in DIR (default: $PELKO_CATALOG, else\n"
           "                    ~/.local/share/Pelko)\n"
           "  --set KEY=VALUE   override a setting for this run without storing it,\n"
           "                    e.g. --set g_bCheckOnlyDir=1\n"
           "  --password-stdin  read the catalog password from the first line of standard input\n"
           "  -h, --help        show this help\n"
           "  --version         print the version\n\n"
           "settings are read from $PELKO_SETTINGS_FILE, else ~/.config/Tinkmoss/Pelko.conf\n\n"
           "commands:\n";
    for (const auto& command : Commands()) {
        out << "  " << command->Synopsis() << "\n      " << command->Description() << '\n';
    }
}

// KEY=VALUE onto the settings of this run; any key of the settings table is accepted.
bool ApplySetting(CliContext& context, std::string_view assignment) {
    const std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        context.err << "pelko-cli: --set needs KEY=VALUE, got '" << assignment << "'\n";
        return false;
    }
    const std::string_view key = assignment.substr(0, eq);
    const std::string_view value = assignment.substr(eq + 1);
    const settings::SettingRow* row = settings::FindSetting(key);
    if (row == nullptr) {
        context.err << "pelko-cli: unknown setting '" << key << "'\n";
        return false;
    }
    if (row->kind == settings::SettingKind::kString) {
        settings::WriteSettingString(context.settings, key, text::FromUtf8(value));
        return true;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) {
        context.err << "pelko-cli: setting '" << key << "' takes a whole number, got '" << value << "'\n";
        return false;
    }
    context.settings.WriteInt(key, number);
    return true;
}

// Parses the global options and runs one command; `userSettings` is where commands that keep the
// user's choices write them (null: nowhere).
int RunCliWith(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
               const settings::SettingsStore& baseSettings, settings::SettingsStore* userSettings,
               bool interactive, int errTerminalFd = -1);

Command* CommandNamed(std::string_view name) {
    for (const auto& command : Commands()) {
        if (command->Name() == name) return command.get();
    }
    return nullptr;
}

}  // namespace

const std::vector<std::unique_ptr<Command>>& Commands() {
    static const std::vector<std::unique_ptr<Command>> commands = [] {
        std::vector<std::unique_ptr<Command>> list;
        list.push_back(std::make_unique<ScanFolderCommand>());
        list.push_back(std::make_unique<DumpCommand>());
        list.push_back(std::make_unique<InitCommand>());
        list.push_back(std::make_unique<TreeCommand>());
        list.push_back(std::make_unique<InfoCommand>());
        list.push_back(std::make_unique<HistoryCommand>());
        list.push_back(std::make_unique<PasswdCommand>());
        list.push_back(std::make_unique<MkcatCommand>());
        list.push_back(std::make_unique<RenameCommand>());
        list.push_back(std::make_unique<MemoCommand>());
        list.push_back(std::make_unique<RmCommand>());
        list.push_back(std::make_unique<MvCommand>());
        list.push_back(std::make_unique<SortCommand>());
        list.push_back(std::make_unique<MergeCommand>());
        list.push_back(std::make_unique<AddCommand>());
        list.push_back(std::make_unique<FindCommand>());
        list.push_back(std::make_unique<IndexCommand>());
        list.push_back(std::make_unique<ExportCommand>());
        list.push_back(std::make_unique<HelpPageCommand>(exporting::HelpPage::Help));
        list.push_back(std::make_unique<HelpPageCommand>(exporting::HelpPage::Faq));
        list.push_back(std::make_unique<ScanDiscCommand>(false));
        list.push_back(std::make_unique<ScanDiscCommand>(true));
        list.push_back(std::make_unique<DrivesCommand>());
        list.push_back(std::make_unique<TrayCommand>(true));
        list.push_back(std::make_unique<TrayCommand>(false));
        list.push_back(std::make_unique<WatchCommand>());
        return list;
    }();
    return commands;
}

std::unique_ptr<platform::QtSettingsStore> OpenSettingsStore() {
    const char* file = std::getenv("PELKO_SETTINGS_FILE");
    if (file != nullptr && *file != '\0') return std::make_unique<platform::QtSettingsStore>(file);
    return std::make_unique<platform::QtSettingsStore>();
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    TerminalLog settingsLog(err);
    const std::unique_ptr<platform::QtSettingsStore> settings = OpenSettingsStore();
    settings->ReportWriteFailuresTo([&settingsLog](const std::string& message) {
        settingsLog.Post(catalog::MessageKind::Error, message);
    });
    // Only the process's own standard error can be the terminal; a stream of a test is not.
    const int errTerminalFd = &err == &std::cerr && ::isatty(STDERR_FILENO) ? STDERR_FILENO : -1;
    return RunCliWith(args, std::cin, out, err, *settings, settings.get(), StdinIsTerminal(), errTerminalFd);
}

int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
           settings::SettingsStore& settings, bool interactive) {
    return RunCliWith(args, in, out, err, settings, &settings, interactive);
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const settings::SettingsStore& baseSettings) {
    std::istringstream nothing;
    return RunCli(args, nothing, out, err, baseSettings, false);
}

int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
           const settings::SettingsStore& baseSettings, bool interactive) {
    return RunCliWith(args, in, out, err, baseSettings, nullptr, interactive);
}

namespace {

int RunCliWith(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err,
               const settings::SettingsStore& baseSettings, settings::SettingsStore* userSettings,
               bool interactive, int errTerminalFd) {
    CliContext context{in, out, err, interactive, std::nullopt, settings::OverlaySettingsStore(baseSettings)};
    context.userSettings = userSettings;
    context.errTerminalFd = errTerminalFd;
    const CommandLineParse parsed = ParseCommandLine(args, [](std::string_view name) {
        const Command* command = CommandNamed(name);
        return command ? command->OptionsTakingValue() : std::span<const std::string_view>();
    });
    if (!parsed.line) {
        err << "pelko-cli: " << parsed.error << '\n';
        return kExitUsage;
    }
    const CommandLine& line = *parsed.line;
    if (line.help) {
        PrintHelp(out);
        return kExitOk;
    }
    if (line.version) {
        out << "pelko-cli " << PELKO_VERSION << '\n';
        return kExitOk;
    }
    for (const std::string& assignment : line.settings) {
        if (!ApplySetting(context, assignment)) return kExitUsage;
    }
    if (line.catalogFolder) context.catalogFolder = *line.catalogFolder;
    context.passwordFromStdin = line.passwordFromStdin;
    if (!line.command) {
        PrintHelp(err);
        return kExitUsage;
    }
    Command* command = CommandNamed(*line.command);
    if (!command) {
        err << "pelko-cli: unknown command '" << *line.command << "'; see pelko-cli --help\n";
        return kExitUsage;
    }
    return command->Execute(context, line.commandArgs);
}

}  // namespace

}  // namespace pelko::cli
