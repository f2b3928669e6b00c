#include "platform/OpticalDevice.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>

#include <climits>

#include "platform/FileDescriptor.h"

namespace pelko::platform {

namespace {

FileDescriptor OpenDrive(const std::string& device) {
    return FileDescriptor(::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

}  // namespace

DriveStatus QueryDriveStatus(const std::string& device) {
    const FileDescriptor fd = OpenDrive(device);
    if (!fd.valid()) return DriveStatus::Unknown;
    switch (::ioctl(fd.get(), CDROM_DRIVE_STATUS, CDSL_CURRENT)) {
        case CDS_NO_DISC:
            return DriveStatus::NoDisc;
        case CDS_TRAY_OPEN:
            return DriveStatus::TrayOpen;
        case CDS_DRIVE_NOT_READY:
            return DriveStatus::NotReady;
        case CDS_DISC_OK:
            return DriveStatus::DiscOk;
        default:
            return DriveStatus::Unknown;
    }
}

std::uint64_t LastSessionStart(int fd) {
    cdrom_multisession session{};
    session.addr_format = CDROM_LBA;
    if (::ioctl(fd, CDROMMULTISESSION, &session) != 0 || !session.xa_flag || session.addr.lba < 0) return 0;
    return static_cast<std::uint64_t>(session.addr.lba);
}

bool EjectTray(const std::string& device) {
    const FileDescriptor fd = OpenDrive(device);
    if (!fd.valid()) return false;
    // A lock left behind by a program that ended without unlocking would refuse the eject.
    ::ioctl(fd.get(), CDROM_LOCKDOOR, 0);
    return ::ioctl(fd.get(), CDROMEJECT, 0) == 0;
}

bool CloseTray(const std::string& device) {
    const FileDescriptor fd = OpenDrive(device);
    if (!fd.valid()) return false;
    const int capabilities = ::ioctl(fd.get(), CDROM_GET_CAPABILITY, 0);
    if (capabilities < 0 || !(capabilities & CDC_CLOSE_TRAY)) return false;
    return ::ioctl(fd.get(), CDROMCLOSETRAY, 0) == 0;
}

bool LockTray(const std::string& device, bool locked) {
    const FileDescriptor fd = OpenDrive(device);
    return fd.valid() && ::ioctl(fd.get(), CDROM_LOCKDOOR, locked ? 1 : 0) == 0;
}

}  // namespace pelko::platform
