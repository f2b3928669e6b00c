#include "cli/InitCommand.h"

#include <ostream>

#include "catalog/Statistics.h"
#include "cli/CatalogSession.h"

namespace pelko::cli {

int InitCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    const catalog::CategoryTotals totals = catalog::AggregateCategory(session.Root());
    context.out << (session.Folder() / "tnk.dat").native() << '\n'
                << totals.categoryCount << " categories, " << totals.entryCount << " scan objects\n";
    return session.SaveIfModified() ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
