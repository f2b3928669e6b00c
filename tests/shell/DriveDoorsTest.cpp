#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "scan/DirectoryWalker.h"
#include "shell/DriveDoors.h"
#include "shell/ScanGuards.h"
#include "shell/ScanRelayProgress.h"
#include "support/FakeDrivePort.h"
#include "support/FakeVolume.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

using platform::OpticalDrive;

// Drives and trays that record what was asked of them, in order.
using test::FakeDrivePort;

OpticalDrive Drive(int n) { return OpticalDrive{n, "/dev/sr" + std::to_string(n), "", true}; }

TEST(DriveDoorsTest, CommandNumbersCoverTwentySixDrivesEach) {
    struct Case {
        int number;
        std::optional<bool> open;
        int drive;
    };
    const Case cases[] = {{49999, {}, 0},    {50000, true, 0},   {50025, true, 25},
                          {50026, false, 0}, {50051, false, 25}, {50052, {}, 0}};
    for (const Case& c : cases) {
        const std::optional<DoorCommand> command = DecodeDoorCommand(c.number);
        ASSERT_EQ(command.has_value(), c.open.has_value()) << c.number;
        if (!command) continue;
        EXPECT_EQ(command->open, *c.open) << c.number;
        EXPECT_EQ(command->drive, c.drive) << c.number;
        EXPECT_EQ(DoorCommandNumber(command->open, command->drive), c.number);
    }
    EXPECT_FALSE(DoorCommandNumber(true, 26));
    EXPECT_FALSE(DoorCommandNumber(false, -1));
}

TEST(DriveDoorsTest, MenuListsOpenEntriesThenCloseEntriesForTwoOrMoreDrives) {
    const std::vector<DriveMenuEntry> entries = DriveMenuEntries({Drive(4), Drive(6), Drive(30)});
    ASSERT_EQ(entries.size(), 4u);  // /dev/sr30 has no command number
    EXPECT_EQ(entries[0].command, 50004);
    EXPECT_EQ(entries[0].text, text::Local("弹出光驱 (/dev/sr4)"));
    EXPECT_EQ(entries[1].command, 50006);
    EXPECT_EQ(entries[2].command, 50030);
    EXPECT_EQ(entries[2].text, text::Local("关闭光驱 (/dev/sr4)"));
    EXPECT_EQ(entries[3].command, 50032);
    EXPECT_TRUE(DriveMenuEntries({Drive(0)}).empty());
    EXPECT_TRUE(DriveMenuEntries({}).empty());
}

TEST(DriveDoorsTest, OpeningUnmountsAMountedDiscFirst) {
    FakeDrivePort port;
    port.drives = {Drive(0), Drive(2)};
    port.mounted = {"/dev/sr2"};
    DriveDoors doors(port);
    doors.RunCommand(50002);
    doors.RunCommand(50026);
    doors.RunCommand(50001);  // no /dev/sr1: nothing
    doors.RunCommand(12345);  // no door command: nothing
    EXPECT_EQ(port.calls, (std::vector<std::string>{"unmount /dev/sr2", "open /dev/sr2", "close /dev/sr0"}));

    port.calls.clear();
    port.mounted = {"/dev/sr0"};
    port.unmountWorks = false;  // still mounted: the door stays shut rather than fail half-way
    doors.OpenDrive("");
    doors.OpenDrive("/dev/sr2");
    EXPECT_EQ(port.calls, (std::vector<std::string>{"unmount /dev/sr0", "open /dev/sr2"}));
}

TEST(DriveDoorsTest, DefaultDriveIsTheFirstAndMayBeMissing) {
    FakeDrivePort port;
    DriveDoors doors(port);
    doors.MoveDefaultDrive(true);
    EXPECT_TRUE(port.calls.empty());
    port.drives = {Drive(1), Drive(3)};
    doors.MoveDefaultDrive(false);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"close /dev/sr1"}));
}

TEST(ScanGuardsTest, TrayIsUnlockedOnEveryWayOut) {
    FakeDrivePort port;
    {
        TrayLock lock(port, "/dev/sr0");
        EXPECT_TRUE(lock.Locked());
    }
    try {
        TrayLock lock(port, "/dev/sr1");
        throw std::runtime_error("walk failed");
    } catch (const std::runtime_error&) {
    }
    port.lockWorks = false;
    { TrayLock lock(port, "/dev/sr2"); }  // never locked: nothing to undo
    { TrayLock lock(port, ""); }          // an image: no tray
    EXPECT_EQ(port.calls, (std::vector<std::string>{"lock /dev/sr0", "unlock /dev/sr0", "lock /dev/sr1",
                                                    "unlock /dev/sr1", "lock /dev/sr2"}));
}

class CancelAfter final : public scan::CScanProgress {
public:
    bool cancelled = false;
    std::vector<std::string> paths;
    bool IsCancelled() override { return cancelled; }
    void ShowFolderPath(std::string_view path) override { paths.emplace_back(path); }
};

TEST(ScanRelayProgressTest, DiscLeavingTheDriveEndsTheWalkLikeCancel) {
    test::FakeVolume volume("/dev/sr0");
    for (int d = 0; d < 5; ++d) {
        const std::string folder = "d" + std::to_string(d);
        volume.AddFolder("", folder);
        for (int f = 0; f < 20; ++f) volume.AddFile(folder, "f" + std::to_string(f) + ".txt", 10);
    }
    FakeDrivePort port;
    port.mediumChecksLeft = 3;
    CancelAfter sink;
    const std::atomic<bool> runCancelled{false};
    ScanRelayProgress progress(
        sink, runCancelled, [&] { return port.HasMedium("/dev/sr0"); }, std::chrono::milliseconds(0));
    scan::ScanSettings settings;
    test::TempDir disk;
    scan::DirectoryWalker walker(volume, settings, disk.path());
    catalog::CCD cd;
    cd.m_strName = "/dev/sr0";
    EXPECT_EQ(walker.Scan(cd, &progress), scan::WalkResult::MediumGone);
    EXPECT_TRUE(progress.MediumGone());
    const int checks = port.mediumChecksLeft;
    EXPECT_TRUE(progress.IsCancelled());  // stays gone without asking again
    EXPECT_EQ(port.mediumChecksLeft, checks);
    EXPECT_FALSE(sink.paths.empty());  // the folders walked were passed on
    cd.RecomputeTotals();
    EXPECT_LT(cd.m_nFileCount, 100);  // what was read before is kept
}

// Each of the three ways to stop is enough alone, and none of them is taken for a medium gone.
TEST(ScanRelayProgressTest, StopsForTheSinkOrTheRunWithoutCallingTheMediumGone) {
    struct Case {
        const char* name;
        bool sinkCancels;
        bool runCancelled;
        bool mediumPresent;
        bool stops;
    };
    const Case cases[] = {{"nothing", false, false, true, false},
                          {"sink", true, false, true, true},
                          {"run", false, true, true, true},
                          {"medium gone", false, false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CancelAfter sink;
        sink.cancelled = c.sinkCancels;
        const std::atomic<bool> runCancelled{c.runCancelled};
        const bool present = c.mediumPresent;
        ScanRelayProgress progress(sink, runCancelled, [present] { return present; });
        EXPECT_EQ(progress.IsCancelled(), c.stops);
        EXPECT_EQ(progress.MediumGone(), !c.mediumPresent);
    }
    // A folder or an image has no medium to watch.
    CancelAfter sink;
    const std::atomic<bool> runCancelled{false};
    ScanRelayProgress folder(sink, runCancelled, {});
    EXPECT_FALSE(folder.IsCancelled());
    EXPECT_FALSE(folder.MediumGone());
}

}  // namespace
}  // namespace pelko::shell
