#pragma once
// The desktop's services behind small functions: opening files and links with their default
// program (xdg-open), composing mail with an attachment (xdg-email), starting at login (an XDG
// autostart file) and the desktop's switch for running discs on insertion (GNOME's
// autorun-never, through gsettings).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::platform {

enum class DesktopResult { Ok, NoHandler, Failed };

// Opens a file, folder or URL (UTF-8) with the desktop's default program. NoHandler when no
// program is associated (or xdg-open itself is missing).
DesktopResult OpenWithDesktop(std::string_view target);

// "mailto:ADDRESS?Subject=SUBJECT" with the subject percent-encoded.
std::string MailtoLink(std::string_view address, std::string_view subject);

// A new message in the user's mail program with the subject, and the file attached when one is
// given (mail programs that take attachments from xdg-email attach it by themselves).
DesktopResult ComposeMail(std::string_view address, std::string_view subject,
                          const std::optional<std::filesystem::path>& attachment);

// ~/.config/autostart/pelko.desktop, or the same under $XDG_CONFIG_HOME.
std::filesystem::path AutostartFile();
// Whether the autostart file exists and is not switched off with Hidden=true.
bool StartsAtLogin(const std::filesystem::path& autostartFile);
// Writes the autostart file; switching off keeps the file with Hidden=true.
bool SetStartAtLogin(const std::filesystem::path& autostartFile, bool on,
                     const std::filesystem::path& executable);

enum class AutorunSwitch { Allowed, Disabled, Unavailable };
// Whether the desktop runs software from inserted discs; Unavailable where the desktop has no
// such setting (no gsettings, or no GNOME media-handling schema).
AutorunSwitch ReadAutorunSwitch();
bool WriteAutorunSwitch(bool disabled);

}  // namespace pelko::platform
