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

#include "catalog/SettingsStore.h"

namespace pelko::cli {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    std::optional<std::filesystem::path> catalogFolder;  // --catalog
    catalog::MemorySettingsStore settings;               // --set overrides for this run
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string_view Name() const = 0;
    virtual std::string_view Synopsis() const = 0;
    virtual std::string_view Description() const = 0;
    virtual int Execute(CliContext& context, std::span<const std::string> args) = 0;
};

const std::vector<std::unique_ptr<Command>>& Commands();

// Parses the global options and runs one command. `args` excludes the program name.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace pelko::cli
