#include "search/CategoryWalk.h"

#include "catalog/CCategory.h"
#include "catalog/MessageLog.h"
#include "search/FindContext.h"
#include "search/HitSink.h"

namespace pelko::search {

CategoryWalk::CategoryWalk(const FindContext& context, std::filesystem::path catalogFolder, HitSink& hits,
                           catalog::MessageLog& log, PrefetchOptions options)
    : m_context(context),
      m_catalogFolder(std::move(catalogFolder)),
      m_hits(hits),
      m_log(log),
      m_options(options) {}

bool CategoryWalk::Run(const catalog::CCategory& start) {
    if (!(m_context.targets & kContentTargets)) return Walk(start, nullptr);
    std::vector<ContentJob> jobs;
    CollectContentJobs(start, jobs);
    ContentPrefetcher contents(std::move(jobs), m_context, m_catalogFolder, m_options);
    return Walk(start, &contents);
}

// The scan objects in the order Walk reaches them.
void CategoryWalk::CollectContentJobs(const catalog::CCategory& category,
                                      std::vector<ContentJob>& jobs) const {
    const std::string path = category.Path();
    for (const auto& entry : category.Entries())
        jobs.push_back({entry.get(), path + '\\' + entry->m_strName});
    if (m_context.onlyThisCategory) return;
    for (const auto& sub : category.Subcategories()) CollectContentJobs(*sub, jobs);
}

bool CategoryWalk::Walk(const catalog::CCategory& category, ContentPrefetcher* contents) {
    const Matcher& matcher = m_context.matcher;
    const int targets = m_context.targets;
    const std::string path = category.Path();
    if (targets & (kCategoryName | kCategoryMemo)) {
        if (((targets & kCategoryMemo) && matcher.MatchesCatalog(category.m_strMemo)) ||
            ((targets & kCategoryName) && matcher.MatchesCatalog(category.m_strName))) {
            m_hits.Hit(path);
        }
    }
    if (targets & (kDiscName | kDiscMemo | kDiscLabel)) {
        for (const auto& entry : category.Entries()) {
            if (((targets & kDiscName) && matcher.MatchesCatalog(entry->m_strName)) ||
                ((targets & kDiscMemo) && matcher.MatchesCatalog(entry->m_strMemo)) ||
                ((targets & kDiscLabel) && matcher.MatchesCatalog(entry->m_strVolumeLabel))) {
                m_hits.Hit(path + '\\' + entry->m_strName);
            }
        }
    }
    if (contents) {
        for (std::size_t i = 0; i < category.Entries().size(); ++i) {
            if (!m_context.IsRunning()) return false;
            ContentResult result = contents->TakeNext();
            for (BufferedLine& line : result.lines) {
                // A Cancel stops the writing of what was searched ahead, too.
                if (!m_context.IsRunning()) return false;
                if (line.hit) {
                    m_hits.Hit(std::move(line.text));
                } else {
                    m_log.Post(line.kind, line.text);
                }
            }
            if (result.stopped) return false;
        }
    }
    if (!m_context.IsRunning()) return false;
    if (m_context.onlyThisCategory) return true;
    for (const auto& sub : category.Subcategories()) {
        if (!Walk(*sub, contents)) return false;
    }
    return true;
}

}  // namespace pelko::search
