#pragma once
// What the door commands, the tray lock and the scan ask of the optical drives. The system
// implementation moves real trays; tests put a recording fake in its place.

#include <string>
#include <vector>

#include "platform/OpticalDrives.h"

namespace pelko::platform {

class DrivePort {
public:
    virtual ~DrivePort() = default;
    virtual std::vector<OpticalDrive> Drives() = 0;
    // Whether a file system of the device is mounted, and unmounting it.
    virtual bool IsMounted(const std::string& device) = 0;
    virtual bool Unmount(const std::string& device) = 0;
    virtual bool OpenTray(const std::string& device) = 0;
    virtual bool CloseTray(const std::string& device) = 0;
    virtual bool LockTray(const std::string& device, bool locked) = 0;
    // Whether a readable disc is in the drive now.
    virtual bool HasMedium(const std::string& device) = 0;
};

// udev for the drives, mountinfo and udisksctl for mounts, ioctls for the trays.
class SystemDrivePort final : public DrivePort {
public:
    std::vector<OpticalDrive> Drives() override;
    bool IsMounted(const std::string& device) override;
    bool Unmount(const std::string& device) override;
    bool OpenTray(const std::string& device) override;
    bool CloseTray(const std::string& device) override;
    bool LockTray(const std::string& device, bool locked) override;
    bool HasMedium(const std::string& device) override;
};

}  // namespace pelko::platform
