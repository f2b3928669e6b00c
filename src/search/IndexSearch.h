#pragma once
// Searches a scan object through its search index instead of its loaded folder tree, with
// exactly the hits and order of SearchScanObject over the same contents.
//
// The index keeps all names (and all memos) of a disc as one block, so instead of comparing
// each value the search looks for one word of the search in the whole block at once and
// compares only the items where that word turns up. What it looks for is chosen so that it
// occurs in every value the full comparison accepts; each candidate then goes through that
// same comparison.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelko::catalog {
class DiscIndex;
}

namespace pelko::search {

struct FindContext;
class FindProgress;
class HitSink;
class Matcher;

// False when the running flag stopped the search. `progress`, which may be null, is shown the
// root and then each folder that holds a hit (the search is too quick for more).
bool SearchIndexedScanObject(const catalog::DiscIndex& index, std::string_view scanObjectPath,
                             const FindContext& context, HitSink& hits, FindProgress* progress);

// The offsets of the values of a block (offsets.size() - 1 values, back to back) that may match:
// every value the matcher accepts is among them, in ascending order.
std::vector<std::uint32_t> CandidateValues(const Matcher& matcher, std::string_view block,
                                           std::span<const std::uint32_t> offsets);

}  // namespace pelko::search
