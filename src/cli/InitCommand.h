#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Load the catalog, or create it on a first start, and print where it is.
class InitCommand final : public Command {
public:
    std::string_view Name() const override { return "init"; }
    std::string_view Synopsis() const override { return "init"; }
    std::string_view Description() const override {
        return "Load the catalog, or create it on a first start, and print where it is.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
