#include "shell/DiscMail.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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

namespace {

constexpr const char* kSubject = "MailDisk";

// True when the plain disc file exists and is at least as new as its ZIP (when the ZIP is newer,
// the plain file is left over from an older save and does not hold the disc any more).
bool PlainIsCurrent(const fs::path& plain, const fs::path& zip) {
    std::error_code ec;
    const fs::file_time_type plainTime = fs::last_write_time(plain, ec);
    if (ec) return false;
    const fs::file_time_type zipTime = fs::last_write_time(zip, ec);
    return ec || plainTime >= zipTime;
}

// Writes the plain disc file of `entry` from its current content unless it is current already.
bool MakePlainFile(catalog::DiscStore& discs, const catalog::CDiskInfo& entry, const fs::path& plain) {
    if (PlainIsCurrent(plain, discs.ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial))) return true;
    const std::unique_ptr<catalog::CCD> cd = discs.Open(entry);
    if (!cd) return false;
    cd->m_bModified = true;
    return discs.Save(*cd);
}

// The failure lines of xdg-email's answer; a mail program that opened reports nothing.
void ReportCompose(DesktopResult result, const std::string& failed, catalog::MessageLog& log) {
    if (result == DesktopResult::NoHandler) log.Post(MessageKind::Error, text::Local("没有缺省的邮件发送程序"));
    else if (result == DesktopResult::Failed) log.Post(MessageKind::Error, failed);
}

}  // namespace

catalog::CDiskInfo* DiscToMail(std::span<const CatalogObject> listSelection) {
    if (listSelection.size() != 1) return nullptr;
    auto* const* entry = std::get_if<catalog::CDiskInfo*>(&listSelection.front());
    return entry != nullptr ? *entry : nullptr;
}

void MailDisc(catalog::DiscStore& discs, const catalog::CDiskInfo* entry, MailWay way, catalog::UserInterface& ui,
              catalog::MessageLog& log) {
    if (entry == nullptr) {
        ui.ShowMessage(text::Local("请选择一个光盘后再进行发送"));
        return;
    }
    const fs::path plain = discs.PlainPath(entry->m_strVolumeLabel, entry->m_dwVolumeSerial);
    const std::string sending = text::LocalWith("发送光盘 %s", entry->m_strName);
    const std::string failed = text::LocalWith("发送光盘 %s 失败", entry->m_strName);

    if (way == MailWay::DefaultProgram) {
        // The user is told to attach the file by hand, so it has to be there to attach.
        if (!MakePlainFile(discs, *entry, plain)) {
            log.Post(MessageKind::Error, failed);
            return;
        }
        const std::string hint = text::LocalWith("提示：把文件( %s )添加到附件", catalog::ModelPath(plain));
        ui.ShowMessage(hint);
        log.Post(MessageKind::Result, sending);
        log.Post(MessageKind::Result, hint);
        ReportCompose(platform::ComposeMail({}, kSubject, std::nullopt), failed, log);
        return;
    }

    ui.ShowMessage(text::Local("提示：必须在邮件中填写收件人邮箱和主题!"));
    if (!MakePlainFile(discs, *entry, plain)) {
        log.Post(MessageKind::Error, failed);
    } else {
        ReportCompose(platform::ComposeMail({}, kSubject, plain), failed, log);
    }
    log.Post(MessageKind::TimeStamp, {});
    log.Post(MessageKind::Result, sending);
}

}  // namespace pelko::shell
