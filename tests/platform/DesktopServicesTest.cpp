#include <gtest/gtest.h>

#include "platform/DesktopServices.h"
#include "support/StandInTools.h"
#include "support/TempDir.h"

namespace pelko::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(DesktopServicesTest, OpenTellsNoHandlerApartFromOtherFailures) {
    struct Case {
        int status;
        DesktopResult result;
    };
    for (const Case c : {Case{0, DesktopResult::Ok}, Case{3, DesktopResult::NoHandler},
                         Case{4, DesktopResult::NoHandler}, Case{2, DesktopResult::Failed}}) {
        test::StandInTools tools;
        tools.Add("xdg-open", c.status);
        EXPECT_EQ(OpenWithDesktop("/home/ann/光盘 1/help.htm"), c.result) << c.status;
        EXPECT_EQ(tools.Calls("xdg-open"), (Lines{"/home/ann/光盘 1/help.htm", "--"}));
    }
    test::StandInTools none;
    none.HideRealTools();
    EXPECT_EQ(OpenWithDesktop("https://example.org/"), DesktopResult::NoHandler);
}

TEST(DesktopServicesTest, MailWithSubjectAndAttachment) {
    test::StandInTools tools;
    tools.Add("xdg-email");
    EXPECT_EQ(ComposeMail("", "MailDisk", std::filesystem::path("/cat/Disk/软件1234.pkb")),
              DesktopResult::Ok);
    EXPECT_EQ(ComposeMail("me@example.org", "Pelko3.3_Feedback", std::nullopt), DesktopResult::Ok);
    EXPECT_EQ(tools.Calls("xdg-email"),
              (Lines{"--utf8", "--subject", "MailDisk", "--attach", "/cat/Disk/软件1234.pkb", "--", "--utf8",
                     "--subject", "Pelko3.3_Feedback", "me@example.org", "--"}));
    EXPECT_EQ(MailtoLink("me@example.org", "Pelko3.3_MailList"),
              "mailto:me@example.org?Subject=Pelko3.3_MailList");
    EXPECT_EQ(MailtoLink("a@b", "New Requirement&x"), "mailto:a@b?Subject=New%20Requirement%26x");
}

TEST(DesktopServicesTest, AutorunSwitchThroughGsettings) {
    test::StandInTools tools;
    tools.Add("gsettings", 0, "true");
    EXPECT_EQ(ReadAutorunSwitch(), AutorunSwitch::Disabled);
    EXPECT_TRUE(WriteAutorunSwitch(false));
    EXPECT_EQ(tools.Calls("gsettings"),
              (Lines{"get", "org.gnome.desktop.media-handling", "autorun-never", "--", "set",
                     "org.gnome.desktop.media-handling", "autorun-never", "false", "--"}));

    test::StandInTools noSchema;
    noSchema.Add("gsettings", 1);
    EXPECT_EQ(ReadAutorunSwitch(), AutorunSwitch::Unavailable);
    EXPECT_FALSE(WriteAutorunSwitch(true));
    test::StandInTools none;
    none.HideRealTools();
    EXPECT_EQ(ReadAutorunSwitch(), AutorunSwitch::Unavailable);
}

TEST(DesktopServicesTest, StartAtLoginKeepsTheFileWhenSwitchedOff) {
    test::TempDir config;
    const std::filesystem::path file = config / "autostart/pelko.desktop";
    EXPECT_FALSE(StartsAtLogin(file));
    ASSERT_TRUE(SetStartAtLogin(file, true, "/opt/Pelko Tools/pelko"));
    EXPECT_TRUE(StartsAtLogin(file));
    const std::string text = test::ReadFile(file);
    EXPECT_NE(text.find("Exec=\"/opt/Pelko Tools/pelko\"\n"), std::string::npos) << text;
    ASSERT_TRUE(SetStartAtLogin(file, false, "/opt/Pelko Tools/pelko"));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(StartsAtLogin(file));
}

}  // namespace
}  // namespace pelko::platform
