#include "cli/InfoCommand.h"

#include <ostream>

#include "catalog/Statistics.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace {

// Description texts separate their lines with CR LF; a terminal wants LF.
std::string TerminalLines(std::string_view modelText) {
    std::string out;
    for (std::size_t start = 0; start <= modelText.size();) {
        const std::size_t end = modelText.find("\r\n", start);
        out += TerminalText(
            modelText.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        out += '\n';
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return out;
}

}  // namespace

int InfoCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (args.size() != 1) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(args[0]));
    if (!item.found()) {
        context.err << "pelko-cli: no category or scan object " << args[0] << " in the catalog\n";
        return kExitFailure;
    }
    context.out << TerminalLines(item.entry ? catalog::EntryDescription(*item.entry)
                                            : catalog::CategoryDescription(*item.category));
    return session.SaveIfModified() ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
