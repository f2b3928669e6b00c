#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Searches the catalog as the desktop program's find command does, with the dialog's choices
// given as options: prints the opening lines, one line per hit and the count line; adds the text
// to the search history and keeps the find settings. Exit status 0 with hits, 1 without.
class FindCommand final : public Command {
public:
    std::string_view Name() const override { return "find"; }
    std::string_view Synopsis() const override {
        return "find TEXT [--what name,memo,dirname,dirmemo,catname,catmemo,discname,discmemo,label] "
               "[--whole] "
               "[--case] [--readme] [--only-this] [--full] [--in CATPATH]";
    }
    std::string_view Description() const override;
    std::span<const std::string_view> OptionsTakingValue() const override {
        static constexpr std::string_view kOptions[] = {"--what", "--in"};
        return kOptions;
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
