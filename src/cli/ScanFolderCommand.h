#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Walks a folder as a folder scan object and writes its disc file, compressed, into the
// catalog's Disk folder.
class ScanFolderCommand final : public Command {
public:
    std::string_view Name() const override { return "scan-folder"; }
    std::string_view Synopsis() const override { return "scan-folder PATH"; }
    std::string_view Description() const override;
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
