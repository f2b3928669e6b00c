// The drive window's rows from the machine's optical drives and mounts: which mounts are drives,
// which are listed once, how optical drives take their disc's mount, and what a row scans.
#include "shell/DriveChooser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

using platform::DriveType;
using platform::MountedVolume;
using platform::OpticalDrive;

MountedVolume Mount(std::string source, std::string mountPoint, std::string fsType, DriveType type,
                    std::string root = "/") {
    MountedVolume volume;
    volume.mount.source = std::move(source);
    volume.mount.mountPoint = std::move(mountPoint);
    volume.mount.fsType = std::move(fsType);
    volume.mount.root = std::move(root);
    volume.type = type;
    return volume;
}

OpticalDrive Drive(int number, std::string model) {
    OpticalDrive drive;
    drive.number = number;
    drive.device = "/dev/sr" + std::to_string(number);
    drive.model = std::move(model);
    return drive;
}

struct Expected {
    std::string name;  // UTF-8
    std::string root;
    DriveType type;
};

void ExpectRows(const std::vector<DriveRow>& rows, const std::vector<Expected>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(text::ToUtf8(rows[i].name), expected[i].name);
        EXPECT_EQ(rows[i].root, expected[i].root);
        EXPECT_EQ(rows[i].type, expected[i].type);
    }
}

// A desktop: root and home on one disk, a snap, a USB stick, a share, the usual pseudo mounts.
const std::vector<MountedVolume> kDesktop = {
    Mount("/dev/nvme0n1p2", "/", "ext4", DriveType::Fixed),
    Mount("proc", "/proc", "proc", DriveType::Other),
    Mount("sysfs", "/sys", "sysfs", DriveType::Other),
    Mount("tmpfs", "/run", "tmpfs", DriveType::Other),
    Mount("cgroup2", "/sys/fs/cgroup", "cgroup2", DriveType::Other),
    Mount("/dev/loop3", "/snap/core22/1122", "squashfs", DriveType::Fixed),
    Mount("overlay", "/var/lib/docker/overlay2/x/merged", "overlay", DriveType::Other),
    Mount("/dev/nvme0n1p1", "/boot/efi", "vfat", DriveType::Fixed),
    Mount("/dev/nvme0n1p2", "/home", "ext4", DriveType::Fixed, "/home"),
    Mount("/dev/sdb1", "/media/li/U盘 8G", "vfat", DriveType::Removable),
    Mount("//nas/照片", "/mnt/nas", "cifs", DriveType::Network),
    Mount("//nas/照片", "/mnt/nas-again", "cifs", DriveType::Network),
    Mount("portal", "/run/user/1000/doc", "fuse.portal", DriveType::Other),
};

TEST(DriveChooserTest, ListsDrivesOnceAndLeavesOutPseudoFileSystems) {
    ExpectRows(ListScanDrives({}, kDesktop), {
                                                 {"/ (/dev/nvme0n1p2)", "/", DriveType::Fixed},
                                                 {"/boot/efi (/dev/nvme0n1p1)", "/boot/efi", DriveType::Fixed},
                                                 {"/media/li/U盘 8G (/dev/sdb1)", "/media/li/U盘 8G", DriveType::Removable},
                                                 {"/mnt/nas (//nas/照片)", "/mnt/nas", DriveType::Network},
                                             });
}

TEST(DriveChooserTest, OpticalDrivesComeFirstWithTheirDiscsMountAndAreReadFromTheDevice) {
    std::vector<MountedVolume> volumes = kDesktop;
    volumes.push_back(Mount("/dev/sr1", "/media/li/PHOTOS_2020", "udf", DriveType::Optical));
    // A disc in a drive udev did not report still shows, once.
    volumes.push_back(Mount("/dev/sr7", "/media/li/OLD", "iso9660", DriveType::Optical));
    const std::vector<DriveRow> rows = ListScanDrives({Drive(0, "HL-DT-ST DVDRAM"), Drive(1, "")}, volumes);
    ASSERT_EQ(rows.size(), 7u);
    ExpectRows({rows.begin(), rows.begin() + 2},
               {
                   {"HL-DT-ST DVDRAM (/dev/sr0)", "/dev/sr0", DriveType::Optical},
                   {"/media/li/PHOTOS_2020 (/dev/sr1)", "/dev/sr1", DriveType::Optical},
               });
    ExpectRows({rows.back()}, {{"/media/li/OLD (/dev/sr7)", "/dev/sr7", DriveType::Optical}});
}

TEST(DriveChooserTest, AnOpticalDriveWithoutModelOrDiscIsNamedByItsDevice) {
    ExpectRows(ListScanDrives({Drive(2, "")}, {}), {{"/dev/sr2", "/dev/sr2", DriveType::Optical}});
}

TEST(DriveChooserTest, EveryRowIsAcceptedByTheScanChoiceWithItsKind) {
    std::vector<MountedVolume> volumes = kDesktop;
    volumes.push_back(Mount("/dev/sr0", "/media/li/DISC", "iso9660", DriveType::Optical));
    for (const DriveRow& row : ListScanDrives({Drive(0, "drive")}, volumes)) {
        SCOPED_TRACE(row.root);
        const DriveScanChoice choice = ChooseDriveScan(row.volume);
        EXPECT_TRUE(choice.accepted);
        EXPECT_EQ(choice.root, row.root);
        EXPECT_EQ(choice.kind, row.type == DriveType::Optical ? catalog::CCD::kKindDisk : catalog::CCD::kKindFixedDisk);
    }
}

TEST(DriveChooserTest, ABindMountWithoutTheDevicesRootStillListsTheDeviceOnce) {
    // btrfs subvolumes: no mount shows the file system's own root.
    const std::vector<MountedVolume> volumes = {
        Mount("/dev/sda2", "/", "btrfs", DriveType::Fixed, "/@"),
        Mount("/dev/sda2", "/home", "btrfs", DriveType::Fixed, "/@home"),
    };
    ExpectRows(ListScanDrives({}, volumes), {{"/ (/dev/sda2)", "/", DriveType::Fixed}});
}

}  // namespace
}  // namespace pelko::shell
