#pragma once
// The main window's links to the outside: the maker's web pages and the feedback mail links
// (mailing a catalogued disc's file is DiscMail.h). Failures go to the message log as the commands describe;
// the desktop itself is reached through platform/DesktopServices.

#include <string>
#include <string_view>

namespace pelko::catalog {
class MessageLog;
}

namespace pelko::shell {

// The maker's addresses: configuration values of the program.
struct MakerLinks {
    std::string site = "https://pelko.tinkmoss.example/";
    std::string versionNotes = "https://pelko.tinkmoss.example/versions.htm";
    std::string mailAddress = "pelko@tinkmoss.example";
};

enum class WebPage {
    Site,          // failure: "打开技术站点失败"
    VersionNotes,  // failure: "打开最近版本更新记录网页失败"
    SiteQuietly,   // "联系作者" and the entry naming the site report nothing
};
void OpenWebPage(const MakerLinks& links, WebPage page, catalog::MessageLog& log);

enum class MailLink { Feedback, MailList, NewRequirement };
// A new message to the maker with the link's subject. When no mail program is set up, the log
// tells where to write instead.
void OpenMailLink(const MakerLinks& links, MailLink link, catalog::MessageLog& log);

}  // namespace pelko::shell
