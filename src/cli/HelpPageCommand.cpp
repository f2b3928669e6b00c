#include "cli/HelpPageCommand.h"

#include <ostream>

#include "cli/TerminalUi.h"
#include "platform/CatalogLocation.h"

namespace pelko::cli {

int HelpPageCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    const std::filesystem::path folder = platform::ResolveCatalogFolder(context.catalogFolder);
    if (!platform::EnsureFolder(folder)) {
        context.err << "pelko-cli: cannot create the catalog folder " << folder.native() << '\n';
        return kExitFailure;
    }
    TerminalUi ui(context.in, context.err, context.interactive);
    const std::optional<std::filesystem::path> file = exporting::WriteHelpPage(folder, m_page, ui);
    if (!file) return kExitFailure;
    context.out << file->native() << '\n';
    return kExitOk;
}

}  // namespace pelko::cli
