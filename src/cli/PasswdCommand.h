#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Set the catalog password (asked twice on a terminal, one line from standard input otherwise); an empty one
// clears it.
class PasswdCommand final : public Command {
public:
    std::string_view Name() const override { return "passwd"; }
    std::string_view Synopsis() const override { return "passwd"; }
    std::string_view Description() const override {
        return "Set the catalog password (asked twice on a terminal, one line from standard input "
               "otherwise); an empty one clears it.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
