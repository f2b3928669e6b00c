#include "shell/DesktopLinks.h"

#include <filesystem>
#include <memory>

#include "catalog/CCD.h"
#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "platform/DesktopServices.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace fs = std::filesystem;
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

void MailDisc(catalog::DiscStore& discs, const catalog::CDiskInfo* entry, catalog::UserInterface& ui,
              catalog::MessageLog& log) {
    if (entry == nullptr) {
        ui.ShowMessage(text::Local("请选择一个光盘后再进行发送"));
        return;
    }
    const fs::path plain = discs.PlainPath(entry->m_strVolumeLabel, entry->m_dwVolumeSerial);
    const std::string failed = text::LocalWith("发送光盘 %s 失败", entry->m_strName);
    std::error_code ec;
    if (!fs::exists(plain, ec)) {
        const std::unique_ptr<catalog::CCD> cd = discs.Open(*entry);
        if (!cd) {
            log.Post(MessageKind::Error, failed);
            return;
        }
        cd->m_bModified = true;
        if (!discs.Save(*cd)) {
            log.Post(MessageKind::Error, failed);
            return;
        }
    }
    const std::string hint = text::LocalWith("提示：把文件( %s )添加到附件", text::FromUtf8(plain.native()));
    ui.ShowMessage(hint);
    log.Post(MessageKind::Result, text::LocalWith("发送光盘 %s", entry->m_strName));
    log.Post(MessageKind::Result, hint);
    switch (platform::ComposeMail({}, "MailDisk", plain)) {
        case DesktopResult::Ok:
            break;
        case DesktopResult::NoHandler:
            log.Post(MessageKind::Error, text::Local("没有缺省的邮件发送程序"));
            break;
        case DesktopResult::Failed:
            log.Post(MessageKind::Error, failed);
            break;
    }
}

}  // namespace pelko::shell
