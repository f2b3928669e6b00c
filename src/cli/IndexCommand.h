#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Shows whether the search index of each scan object is current, or rebuilds all of it.
class IndexCommand final : public Command {
public:
    std::string_view Name() const override { return "index"; }
    std::string_view Synopsis() const override { return "index [--rebuild]"; }
    std::string_view Description() const override {
        return "Count the scan objects whose search index is current; with --rebuild, rebuild every index "
               "from its disc file and remove the index files of discs no longer in the catalog.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
