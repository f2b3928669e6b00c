#pragma once
// The drive window's decision for a chosen volume: an optical drive is scanned as a disc (kind
// 0) from its device, a fixed, removable or network volume as a partition (kind 1) from its
// mount point, anything else is refused with "%s 不是光驱或硬盘，不能扫描".

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"

namespace pelko::shell {

struct DriveScanChoice {
    bool accepted = false;
    std::uint8_t kind = 0;
    std::string root;   // what the scan reads (file-system path)
    std::string error;  // model bytes, when refused
};

DriveScanChoice ChooseDriveScan(const platform::MountedVolume& volume);

// One row of the drive window.
struct DriveRow {
    std::string name;  // model bytes: the mount point (or drive model) with the device
    std::string root;  // what a scan of the row reads (file-system path), as ChooseDriveScan gives it
    platform::DriveType type = platform::DriveType::Other;
    platform::MountedVolume volume;  // handed to ChooseDriveScan when the row is chosen
};

// The drives a user may pick to scan: every optical drive (with the mount point of its disc when
// one is mounted), then each block device mounted from /dev/ once and each network share once,
// in mount order. Pseudo and image file systems (proc, tmpfs, overlay, the squashfs of snaps...)
// and any other mount are left out.
std::vector<DriveRow> ListScanDrives(const std::vector<platform::OpticalDrive>& opticalDrives,
                                     const std::vector<platform::MountedVolume>& volumes);

}  // namespace pelko::shell
