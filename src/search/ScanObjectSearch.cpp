#include "search/ScanObjectSearch.h"

#include "catalog/CCD.h"
#include "search/FindContext.h"
#include "search/HitSink.h"
#include "text/MbString.h"

namespace pelko::search {

namespace {

// The running flag is read for every 10th item of a list and progress sent for every 5th, so
// that big folders are not slowed down by the user interface.
constexpr std::size_t kStopCheckEvery = 10;
constexpr std::size_t kProgressEvery = 5;

class DirectoryWalk {
public:
    DirectoryWalk(std::string_view scanObjectPath, const FindContext& context, HitSink& hits,
                  FindProgress* progress)
        : m_scanObjectPath(scanObjectPath), m_context(context), m_hits(hits), m_progress(progress) {}

    bool Walk(const catalog::CDir& dir, const std::string& path) {
        if (!m_context.IsRunning()) return false;
        if (m_progress) m_progress->ShowFolderPath(path);
        const int targets = m_context.targets;
        if (targets & (kFileName | kFileMemo)) {
            if (!CompareList(dir.Files(), path, targets & kFileName, targets & kFileMemo)) return false;
        }
        if (targets & (kFolderName | kFolderMemo)) {
            if (!CompareList(dir.Subdirs(), path, targets & kFolderName, targets & kFolderMemo)) return false;
        }
        for (const auto& sub : dir.Subdirs()) {
            if (!Walk(*sub, ChildFolderPath(path, sub->m_strName))) return false;
        }
        return true;
    }

private:
    template <typename List>
    bool CompareList(const List& list, const std::string& path, bool byName, bool byMemo) {
        const std::size_t count = list.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i % kStopCheckEvery == 0 && !m_context.IsRunning()) return false;
            if (m_progress && i % kProgressEvery == 0)
                m_progress->ShowProgress(static_cast<int>(i * 100 / count));
            const auto& item = *list[i];
            if ((byName && m_context.matcher.MatchesContent(item.m_strName)) ||
                (byMemo && m_context.matcher.MatchesContent(item.m_strMemo))) {
                std::string line;
                line.reserve(m_scanObjectPath.size() + path.size() + 1 + item.m_strName.size());
                line.append(m_scanObjectPath).append(path).append(1, '\\').append(item.m_strName.view());
                m_hits.Hit(std::move(line));
            }
        }
        return true;
    }

    std::string_view m_scanObjectPath;
    const FindContext& m_context;
    HitSink& m_hits;
    FindProgress* m_progress;
};

}  // namespace

std::string ChildFolderPath(std::string_view parentPath, std::string_view name) {
    std::string path(parentPath);
    const std::size_t firstSlash = text::FindWhole(path, "\\");
    if (firstSlash == std::string::npos || firstSlash + 1 != path.size()) path += '\\';
    path += name;
    return path;
}

bool SearchScanObject(const catalog::CCD& contents, std::string_view scanObjectPath,
                      const FindContext& context, HitSink& hits, FindProgress* progress) {
    if (context.readme && context.matcher.MatchesReadme(contents.m_strReadme)) {
        hits.Hit(std::string(scanObjectPath) + "\\ReadMe");
    }
    DirectoryWalk walk(scanObjectPath, context, hits, progress);
    return walk.Walk(contents, std::string());
}

}  // namespace pelko::search
