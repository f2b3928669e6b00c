#pragma once
// Mailing the disc file of a catalogued scan object, in the two ways the main menu and the list's
// context menu offer: through the default mail program, where the user attaches the file by
// hand, or with the file attached by the desktop. The selection rule, the hints, the message-log
// lines and the failure reports live here; the desktop is reached through xdg-email.

#include <span>

#include "shell/CatalogObject.h"

namespace pelko::catalog {
class CDiskInfo;
class DiscStore;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

enum class MailWay {
    // A new message with the subject "MailDisk"; a hint names the file for the user to attach.
    DefaultProgram,
    // A new message with the disc file attached; the user fills in recipient and subject.
    Attached,
};

// The disc a mail command acts on: the list's only selected row when it is a scan object's
// catalog entry. Null for no row, several rows, a category, a folder or file of an open scan
// object and the readme row.
catalog::CDiskInfo* DiscToMail(std::span<const CatalogObject> listSelection);

// Mails the disc file of `entry`. Null `entry` shows "请选择一个光盘后再进行发送". The disc
// file is kept compressed at rest, so its plain form is written first whenever the ZIP holds
// newer content: the file named in the hint, or attached, always exists and is current. The
// plain file stays beside the ZIP afterwards, for the mail program to read.
void MailDisc(catalog::DiscStore& discs, const catalog::CDiskInfo* entry, MailWay way, catalog::UserInterface& ui,
              catalog::MessageLog& log);

}  // namespace pelko::shell
