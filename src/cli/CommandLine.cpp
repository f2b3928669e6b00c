#include "cli/CommandLine.h"

#include <algorithm>

namespace pelko::cli {

CommandLineParse ParseCommandLine(std::span<const std::string> args, const ValueOptionsOf& valueOptionsOf) {
    CommandLine line;
    std::span<const std::string_view> valueOptions;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            // The first "--" is ours; a later one is already part of what the command gets.
            std::size_t rest = i + 1;
            if (!line.command && rest < args.size()) line.command = args[rest++];
            line.commandArgs.insert(line.commandArgs.end(), args.begin() + static_cast<std::ptrdiff_t>(rest),
                                    args.end());
            break;
        }
        if (!line.command && (arg == "-h" || arg == "--help")) {
            line.help = true;
            return {std::move(line), {}};
        }
        if (!line.command && arg == "--version") {
            line.version = true;
            return {std::move(line), {}};
        }
        if (arg == "--password-stdin") {
            line.passwordFromStdin = true;
            continue;
        }
        if (arg == "--catalog" || arg == "--set") {
            if (i + 1 == args.size()) return {std::nullopt, arg + " needs a value"};
            std::string value = args[++i];
            if (arg == "--catalog") line.catalogFolder = std::move(value);
            else line.settings.push_back(std::move(value));
            continue;
        }
        if (!line.command) {
            line.command = arg;
            valueOptions = valueOptionsOf(arg);
            continue;
        }
        line.commandArgs.push_back(arg);
        // The command's own option with its value: the value is never read as a global option.
        if (std::find(valueOptions.begin(), valueOptions.end(), arg) != valueOptions.end() &&
            i + 1 < args.size())
            line.commandArgs.push_back(args[++i]);
    }
    return {std::move(line), {}};
}

}  // namespace pelko::cli
