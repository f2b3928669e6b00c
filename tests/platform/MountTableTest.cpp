#include <gtest/gtest.h>

#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"

namespace pelko::platform {
namespace {

// Recorded from a desktop with a disc in the drive, a USB stick, an NFS share and a label with
// a space, a tab and a backslash in the mount point.
constexpr std::string_view kMountInfo =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "23 22 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 22 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8048944k\n"
    "530 22 11:0 / /media/ann/My\\040Disc rw,nosuid,nodev,relatime shared:300 - iso9660 /dev/sr0 "
    "ro,nojoliet,check=s,map=n,blocksize=2048\n"
    "531 22 8:17 / /media/ann/STICK\\011A\\134B rw,nosuid,nodev shared:301 master:2 - vfat /dev/sdb1 rw\n"
    "532 22 0:52 / /mnt/share rw,relatime shared:302 - nfs4 server:/export rw,vers=4.2\n"
    "garbage line\n"
    "533 22 8:2 /home /srv/bind rw - ext4 /dev/sda2 rw\n"
    "534 22 xx:1 / /bad rw - ext4 /dev/sda3 rw\n"
    "535 22 8:3 / /no-separator rw ext4 /dev/sda3 rw\n";

std::optional<BlockDeviceFacts> RecordedFacts(unsigned major, unsigned minor) {
    if (major == 8 && minor == 17) return BlockDeviceFacts{false, true};
    if (major == 8 || major == 259) return BlockDeviceFacts{false, false};
    return std::nullopt;
}

TEST(MountTableTest, ParsesMountInfoWithEscapesAndOptionalFields) {
    const std::vector<MountEntry> entries = ParseMountInfo(kMountInfo);
    ASSERT_EQ(entries.size(), 7u);  // the garbage line, a bad device number and a missing "-" are skipped
    EXPECT_EQ(entries[0].mountPoint, "/");
    EXPECT_EQ(entries[0].source, "/dev/nvme0n1p2");
    EXPECT_EQ(entries[3].mountPoint, "/media/ann/My Disc");
    EXPECT_EQ(entries[3].fsType, "iso9660");
    EXPECT_EQ(entries[3].major, 11u);
    EXPECT_EQ(entries[4].mountPoint, "/media/ann/STICK\tA\\B");
    EXPECT_EQ(entries[4].fsType, "vfat");  // two optional fields before "-"
    EXPECT_EQ(entries[5].source, "server:/export");
    EXPECT_EQ(entries[6].root, "/home");
}

TEST(MountTableTest, DecodesOnlyValidOctalEscapes) {
    EXPECT_EQ(DecodeMountField("a\\040b\\012c"), "a b\nc");
    EXPECT_EQ(DecodeMountField("\\xyz\\04"), "\\xyz\\04");           // not an escape, or cut short
    EXPECT_EQ(DecodeMountField("\\346\\226\\207"), "\xE6\x96\x87");  // UTF-8 bytes of 文
    EXPECT_EQ(DecodeMountField("\\777"), "\\777");                   // beyond a byte
}

TEST(MountTableTest, ClassifiesEachMountByItsDevice) {
    const std::vector<MountEntry> entries = ParseMountInfo(kMountInfo);
    const DriveType expected[] = {DriveType::Fixed,   DriveType::Other,     DriveType::Other,
                                  DriveType::Optical, DriveType::Removable, DriveType::Network,
                                  DriveType::Fixed};
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(ClassifyMount(entries[i], RecordedFacts), expected[i]) << entries[i].mountPoint;
    // A CD drive on another bus (not major 11) is known by what sysfs says.
    MountEntry usbCd{180, 0, "/", "/media/cd", "udf", "/dev/sr5"};
    EXPECT_EQ(ClassifyMount(usbCd,
                            [](unsigned, unsigned) {
                                return BlockDeviceFacts{true, true};
                            }),
              DriveType::Optical);
}

TEST(MountTableTest, FindsMountPointsOfDevicesAndPaths) {
    std::vector<MountedVolume> volumes;
    for (MountEntry& entry : ParseMountInfo(kMountInfo)) {
        const DriveType type = ClassifyMount(entry, RecordedFacts);
        volumes.push_back({std::move(entry), type});
    }
    EXPECT_EQ(MountPointOf(volumes, "/dev/sr0"), "/media/ann/My Disc");
    EXPECT_EQ(MountPointOf(volumes, "/dev/sda2"), std::nullopt);  // only a bind of a sub-folder
    EXPECT_EQ(MountHolding(volumes, "/media/ann/My Disc/sub")->mount.source, "/dev/sr0");
    EXPECT_EQ(MountHolding(volumes, "/media/ann/My Discs")->mount.source, "/dev/nvme0n1p2");
    EXPECT_EQ(MountHolding(volumes, "/proc")->mount.fsType, "proc");
}

TEST(OpticalDrivesTest, TakesOnlyCdromDevicesNumberedBySrN) {
    const DeviceProperties drive{{"ID_CDROM", "1"},
                                 {"ID_CDROM_MEDIA", "1"},
                                 {"ID_VENDOR", "HL-DT-ST"},
                                 {"ID_MODEL", "DVDRAM_GH24NSD1"}};
    const std::optional<OpticalDrive> found = OpticalDriveFromProperties("sr2", "/dev/sr2", drive);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->number, 2);
    EXPECT_EQ(found->device, "/dev/sr2");
    EXPECT_TRUE(found->hasMedium);
    EXPECT_EQ(found->model, "HL-DT-ST DVDRAM GH24NSD1");

    EXPECT_FALSE(OpticalDriveFromProperties("sda", "/dev/sda", {{"ID_CDROM", "0"}}));
    EXPECT_FALSE(OpticalDriveFromProperties("sr", "/dev/sr", {{"ID_CDROM", "1"}}));
    EXPECT_FALSE(OpticalDriveFromProperties("sr1x", "", {{"ID_CDROM", "1"}}));
    EXPECT_EQ(OpticalDriveFromProperties("sr10", "", {{"ID_CDROM", "1"}})->device, "/dev/sr10");
}

TEST(OpticalDrivesTest, ListingTheMachineNeverFails) {
    // This machine may have no optical drive; the list is then empty, never an error.
    for (const OpticalDrive& drive : ListOpticalDrives())
        EXPECT_EQ(drive.device, OpticalDeviceName(drive.number));
    EXPECT_FALSE(ReadMountedVolumes().empty());
}

}  // namespace
}  // namespace pelko::platform
