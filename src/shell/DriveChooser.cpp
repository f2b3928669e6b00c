#include "shell/DriveChooser.h"

#include "catalog/CCD.h"
#include "text/Codec.h"

namespace pelko::shell {

DriveScanChoice ChooseDriveScan(const platform::MountedVolume& volume) {
    DriveScanChoice choice;
    switch (volume.type) {
        case platform::DriveType::Optical:
            choice.accepted = true;
            choice.kind = catalog::CCD::kKindDisk;
            choice.root =
                volume.mount.source.starts_with("/dev/") ? volume.mount.source : volume.mount.mountPoint;
            break;
        case platform::DriveType::Fixed:
        case platform::DriveType::Removable:
        case platform::DriveType::Network:
            choice.accepted = true;
            choice.kind = catalog::CCD::kKindFixedDisk;
            choice.root = volume.mount.mountPoint;
            break;
        case platform::DriveType::Other:
            choice.error =
                text::LocalWith("%s 不是光驱或硬盘，不能扫描", text::FromUtf8(volume.mount.mountPoint));
            break;
    }
    return choice;
}

}  // namespace pelko::shell
