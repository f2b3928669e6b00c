#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Walks a folder and files it in the catalog: a new scan object under a category, or, for a
// folder the catalog already holds, a re-scan into its entry. The disc file is written,
// compressed, into the catalog's Disk folder; its path is printed.
class ScanFolderCommand final : public Command {
public:
    std::string_view Name() const override { return "scan-folder"; }
    std::string_view Synopsis() const override {
        return "scan-folder PATH [--category CATPATH] [--name NAME] [--memo TEXT]";
    }
    std::string_view Description() const override;
    std::span<const std::string_view> OptionsTakingValue() const override;
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
