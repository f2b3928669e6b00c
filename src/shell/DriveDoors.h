#pragma once
// The doors of the optical drives: the command numbers shared by menus, tool-bar lists and hot
// keys (50000 + n opens and 50026 + n closes drive /dev/srN), the door moves by number, by
// device and on the default drive, and the per-drive menu entries. Every move waits until the
// door has moved and fails silently, as a drive without a door or a busy disc may.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DrivePort.h"

namespace pelko::shell {

inline constexpr int kOpenDoorCommand = 50000;
inline constexpr int kCloseDoorCommand = 50026;
inline constexpr int kDoorCommandDrives = 26;  // drive numbers 0 to 25 have command numbers

struct DoorCommand {
    bool open = true;
    int drive = 0;  // N of /dev/srN
};

// The meaning of a command number, nothing outside 50000 to 50051.
std::optional<DoorCommand> DecodeDoorCommand(int number);
// The number of a door command; nothing for a drive number beyond the range.
std::optional<int> DoorCommandNumber(bool open, int drive);

struct DriveMenuEntry {
    int command = 0;
    std::string text;  // model bytes: "弹出光驱 (/dev/sr0)"
};

// Every door command of the drives: one open entry per drive in number order, then one close
// entry each (the order of the "操作光驱" sub-menu and of the hot-key dialog's rows).
std::vector<DriveMenuEntry> DoorCommandEntries(const std::vector<platform::OpticalDrive>& drives);
// The "操作光驱" sub-menu: the door command entries, or none with fewer than two drives (the plain
// open and close entries serve a single drive).
std::vector<DriveMenuEntry> DriveMenuEntries(const std::vector<platform::OpticalDrive>& drives);

class DriveDoors {
public:
    explicit DriveDoors(platform::DrivePort& port) : m_port(port) {}

    // By command number: a number outside the range, or of a drive that is not there, does nothing.
    void RunCommand(int number);
    // Opens the door of a device; an empty device means the default drive.
    void OpenDrive(std::string_view device);
    // Opens or closes the default drive (the first optical drive), if there is one.
    void MoveDefaultDrive(bool open);

private:
    void Move(const std::string& device, bool open);
    platform::DrivePort& m_port;
};

}  // namespace pelko::shell
