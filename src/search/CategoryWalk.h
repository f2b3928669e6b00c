#pragma once
// Searches a category: its own name and memo, its entries' names, memos and labels, the
// contents of its scan objects, then each sub-category depth first (unless only this category
// is searched).
//
// Hits come out in exactly that order, one per item. The scan objects' contents are loaded and
// searched ahead on other threads (ContentPrefetcher) and written in their place. The running
// flag is honoured before each scan object, after each category's scan objects and inside each
// folder walk; what was written before a stop stays written.

#include <filesystem>

#include "search/ContentPrefetcher.h"

namespace pelko::catalog {
class CCategory;
class MessageLog;
}  // namespace pelko::catalog

namespace pelko::search {

struct FindContext;
class HitSink;

class CategoryWalk {
public:
    // Disc files are read from the catalog folder's "Disk" folder; their loader's messages go
    // to `log`.
    CategoryWalk(const FindContext& context, std::filesystem::path catalogFolder, HitSink& hits,
                 catalog::MessageLog& log, PrefetchOptions options = {});

    // False when the running flag stopped the search.
    bool Run(const catalog::CCategory& start);

private:
    void CollectContentJobs(const catalog::CCategory& category, std::vector<ContentJob>& jobs) const;
    bool Walk(const catalog::CCategory& category, ContentPrefetcher* contents);

    const FindContext& m_context;
    std::filesystem::path m_catalogFolder;
    HitSink& m_hits;
    catalog::MessageLog& m_log;
    PrefetchOptions m_options;
};

}  // namespace pelko::search
