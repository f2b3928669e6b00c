#include "cli/IndexCommand.h"

#include <functional>
#include <ostream>
#include <set>

#include "catalog/CCategory.h"
#include "catalog/CDiskInfo.h"
#include "cli/CatalogSession.h"

namespace pelko::cli {

namespace {

namespace fs = std::filesystem;

void ForEachEntry(const catalog::CCategory& category,
                  const std::function<void(const catalog::CDiskInfo&)>& use) {
    for (const auto& entry : category.Entries()) use(*entry);
    for (const auto& sub : category.Subcategories()) ForEachEntry(*sub, use);
}

struct Tally {
    int current = 0;
    int rebuilt = 0;
    int outdated = 0;    // missing, stale or damaged
    int unreadable = 0;  // no disc file, or one that cannot be read
};

// Index files that belong to no scan object of the catalog: left by discs deleted by an older
// version or by hand.
int RemoveOrphans(const fs::path& folder, const std::set<fs::path>& kept) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& file = it->path();
        if (file.extension() != ".idx" || kept.contains(file) || !it->is_regular_file(ec)) continue;
        if (fs::remove(file, ec)) ++removed;
    }
    return removed;
}

}  // namespace

int IndexCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const bool rebuild = args.size() == 1 && args[0] == "--rebuild";
    if (!args.empty() && !rebuild) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    catalog::DiscStore& discs = session.Discs();
    Tally tally;
    std::set<fs::path> kept;
    bool writeFailed = false;
    ForEachEntry(session.Root(), [&](const catalog::CDiskInfo& entry) {
        kept.insert(discs.IndexPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial));
        const auto stamp = discs.CurrentStamp(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        if (!stamp) {
            ++tally.unreadable;
            return;
        }
        if (!rebuild) {
            ++(discs.OpenIndex(entry, *stamp) ? tally.current : tally.outdated);
            return;
        }
        const std::unique_ptr<catalog::CCD> contents = discs.Open(entry);
        if (!contents || discs.CurrentStamp(entry.m_strVolumeLabel, entry.m_dwVolumeSerial) != stamp) {
            ++tally.unreadable;
        } else if (discs.WriteIndex(*contents, *stamp)) {
            ++tally.rebuilt;
        } else {
            writeFailed = true;
        }
    });
    if (!rebuild) {
        context.out << "scan objects: " << tally.current << " with a current index, " << tally.outdated
                    << " to be indexed at their next search, " << tally.unreadable
                    << " without a disc file\n";
        return kExitOk;
    }
    const int removed = RemoveOrphans(session.Folder() / "Index", kept);
    context.out << "rebuilt the index of " << tally.rebuilt << " scan objects; " << tally.unreadable
                << " without a readable disc file; removed " << removed << " index files of no scan object\n";
    if (writeFailed) {
        context.err << "pelko-cli: could not write every index file into "
                    << (session.Folder() / "Index").string() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace pelko::cli
