#include "cli/PasswdCommand.h"

#include <ostream>

#include "cli/CatalogSession.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::cli {

int PasswdCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    // On a terminal the new password is typed twice, as in the password window; a script gives
    // it as one line (after the login line when --password-stdin is used too).
    const bool terminal = context.interactive;
    std::string password;
    if (!ReadSecretLine(context.in, context.err, TerminalText(text::Local("新密码:")), terminal, password)) {
        context.err << "pelko-cli: no new password given\n";
        return kExitFailure;
    }
    if (!password.empty() && password.back() == '\r') password.pop_back();
    if (terminal) {
        std::string confirmation;
        if (!ReadSecretLine(context.in, context.err, TerminalText(text::Local("确认新密码:")), true,
                            confirmation) ||
            text::CompareNoCase(text::FromUtf8(password), text::FromUtf8(confirmation)) != 0) {
            session.Ui().ShowMessage(text::Local("新密码与确认的新密码不相符合，请重新输入"));
            return kExitFailure;
        }
        password = confirmation;  // the confirmation is what is stored
    }
    if (!session.Doc().SetPassword(text::FromUtf8(password))) return kExitFailure;
    context.out << (password.empty() ? "password cleared\n" : "password set\n");
    return kExitOk;
}

}  // namespace pelko::cli
