#include "cli/ScanFiling.h"

#include <ostream>
#include <string_view>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "cli/TerminalLog.h"
#include "text/Codec.h"

namespace pelko::cli {

std::optional<ScanOptions> ParseScanOptions(std::span<const std::string> args) {
    ScanOptions options;
    bool haveSource = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--category" || arg == "--name" || arg == "--memo") {
            if (i + 1 == args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (arg == "--category") options.category = value;
            if (arg == "--name") options.name = value;
            if (arg == "--memo") options.memo = value;
        } else if (!haveSource) {
            options.source = arg;
            haveSource = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveSource) return std::nullopt;
    return options;
}

bool ReportHowTheWalkEnded(scan::WalkResult walked, std::string_view mediumGone, std::ostream& err) {
    switch (walked) {
        case scan::WalkResult::Finished:
        case scan::WalkResult::RootUnreadable:
            return false;
        case scan::WalkResult::LimitReached:
            err << "pelko-cli: the whole-scan file limit (g_nFileLimitTotal) was reached; later files were "
                   "not recorded\n";
            return false;
        case scan::WalkResult::OutOfMemory:
            err << "pelko-cli: memory ran out; some folders were not read in full; keeping what was read\n";
            return true;
        case scan::WalkResult::Cancelled:
            err << "pelko-cli: scan interrupted; keeping what was read\n";
            return true;
        case scan::WalkResult::MediumGone:
            err << "pelko-cli: " << mediumGone << "; keeping what was read\n";
            return true;
    }
    return false;
}

std::unique_ptr<catalog::CCD> OpenForRescan(CatalogSession& session, const catalog::CDiskInfo& entry,
                                            std::ostream& err) {
    std::unique_ptr<catalog::CCD> cd = session.Discs().Open(entry);
    if (!cd) {
        err << "pelko-cli: the disc file of " << TerminalText(entry.m_strName)
            << " cannot be read; not scanning it again\n";
    }
    return cd;
}

catalog::CCategory* PlaceForNewObject(CatalogSession& session, const ScanOptions& options,
                                                     std::string_view name, std::ostream& err) {
    catalog::CCategory* category = &session.Root();
    if (options.category) {
        const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(*options.category));
        if (!item.found() || item.entry) {
            err << "pelko-cli: no category " << *options.category << " in the catalog\n";
            return nullptr;
        }
        category = item.category;
    }
    if (category->HasEntry(name)) {
        session.Ui().ShowMessage(text::LocalWith("光盘 %s 已经存在", name));
        return nullptr;
    }
    return category;
}

}  // namespace pelko::cli
