#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Exports the catalog, a category or one scan object as text files or pages into the export
// folder tree of the catalog folder, after creating the category folders and rewriting the two
// index pages; prints every file written.
class ExportCommand final : public Command {
public:
    std::string_view Name() const override { return "export"; }
    std::string_view Synopsis() const override {
        return "export --text|--html [CATPATH] [--flat] [--memo] [--types \"*.exe;*.zip\"] [--dirs-only] "
               "[--no-progress]";
    }
    std::string_view Description() const override;
    std::span<const std::string_view> OptionsTakingValue() const override {
        static constexpr std::string_view kOptions[] = {"--types"};
        return kOptions;
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
