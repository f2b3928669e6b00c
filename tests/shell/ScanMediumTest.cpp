#include "shell/ScanMedium.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Volume.h"
#include "support/DiscImages.h"
#include "support/Requirements.h"
#include "support/TempDir.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using platform::DriveType;

TEST(ScanMediumTest, ImageIsReadWithoutMountingAndHasNoTray) {
    REQUIRE_TOOL("genisoimage");
    test::TempDir dir;
    dir.WriteFile("tree/a/x.txt", "x");
    const fs::path image = dir / "disc.iso";
    ASSERT_TRUE(test::MakeIsoImage(dir / "tree", image, {"-J", "-V", "PELKO_T"}));

    // Dot segments are dropped: the root name is the path the user meant.
    const OpenedMedium opened = OpenDriveMedium(dir / "tree/../disc.iso", false);
    ASSERT_TRUE(opened.medium) << opened.error;
    EXPECT_TRUE(opened.error.empty());
    EXPECT_NE(opened.medium->volume, nullptr);
    EXPECT_EQ(opened.medium->rootPath, image);
    EXPECT_TRUE(opened.medium->device.empty());
    ASSERT_TRUE(opened.medium->info);
    EXPECT_EQ(opened.medium->info->label, "PELKO_T");

    const OpenedMedium asPartition = OpenDriveMedium(image, true);
    EXPECT_FALSE(asPartition.medium);
    EXPECT_EQ(asPartition.error, "scan-drive takes the folder a partition is mounted on");
}

TEST(ScanMediumTest, WhatCannotBeScannedSaysWhy) {
    test::TempDir dir;
    const fs::path text = dir.WriteFile("notes.txt", "not a disc");
    const fs::path missing = dir / "gone";
    const struct {
        OpenedMedium opened;
        std::string error;
    } cases[] = {
        {OpenDriveMedium(missing / "", false), "no such device, folder or image: " + missing.native()},
        {OpenDriveMedium(text, false),
         text.native() + " holds no ISO 9660 or UDF file system (mount it and scan the mount point)"},
        {OpenDriveMedium("/dev/null", false), "not a device, folder or image: /dev/null"},
        {OpenFolderMedium(missing), "not a folder: " + missing.native()},
        {OpenFolderMedium(text), "not a folder: " + text.native()},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.opened.medium) << c.error;
        EXPECT_EQ(c.opened.error, c.error);
    }
}

TEST(ScanMediumTest, FolderIsReadThroughTheFileSystemWithoutVolumeInformation) {
    test::TempDir dir;
    dir.WriteFile("src/a/x.txt", "x");
    const OpenedMedium opened = OpenFolderMedium(dir.path().native() + "/src/./a/../");
    ASSERT_TRUE(opened.medium) << opened.error;
    EXPECT_EQ(opened.medium->rootPath, dir / "src");
    EXPECT_NE(opened.medium->volume, nullptr);
    EXPECT_TRUE(opened.medium->device.empty());
    EXPECT_FALSE(opened.medium->info);
}

TEST(ScanMediumTest, DriveMountedAtMatchesTheMountPointExactly) {
    const auto mounted = [](std::string point, DriveType type) {
        platform::MountedVolume volume;
        volume.mount.mountPoint = std::move(point);
        volume.type = type;
        return volume;
    };
    const std::vector<platform::MountedVolume> mounts = {
        mounted("/", DriveType::Fixed),
        mounted("/media/cd", DriveType::Optical),
        mounted("/media/usb", DriveType::Removable),
        mounted("/media/usb", DriveType::Fixed),  // mounted over the first: it hides it
    };
    const struct {
        const char* folder;
        std::optional<DriveType> type;
    } cases[] = {
        {"/media/cd", DriveType::Optical},  {"/media/cd/", DriveType::Optical},
        {"/media/x/../cd", DriveType::Optical}, {"/media/cd/sub", std::nullopt},
        {"/media", std::nullopt},           {"/media/cdrom", std::nullopt},
        {"/media/usb", DriveType::Fixed},   {"/", DriveType::Fixed},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveMountedAt(mounts, c.folder), c.type) << c.folder;
    EXPECT_EQ(DriveMountedAt({}, "/"), std::nullopt);
}

}  // namespace
}  // namespace pelko::shell
