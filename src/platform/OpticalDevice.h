#pragma once
// The few ioctls of an optical drive: its status, the start of the last session, opening and
// closing the tray and locking it. Each opens the device with O_NONBLOCK (so an empty drive
// answers at once) and returns whether the kernel accepted the request.

#include <cstdint>
#include <string>

namespace pelko::platform {

enum class DriveStatus { Unknown, NoDisc, TrayOpen, NotReady, DiscOk };

DriveStatus QueryDriveStatus(const std::string& device);

// The first sector of the last session of the disc behind `fd`, 0 for a single session or any
// other kind of file.
std::uint64_t LastSessionStart(int fd);

// Opens the tray; returns once the drive reports the door moved.
bool EjectTray(const std::string& device);
// Closes the tray when the drive can (CDC_CLOSE_TRAY); false otherwise.
bool CloseTray(const std::string& device);
// Locks or unlocks the door against the eject button.
bool LockTray(const std::string& device, bool locked);

}  // namespace pelko::platform
