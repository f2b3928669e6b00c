#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Print the category tree with its scan objects, their kinds and sizes.
class TreeCommand final : public Command {
public:
    std::string_view Name() const override { return "tree"; }
    std::string_view Synopsis() const override { return "tree"; }
    std::string_view Description() const override {
        return "Print the category tree with its scan objects, their kinds and sizes.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
