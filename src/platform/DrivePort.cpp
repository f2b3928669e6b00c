#include "platform/DrivePort.h"

#include "platform/MountTable.h"
#include "platform/OpticalDevice.h"
#include "platform/Subprocess.h"

namespace pelko::platform {

std::vector<OpticalDrive> SystemDrivePort::Drives() { return ListOpticalDrives(); }

bool SystemDrivePort::IsMounted(const std::string& device) {
    for (const MountedVolume& volume : ReadMountedVolumes())
        if (volume.mount.source == device) return true;
    return false;
}

bool SystemDrivePort::Unmount(const std::string& device) {
    // UDisks2 unmounts what the desktop mounted for the user, without a password prompt.
    const std::optional<ProgramResult> result =
        RunProgram({"udisksctl", "unmount", "--no-user-interaction", "-b", device});
    return result && result->exitStatus == 0 && !IsMounted(device);
}

bool SystemDrivePort::OpenTray(const std::string& device) { return EjectTray(device); }
bool SystemDrivePort::CloseTray(const std::string& device) { return platform::CloseTray(device); }
bool SystemDrivePort::LockTray(const std::string& device, bool locked) {
    return platform::LockTray(device, locked);
}
bool SystemDrivePort::HasMedium(const std::string& device) {
    return QueryDriveStatus(device) == DriveStatus::DiscOk;
}

}  // namespace pelko::platform
