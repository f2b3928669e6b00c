#include <gtest/gtest.h>

#include "settings/SettingsStore.h"
#include "platform/DesktopServices.h"
#include "shell/DesktopSwitches.h"
#include "shell/DriveChooser.h"
#include "support/StandInTools.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

TEST(DesktopSwitchesTest, StartAtLoginFollowsEmr) {
    test::TempDir config;
    settings::MemorySettingsStore settings;
    const auto file = config / "autostart/pelko.desktop";
    EXPECT_TRUE(ToggleStartAtLogin(settings, file, "/usr/bin/pelko"));
    EXPECT_EQ(settings.ReadInt("Emr", -1), 1);
    EXPECT_TRUE(platform::StartsAtLogin(file));
    EXPECT_FALSE(ToggleStartAtLogin(settings, file, "/usr/bin/pelko"));
    EXPECT_EQ(settings.ReadInt("Emr", -1), 0);
    EXPECT_TRUE(std::filesystem::exists(file));  // kept, switched off
    EXPECT_FALSE(platform::StartsAtLogin(file));

    // A file that cannot be written changes nothing.
    const auto blocked = config.WriteFile("plainfile", "x") / "autostart/pelko.desktop";
    EXPECT_FALSE(ToggleStartAtLogin(settings, blocked, "/usr/bin/pelko"));
    EXPECT_EQ(settings.ReadInt("Emr", -1), 0);
}

TEST(DesktopSwitchesTest, AutorunSwitchFlipsOrIsUnavailable) {
    test::StandInTools tools;
    tools.Add("gsettings", 0, "false");
    EXPECT_EQ(AutorunSwitchChecked(), false);
    EXPECT_EQ(ToggleAutorunSwitch(), true);
    const std::vector<std::string> calls = tools.Calls("gsettings");
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "true");  // the last run sets autorun-never

    test::StandInTools none;
    none.HideRealTools();
    EXPECT_EQ(AutorunSwitchChecked(), std::nullopt);
    EXPECT_EQ(ToggleAutorunSwitch(), std::nullopt);
}

TEST(DriveChooserTest, OpticalIsADiscOthersArePartitionsTheRestIsRefused) {
    using platform::DriveType;
    const auto volume = [](DriveType type, const char* source, const char* point) {
        return platform::MountedVolume{platform::MountEntry{8, 1, "/", point, "x", source}, type};
    };
    DriveScanChoice c = ChooseDriveScan(volume(DriveType::Optical, "/dev/sr0", "/media/a/DISC"));
    EXPECT_TRUE(c.accepted);
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.root, "/dev/sr0");
    c = ChooseDriveScan(volume(DriveType::Removable, "/dev/sdb1", "/media/a/STICK"));
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.root, "/media/a/STICK");
    EXPECT_TRUE(ChooseDriveScan(volume(DriveType::Network, "srv:/x", "/mnt/x")).accepted);
    c = ChooseDriveScan(volume(DriveType::Other, "proc", "/proc"));
    EXPECT_FALSE(c.accepted);
    EXPECT_EQ(c.error, text::Local("/proc 不是光驱或硬盘，不能扫描"));
}

}  // namespace
}  // namespace pelko::shell
