#include <gtest/gtest.h>

#include "shell/DesktopLinks.h"
#include "support/RecordingLog.h"
#include "support/StandInTools.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

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

}  // namespace
}  // namespace pelko::shell
