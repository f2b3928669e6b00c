#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Print the description of a category or scan object (CATPATH like Pelko/软件/系统软件).
class InfoCommand final : public Command {
public:
    std::string_view Name() const override { return "info"; }
    std::string_view Synopsis() const override { return "info CATPATH"; }
    std::string_view Description() const override {
        return "Print the description of a category or scan object (CATPATH like Pelko/软件/系统软件).";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
