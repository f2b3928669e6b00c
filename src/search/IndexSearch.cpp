#include "search/IndexSearch.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "catalog/DiscIndex.h"
#include "search/BlockFind.h"
#include "search/FindContext.h"
#include "search/FindProgress.h"
#include "search/HitSink.h"
#include "search/ScanObjectSearch.h"

namespace pelko::search {

namespace {

constexpr std::size_t kStopCheckEvery = 4096;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char FoldByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// What to look for in a block. A matching value contains the matcher's longest word. Without
// case sensitivity the matcher compares values with A-Z folded outside double-byte characters;
// folding every byte of both the block and the word (trail bytes too) keeps every such
// occurrence and only adds candidates. A word without letters needs no folding at all: where it
// occurs in a folded value, the value's own bytes are the same.
struct BlockNeedle {
    std::string bytes;  // empty: every value is a candidate
    bool foldBlock = false;
};

BlockNeedle NeedleFor(const Matcher& matcher) {
    BlockNeedle needle;
    for (const std::string& word : matcher.Words().words)
        if (word.size() > needle.bytes.size()) needle.bytes = word;
    if (!matcher.CaseSensitive() && std::ranges::any_of(needle.bytes, IsAsciiLetter)) {
        std::ranges::transform(needle.bytes, needle.bytes.begin(), FoldByte);
        needle.foldBlock = true;
    }
    return needle;
}

// The catalog path of each run's folder inside its scan object, as the full walk builds them.
std::vector<std::string> RunPaths(const catalog::DiscIndex& index) {
    const auto runs = index.Runs();
    std::vector<std::string> paths(runs.size());
    for (std::size_t r = 1; r < runs.size(); ++r) {
        const std::uint32_t parentItem = runs[r].parentItem;
        // The parent item lies in an earlier run: the last one starting at or before it.
        const auto parentRun =
            std::upper_bound(
                runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(r), parentItem,
                [](std::uint32_t item, const catalog::DiscIndex::Run& run) { return item < run.firstItem; }) -
            1;
        paths[r] = ChildFolderPath(paths[static_cast<std::size_t>(parentRun - runs.begin())],
                                   index.Name(parentItem));
    }
    return paths;
}

}  // namespace

std::vector<std::uint32_t> CandidateValues(const Matcher& matcher, std::string_view block,
                                           std::span<const std::uint32_t> offsets) {
    const std::size_t count = offsets.empty() ? 0 : offsets.size() - 1;
    std::vector<std::uint32_t> candidates;
    if (!matcher.PartMatch() && matcher.Words().words.size() != 1) return candidates;  // nothing matches
    const BlockNeedle needle = NeedleFor(matcher);
    if (needle.bytes.empty()) {
        candidates.resize(count);
        for (std::size_t i = 0; i < count; ++i) candidates[i] = static_cast<std::uint32_t>(i);
        return candidates;
    }
    std::string folded;
    if (needle.foldBlock) {
        folded.resize(block.size());
        std::ranges::transform(block, folded.begin(), FoldByte);
        block = folded;
    }
    std::size_t value = 0;
    std::size_t from = 0;
    while (from < block.size()) {
        const std::size_t at = FindInBlock(block, needle.bytes, from);
        if (at == std::string_view::npos) break;
        // The value the occurrence starts in; an occurrence running into the next value only
        // adds a candidate the comparison turns down.
        value =
            static_cast<std::size_t>(std::upper_bound(offsets.begin() + static_cast<std::ptrdiff_t>(value),
                                                      offsets.end(), static_cast<std::uint32_t>(at)) -
                                     offsets.begin()) -
            1;
        candidates.push_back(static_cast<std::uint32_t>(value));
        from = offsets[value + 1];  // the next value may hold its own occurrence
        ++value;
    }
    return candidates;
}

bool SearchIndexedScanObject(const catalog::DiscIndex& index, std::string_view scanObjectPath,
                             const FindContext& context, HitSink& hits, FindProgress* progress) {
    const Matcher& matcher = context.matcher;
    if (progress) progress->ShowFolderPath({});
    if (context.readme && matcher.MatchesReadme(index.Readme()))
        hits.Hit(std::string(scanObjectPath) + "\\ReadMe");
    const int targets = context.targets;
    const bool byName = (targets & (kFileName | kFolderName)) != 0;
    const bool byMemo = (targets & (kFileMemo | kFolderMemo)) != 0;
    if (!byName && !byMemo) return true;

    std::vector<std::uint32_t> candidates;
    if (byName) candidates = CandidateValues(matcher, index.NameBlock(), index.NameOffsets());
    if (byMemo) {
        const auto memoItems = index.MemoItems();
        std::vector<std::uint32_t> fromMemos;
        if (matcher.PartMatch() && matcher.Words().words.empty()) {
            // Every value matches, the empty memos too.
            fromMemos.resize(index.ItemCount());
            for (std::uint32_t i = 0; i < index.ItemCount(); ++i) fromMemos[i] = i;
        } else {
            for (const std::uint32_t k : CandidateValues(matcher, index.MemoBlock(), index.MemoOffsets()))
                fromMemos.push_back(memoItems[k]);
        }
        std::vector<std::uint32_t> merged;
        merged.reserve(candidates.size() + fromMemos.size());
        std::ranges::set_union(candidates, fromMemos, std::back_inserter(merged));
        candidates = std::move(merged);
    }
    if (candidates.empty()) return true;

    const auto runs = index.Runs();
    const auto memoItems = index.MemoItems();
    std::vector<std::string> runPaths;
    std::size_t shownRun = 0;  // the root, shown above
    std::size_t run = 0;
    std::size_t memo = 0;
    for (std::size_t n = 0; n < candidates.size(); ++n) {
        if (n % kStopCheckEvery == 0 && !context.IsRunning()) return false;
        const std::uint32_t item = candidates[n];
        while (item >= runs[run].firstItem + runs[run].fileCount + runs[run].folderCount) ++run;
        while (memo < memoItems.size() && memoItems[memo] < item) ++memo;
        const bool isFile = item - runs[run].firstItem < runs[run].fileCount;
        const bool nameTarget = (targets & (isFile ? kFileName : kFolderName)) != 0;
        const bool memoTarget = (targets & (isFile ? kFileMemo : kFolderMemo)) != 0;
        const std::string_view name = index.Name(item);
        const std::string_view memoText =
            memo < memoItems.size() && memoItems[memo] == item ? index.Memo(memo) : std::string_view();
        if ((nameTarget && matcher.MatchesContent(name)) ||
            (memoTarget && matcher.MatchesContent(memoText))) {
            if (runPaths.empty()) runPaths = RunPaths(index);
            const std::string& folder = runPaths[run];
            if (progress && run != shownRun) {
                progress->ShowFolderPath(folder);
                shownRun = run;
            }
            std::string line;
            line.reserve(scanObjectPath.size() + folder.size() + 1 + name.size());
            line.append(scanObjectPath).append(folder).append(1, '\\').append(name);
            hits.Hit(std::move(line));
        }
    }
    return true;
}

}  // namespace pelko::search
