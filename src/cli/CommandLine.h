#pragma once
// Splits pelko-cli's command line into the global options and the command with its own
// arguments. Global options may stand anywhere on the line, before or after the command; a
// command's own options (and the values they take) stay the command's; "--" ends the global
// options, and everything after it goes to the command as it is. Only -h/--help and --version
// must come before the command, since after it the word may be the command's to answer.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::cli {

struct CommandLine {
    bool help = false;     // -h or --help before the command
    bool version = false;  // --version before the command
    std::optional<std::string> catalogFolder;  // --catalog DIR (the last one given)
    std::vector<std::string> settings;         // --set KEY=VALUE, in the order given
    bool passwordFromStdin = false;            // --password-stdin
    std::optional<std::string> command;        // the first word that is not a global option
    std::vector<std::string> commandArgs;      // the rest, global options taken out
};

// The command's own options that take the next word as their value, so a value that looks like
// a global option ("--memo --catalog") is not taken for one; empty for an unknown command.
using ValueOptionsOf = std::function<std::span<const std::string_view>(std::string_view command)>;

struct CommandLineParse {
    std::optional<CommandLine> line;  // set when the line could be read
    std::string error;                // otherwise why not, for "pelko-cli: <error>"
};

CommandLineParse ParseCommandLine(std::span<const std::string> args, const ValueOptionsOf& valueOptionsOf);

}  // namespace pelko::cli
