#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/CCD.h"
#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "shell/DesktopLinks.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/StandInTools.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::MessageKind;
using Lines = std::vector<std::pair<MessageKind, std::string>>;

TEST(DesktopLinksTest, WebPagesReportFailuresByPage) {
    test::StandInTools tools;
    tools.Add("xdg-open", 4);
    test::RecordingLog log;
    const MakerLinks links;
    OpenWebPage(links, WebPage::Site, log);
    OpenWebPage(links, WebPage::VersionNotes, log);
    OpenWebPage(links, WebPage::SiteQuietly, log);
    EXPECT_EQ(log.Lines(), (Lines{{MessageKind::Error, text::Local("打开技术站点失败")},
                                  {MessageKind::Error, text::Local("打开最近版本更新记录网页失败")}}));
    EXPECT_EQ(tools.Calls("xdg-open")[0], links.site);
    EXPECT_EQ(tools.Calls("xdg-open")[2], links.versionNotes);
}

TEST(DesktopLinksTest, MailLinksTellWhereToWriteWithoutAMailProgram) {
    test::StandInTools tools;
    tools.Add("xdg-open", 3);
    test::RecordingLog log;
    MakerLinks links;
    links.mailAddress = "me@example.org";
    OpenMailLink(links, MailLink::Feedback, log);
    OpenMailLink(links, MailLink::MailList, log);
    EXPECT_EQ(tools.Calls("xdg-open")[0], "mailto:me@example.org?Subject=Pelko3.3_Feedback");
    EXPECT_EQ(
        log.Lines(),
        (Lines{{MessageKind::Error, text::Local("没有缺省的邮件发送程序，请直接发送邮件至me@example.org")},
               {MessageKind::Error, text::Local("没有缺省的邮件发送程序，请直接发送邮件至me@example.org，"
                                                "主题为加入软件升级通知列表")}}));

    test::StandInTools broken;
    broken.Add("xdg-open", 1);  // other failures are silent
    test::RecordingLog quiet;
    OpenMailLink(links, MailLink::NewRequirement, quiet);
    EXPECT_TRUE(quiet.Lines().empty());
}

TEST(DesktopLinksTest, MailDiscAttachesAPlainDiscFileMadeFromItsZip) {
    test::TempDir catalogDir;
    test::RecordingLog storeLog;
    catalog::DiscStore store(catalogDir.path(), storeLog);
    auto cd = std::make_unique<catalog::CCD>();
    cd->m_strVolumeLabel = text::Local("软件");
    cd->m_dwVolumeSerial = 1234;
    cd->m_bModified = true;
    ASSERT_TRUE(store.Release(cd));
    const fs::path plain = store.PlainPath(text::Local("软件"), 1234);
    ASSERT_FALSE(fs::exists(plain));  // at rest only the ZIP exists

    catalog::CDiskInfo entry;
    entry.m_strName = text::Local("我的软件");
    entry.m_strVolumeLabel = text::Local("软件");
    entry.m_dwVolumeSerial = 1234;
    test::StandInTools tools;
    tools.Add("xdg-email");
    test::ScriptedUi ui;
    test::RecordingLog log;
    MailDisc(store, &entry, ui, log);
    EXPECT_TRUE(fs::exists(plain));
    EXPECT_EQ(tools.Calls("xdg-email"), (std::vector<std::string>{"--utf8", "--subject", "MailDisk",
                                                                  "--attach", plain.native(), "--"}));
    const std::string hint = text::LocalWith("提示：把文件( %s )添加到附件", text::FromUtf8(plain.native()));
    EXPECT_EQ(ui.messages, std::vector<std::string>{hint});
    EXPECT_EQ(log.Lines(),
              (Lines{{MessageKind::Result, text::Local("发送光盘 我的软件")}, {MessageKind::Result, hint}}));
    EXPECT_NE(store.OpenPath(plain), nullptr);

    test::StandInTools noMail;
    noMail.HideRealTools();
    test::RecordingLog noMailLog;
    MailDisc(store, &entry, ui, noMailLog);
    EXPECT_EQ(noMailLog.Lines().back(),
              std::make_pair(MessageKind::Error, text::Local("没有缺省的邮件发送程序")));
}

TEST(DesktopLinksTest, MailDiscNeedsOneDiscThatCanBeRead) {
    test::TempDir catalogDir;
    test::RecordingLog storeLog;
    catalog::DiscStore store(catalogDir.path(), storeLog);
    test::ScriptedUi ui;
    test::RecordingLog log;
    MailDisc(store, nullptr, ui, log);
    EXPECT_EQ(ui.messages, std::vector<std::string>{text::Local("请选择一个光盘后再进行发送")});

    catalog::CDiskInfo missing;
    missing.m_strName = "GONE";
    missing.m_strVolumeLabel = "GONE";
    MailDisc(store, &missing, ui, log);
    EXPECT_EQ(log.Lines(), (Lines{{MessageKind::Error, text::Local("发送光盘 GONE 失败")}}));
}

}  // namespace
}  // namespace pelko::shell
