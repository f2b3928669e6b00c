#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Opens a disc file (plain or its ZIP) and prints it.
class DumpCommand final : public Command {
public:
    std::string_view Name() const override { return "dump"; }
    std::string_view Synopsis() const override { return "dump [--json | --summary] FILE"; }
    std::string_view Description() const override;
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
