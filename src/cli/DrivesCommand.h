#pragma once

#include "cli/Command.h"

namespace pelko::cli {

// Lists the optical drives (device, tray and disc state, label and serial of the disc, mount
// point) and the mounted volumes a scan can read (type, label, serial, mount point).
class DrivesCommand final : public Command {
public:
    std::string_view Name() const override { return "drives"; }
    std::string_view Synopsis() const override { return "drives"; }
    std::string_view Description() const override {
        return "List the optical drives with their disc, and the mounted volumes with their type, label and "
               "serial.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;
};

// Opens (eject) or closes (close) the tray of an optical drive, the first one when none is named.
class TrayCommand final : public Command {
public:
    explicit TrayCommand(bool open) : m_open(open) {}
    std::string_view Name() const override { return m_open ? "eject" : "close"; }
    std::string_view Synopsis() const override { return m_open ? "eject [DEVICE]" : "close [DEVICE]"; }
    std::string_view Description() const override {
        return m_open
                   ? "Open the tray of DEVICE (default: the first optical drive), unmounting its disc first."
                   : "Close the tray of DEVICE (default: the first optical drive).";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;

private:
    bool m_open;
};

}  // namespace pelko::cli
