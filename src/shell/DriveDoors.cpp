#include "shell/DriveDoors.h"

#include <algorithm>

#include "text/Codec.h"

namespace pelko::shell {

std::optional<DoorCommand> DecodeDoorCommand(int number) {
    if (number >= kOpenDoorCommand && number < kOpenDoorCommand + kDoorCommandDrives)
        return DoorCommand{true, number - kOpenDoorCommand};
    if (number >= kCloseDoorCommand && number < kCloseDoorCommand + kDoorCommandDrives)
        return DoorCommand{false, number - kCloseDoorCommand};
    return std::nullopt;
}

std::optional<int> DoorCommandNumber(bool open, int drive) {
    if (drive < 0 || drive >= kDoorCommandDrives) return std::nullopt;
    return (open ? kOpenDoorCommand : kCloseDoorCommand) + drive;
}

std::vector<DriveMenuEntry> DoorCommandEntries(const std::vector<platform::OpticalDrive>& drives) {
    std::vector<DriveMenuEntry> entries;
    for (const bool open : {true, false}) {
        for (const platform::OpticalDrive& drive : drives) {
            const std::optional<int> number = DoorCommandNumber(open, drive.number);
            if (!number) continue;
            entries.push_back({*number, text::LocalWith(open ? "弹出光驱 (%s)" : "关闭光驱 (%s)",
                                                        text::FromUtf8(drive.device))});
        }
    }
    return entries;
}

std::vector<DriveMenuEntry> DriveMenuEntries(const std::vector<platform::OpticalDrive>& drives) {
    if (drives.size() < 2) return {};
    return DoorCommandEntries(drives);
}

void DriveDoors::RunCommand(int number) {
    const std::optional<DoorCommand> command = DecodeDoorCommand(number);
    if (!command) return;
    const std::vector<platform::OpticalDrive> drives = m_port.Drives();
    const auto drive = std::find_if(drives.begin(), drives.end(), [&](const platform::OpticalDrive& d) {
        return d.number == command->drive;
    });
    if (drive != drives.end()) Move(drive->device, command->open);
}

void DriveDoors::OpenDrive(std::string_view device) {
    if (device.empty()) {
        MoveDefaultDrive(true);
        return;
    }
    Move(std::string(device), true);
}

void DriveDoors::MoveDefaultDrive(bool open) {
    const std::vector<platform::OpticalDrive> drives = m_port.Drives();
    if (!drives.empty()) Move(drives.front().device, open);
}

void DriveDoors::Move(const std::string& device, bool open) {
    if (!open) {
        m_port.CloseTray(device);
        return;
    }
    // A mounted disc keeps the door shut: unmount it first so the door really opens.
    if (m_port.IsMounted(device) && !m_port.Unmount(device)) return;
    m_port.OpenTray(device);
}

}  // namespace pelko::shell
