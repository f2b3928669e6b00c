#include "cli/DumpCommand.h"

#include <ostream>

#include "catalog/DiscStore.h"
#include "cli/DiscPrinter.h"
#include "cli/TerminalLog.h"

namespace pelko::cli {

std::string_view DumpCommand::Description() const {
    return "Print a disc file (.pkb or .pkb.zip): as a listing, as one JSON object, or as a summary "
           "with recounted totals.";
}

int DumpCommand::Execute(CliContext& context, std::span<const std::string> args) {
    enum class Form { Listing, Json, Summary } form = Form::Listing;
    std::optional<std::string> file;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            form = Form::Json;
        } else if (arg == "--summary") {
            form = Form::Summary;
        } else if (!file && (arg.empty() || arg[0] != '-' || arg == "-")) {
            file = arg;
        } else {
            file.reset();
            break;
        }
    }
    if (!file) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    TerminalLog log(context.err);
    const std::filesystem::path path(*file);
    catalog::DiscStore store(path.parent_path(), log);
    const std::unique_ptr<catalog::CCD> cd = store.OpenPath(path);
    if (!cd) return kExitFailure;
    switch (form) {
        case Form::Listing:
            PrintDiscListing(context.out, *cd);
            break;
        case Form::Json:
            PrintDiscJson(context.out, *cd);
            break;
        case Form::Summary:
            PrintDiscSummary(context.out, *cd);
            break;
    }
    context.out.flush();
    return context.out ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
