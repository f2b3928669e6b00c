#include <gtest/gtest.h>

#include "platform/MediaWatcher.h"
#include "support/Requirements.h"

namespace pelko::platform {
namespace {

// Properties as udevadm monitor --property recorded them for a drive.
const DeviceProperties kInserted{
    {"ID_CDROM", "1"}, {"DISK_MEDIA_CHANGE", "1"}, {"ID_CDROM_MEDIA", "1"}, {"ID_FS_TYPE", "iso9660"}};
const DeviceProperties kEmptied{{"ID_CDROM", "1"}, {"DISK_MEDIA_CHANGE", "1"}};
const DeviceProperties kEjectButton{{"ID_CDROM", "1"}, {"DISK_EJECT_REQUEST", "1"}, {"ID_CDROM_MEDIA", "1"}};
const DeviceProperties kOtherChange{{"ID_CDROM", "1"}, {"ID_CDROM_MEDIA", "1"}};
const DeviceProperties kUsbStick{{"DISK_MEDIA_CHANGE", "1"}, {"ID_FS_TYPE", "vfat"}};

TEST(MediaWatcherTest, ClassifiesRecordedNotices) {
    struct Case {
        const char* action;
        const char* name;
        const DeviceProperties* properties;
        std::optional<MediaChange> change;
    };
    const Case cases[] = {{"change", "sr1", &kInserted, MediaChange::Inserted},
                          {"change", "sr1", &kEmptied, MediaChange::Removed},
                          {"change", "sr1", &kEjectButton, MediaChange::Removed},
                          {"change", "sr1", &kOtherChange, std::nullopt},
                          {"add", "sr1", &kInserted, std::nullopt},
                          {"change", "sdb", &kUsbStick, std::nullopt},
                          {"change", "sdb", &kInserted, std::nullopt}};
    for (const Case& c : cases) {
        const std::optional<MediaEvent> event = ClassifyMediaEvent(c.action, c.name, "", *c.properties);
        ASSERT_EQ(event.has_value(), c.change.has_value()) << c.action << ' ' << c.name;
        if (!event) continue;
        EXPECT_EQ(event->change, *c.change);
        EXPECT_EQ(event->drive, 1);
        EXPECT_EQ(event->device, "/dev/sr1");
    }
}

TEST(MediaWatcherTest, InsertionWaitsForItsMountPointOrTheTimeOut) {
    using namespace std::chrono_literals;
    PendingInsertions pending(30s);
    const auto t0 = PendingInsertions::Clock::time_point{} + 1000s;
    pending.Note({MediaChange::Inserted, 0, "/dev/sr0"}, t0);
    pending.Note({MediaChange::Inserted, 1, "/dev/sr1"}, t0);
    pending.Note({MediaChange::Inserted, 2, "/dev/sr2"}, t0);
    pending.Note({MediaChange::Removed, 2, "/dev/sr2"}, t0 + 1s);  // taken out again at once

    std::vector<MountedVolume> mounts;
    EXPECT_TRUE(pending.Poll(mounts, t0 + 5s).empty());
    mounts.push_back({MountEntry{11, 1, "/", "/media/ann/DISC", "iso9660", "/dev/sr1"}, DriveType::Optical});
    auto ready = pending.Poll(mounts, t0 + 6s);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0].device, "/dev/sr1");
    EXPECT_EQ(ready[0].mountPoint, "/media/ann/DISC");

    ready = pending.Poll(mounts, t0 + 30s);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0].device, "/dev/sr0");
    EXPECT_FALSE(ready[0].mountPoint);  // read it unmounted
    EXPECT_TRUE(pending.Empty());
}

TEST(MediaWatcherTest, MonitorGivesAPollableDescriptor) {
    const std::unique_ptr<MediaWatcher> watcher = MediaWatcher::Start();
    REQUIRE_MACHINE(watcher != nullptr, "udev cannot be listened to here");
    EXPECT_GE(watcher->Descriptor(), 0);
    EXPECT_TRUE(watcher->ReadEvents().empty());  // nothing waits, and reading does not block
}

}  // namespace
}  // namespace pelko::platform
