#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Scans a disc (kind 0) from its device, its mount point or an .iso image, or a partition
// (kind 1) from its mount point, and files it in the catalog by its volume label and serial: a
// new scan object under a category, or a re-scan into the entry that already holds that
// label and serial. Devices and images are read without mounting; the tray stays locked while
// the scan reads it. The compressed disc file's path is printed.
class ScanDiscCommand final : public Command {
public:
    explicit ScanDiscCommand(bool partition) : m_partition(partition) {}
    std::string_view Name() const override { return m_partition ? "scan-drive" : "scan-disc"; }
    std::string_view Synopsis() const override;
    std::string_view Description() const override;
    std::span<const std::string_view> OptionsTakingValue() const override;
    int Execute(CliContext& context, std::span<const std::string> args) override;

private:
    bool m_partition;
};

}  // namespace pelko::cli
