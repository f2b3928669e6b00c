#include "shell/DesktopLinks.h"

#include "catalog/MessageLog.h"
#include "platform/DesktopServices.h"
#include "text/Codec.h"

namespace pelko::shell {

using catalog::MessageKind;
using platform::DesktopResult;

void OpenWebPage(const MakerLinks& links, WebPage page, catalog::MessageLog& log) {
    const std::string& url = page == WebPage::VersionNotes ? links.versionNotes : links.site;
    if (platform::OpenWithDesktop(url) == DesktopResult::Ok || page == WebPage::SiteQuietly) return;
    log.Post(MessageKind::Error,
             text::Local(page == WebPage::Site ? "打开技术站点失败" : "打开最近版本更新记录网页失败"));
}

void OpenMailLink(const MakerLinks& links, MailLink link, catalog::MessageLog& log) {
    const char* subject = link == MailLink::Feedback   ? "Pelko3.3_Feedback"
                          : link == MailLink::MailList ? "Pelko3.3_MailList"
                                                       : "New Requirement";
    if (platform::OpenWithDesktop(platform::MailtoLink(links.mailAddress, subject)) !=
        DesktopResult::NoHandler)
        return;
    std::string message = text::Local("没有缺省的邮件发送程序，请直接发送邮件至") + links.mailAddress;
    if (link == MailLink::MailList) message += text::Local("，主题为加入软件升级通知列表");
    log.Post(MessageKind::Error, message);
}

}  // namespace pelko::shell
