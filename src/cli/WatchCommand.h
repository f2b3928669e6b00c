#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Listens for discs inserted into and taken out of the optical drives and prints each event;
// with --scan, every inserted disc is scanned into the catalog as scan-disc does (from its mount
// point once the desktop mounted it, else from the device after the wait).
class WatchCommand final : public Command {
public:
    std::string_view Name() const override { return "watch"; }
    std::string_view Synopsis() const override {
        return "watch [--scan] [--category CATPATH] [--wait SECONDS] [--for SECONDS]";
    }
    std::string_view Description() const override {
        return "Print discs inserted into and taken out of the optical drives until Ctrl+C (or for SECONDS); "
               "with --scan, scan each inserted disc into the catalog (waiting up to --wait seconds, default "
               "30, for the desktop to mount it).";
    }
    std::span<const std::string_view> OptionsTakingValue() const override {
        static constexpr std::string_view kOptions[] = {"--category", "--wait", "--for"};
        return kOptions;
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

}  // namespace pelko::cli
