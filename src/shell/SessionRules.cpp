#include "shell/SessionRules.h"

#include "settings/SettingsStore.h"
#include "catalog/UserInterface.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {

std::optional<std::string> RefuseCatalogFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::weakly_canonical(folder, error);
    if (error) full = folder.lexically_normal();
    if (full.has_relative_path() && full.relative_path() != ".") return std::nullopt;
    return text::Local(
        "不要把光盘库目录设为根目录，Pelko－光盘管理工具在运行中生成的文件放在根目录下会引起管理上的不便！");
}

LoginResult CheckLogin(std::string_view storedPassword,
                       const std::function<std::optional<std::string>()>& askPassword, catalog::UserInterface& ui) {
    if (storedPassword.empty()) return LoginResult::Passed;
    const std::optional<std::string> entered = askPassword();
    if (!entered) return LoginResult::Cancelled;
    if (*entered == storedPassword) return LoginResult::Passed;
    ui.ShowMessage(text::Local("输入的密码不正确, 请重新登录"));
    return LoginResult::WrongPassword;
}

bool PasswordEntriesAgree(std::string_view newPassword, std::string_view confirmation) {
    return newPassword.size() == confirmation.size() && text::CompareNoCase(newPassword, confirmation) == 0;
}

std::string PasswordMismatchText() { return text::Local("新密码与确认的新密码不相符合，请重新输入"); }

CloseDecision DecideClose(const BusyState& busy, const WindowLayout& layout, AppSettings& options,
                          settings::SettingsStore& settings, catalog::UserInterface& ui, const CloseDialogAsker& askCloseDialog) {
    if (busy.IsSearching()) {
        ui.ShowMessage(text::Local("正在查找，暂时不能关闭！"));
        return CloseDecision::StayOpen;
    }
    options.SetInt(settings, "LastViewStyle", layout.viewStyle);
    options.SetInt(settings, "CurColPos", layout.treeWidth);
    if (options.IntValue(settings, "PopCloseDlg") == 1) {
        const std::optional<bool> dontAskAgain = askCloseDialog();
        if (!dontAskAgain) return CloseDecision::StayOpen;
        options.SetInt(settings, "PopCloseDlg", *dontAskAgain ? 0 : 1);
    }
    return CloseDecision::Close;
}

}  // namespace pelko::shell
