#pragma once
// The decisions of the desktop program's session that need no window: where the catalog may
// live, the login check, the password rules of the set-password dialog, and the close sequence.
// The widgets ask these functions and show what they answer; tests drive them with a script.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

class BusyState;
struct AppSettings;

// A catalog folder that is the file system's root would fill "/" with the program's files.
// Returns the message to show (model bytes) when the folder is refused.
std::optional<std::string> RefuseCatalogFolder(const std::filesystem::path& folder);

enum class LoginResult { Passed, Cancelled, WrongPassword };

// The one login attempt at start-up. `askPassword` shows the login dialog and returns the text
// entered, or nothing when the user gives up. An empty stored password asks nothing. A wrong
// password shows "输入的密码不正确, 请重新登录"; there is no second attempt.
LoginResult CheckLogin(std::string_view storedPassword,
                       const std::function<std::optional<std::string>()>& askPassword, catalog::UserInterface& ui);

// The set-password dialog's OK rule: the two fields must agree without regard to letter case
// (single-byte letters only fold; double-byte characters compare whole).
bool PasswordEntriesAgree(std::string_view newPassword, std::string_view confirmation);
// What the set-password dialog shows when they do not agree (model bytes).
std::string PasswordMismatchText();

// The close dialog's answer: nothing when the user did not confirm; else whether the box
// "下次不再提示" was ticked.
using CloseDialogAsker = std::function<std::optional<bool>()>;

// What the window shows at the moment of the close request.
struct WindowLayout {
    int viewStyle = 0;  // the list view's style: 0 large icons, 1 report, 2 small icons, 3 list
    int treeWidth = 190;  // the width of the tree pane in pixels
};

enum class CloseDecision { StayOpen, Close };

// The close sequence up to the point where the window goes: refused while a search runs ("正在查找，
// 暂时不能关闭！"); otherwise the layout is stored (also when the user then cancels), and
// with PopCloseDlg set the close dialog is asked, its box deciding the next PopCloseDlg. The
// caller then removes the tray icon, unregisters the hot keys and saves the catalog.
CloseDecision DecideClose(const BusyState& busy, const WindowLayout& layout, AppSettings& options,
                          settings::SettingsStore& settings, catalog::UserInterface& ui, const CloseDialogAsker& askCloseDialog);

}  // namespace pelko::shell
