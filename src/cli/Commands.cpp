#include <ostream>

#include "cli/Command.h"
#include "cli/DumpCommand.h"
#include "cli/ScanFolderCommand.h"
#include "scan/ScanSettings.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace {

void PrintHelp(std::ostream& out) {
    out << "pelko-cli - the command line of Pelko, the disc catalog manager\n\n"
           "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... COMMAND [ARGS]\n\n"
           "options:\n"
           "  --catalog DIR     use the catalog in DIR (default: $PELKO_CATALOG, else\n"
           "                    ~/.local/share/Pelko)\n"
           "  --set KEY=VALUE   override a scan setting for this run, e.g. --set g_bCheckOnlyDir=1\n"
           "  -h, --help        show this help\n\n"
           "commands:\n";
    for (const auto& command : Commands()) {
        out << "  " << command->Synopsis() << "\n      " << command->Description() << '\n';
    }
}

// KEY=VALUE onto the settings of this run; only keys of the scan settings are accepted.
bool ApplySetting(CliContext& context, std::string_view assignment) {
    const std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        context.err << "pelko-cli: --set needs KEY=VALUE, got '" << assignment << "'\n";
        return false;
    }
    const std::string_view key = assignment.substr(0, eq);
    const std::string_view value = assignment.substr(eq + 1);
    if (!scan::IsScanSettingKey(key)) {
        context.err << "pelko-cli: unknown setting '" << key << "'\n";
        return false;
    }
    if (scan::IsStringSettingKey(key)) {
        context.settings.WriteString(key, text::FromUtf8(value));
        return true;
    }
    context.settings.WriteString(key, value);
    if (context.settings.ReadInt(key, INT32_MIN) == INT32_MIN) {
        context.err << "pelko-cli: setting '" << key << "' takes a whole number, got '" << value << "'\n";
        return false;
    }
    return true;
}

}  // namespace

const std::vector<std::unique_ptr<Command>>& Commands() {
    static const std::vector<std::unique_ptr<Command>> commands = [] {
        std::vector<std::unique_ptr<Command>> list;
        list.push_back(std::make_unique<ScanFolderCommand>());
        list.push_back(std::make_unique<DumpCommand>());
        return list;
    }();
    return commands;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    CliContext context{out, err, std::nullopt, {}};
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            PrintHelp(out);
            return kExitOk;
        }
        if (arg == "--catalog" || arg == "--set") {
            if (i + 1 == args.size()) {
                err << "pelko-cli: " << arg << " needs a value\n";
                return kExitUsage;
            }
            const std::string& value = args[++i];
            if (arg == "--catalog") {
                context.catalogFolder = value;
            } else if (!ApplySetting(context, value)) {
                return kExitUsage;
            }
            continue;
        }
        break;
    }
    if (i == args.size()) {
        PrintHelp(err);
        return kExitUsage;
    }
    for (const auto& command : Commands()) {
        if (command->Name() == args[i]) return command->Execute(context, args.subspan(i + 1));
    }
    err << "pelko-cli: unknown command '" << args[i] << "'; see pelko-cli --help\n";
    return kExitUsage;
}

}  // namespace pelko::cli
