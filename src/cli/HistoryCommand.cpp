#include "cli/HistoryCommand.h"

#include <ostream>

#include "cli/CatalogSession.h"

namespace pelko::cli {

int HistoryCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    for (const std::string& text : session.Doc().History().Strings())
        context.out << TerminalText(text) << '\n';
    return session.SaveIfModified() ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
