#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Print the recent search texts, newest first.
class HistoryCommand final : public Command {
public:
    std::string_view Name() const override { return "history"; }
    std::string_view Synopsis() const override { return "history"; }
    std::string_view Description() const override { return "Print the recent search texts, newest first."; }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
