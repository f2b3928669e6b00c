// Reads arbitrary bytes as a search index, both as a whole index file (header with its stamp,
// then the compressed body) and as a bare body, and searches every index that is accepted. What
// must hold whatever the bytes: nothing reads outside the index, every memo belongs to an item,
// and a search reports at most one hit per item plus its readme.
// Input: one byte choosing file (even) or body (odd), then the bytes.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "catalog/DiscIndex.h"
#include "search/FindContext.h"
#include "search/HitSink.h"
#include "search/IndexSearch.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class CountingHits final : public pelko::search::HitSink {
public:
    void Hit(std::string) override { ++count; }
    std::size_t count = 0;
};

void Exercise(const pelko::catalog::DiscIndex& index) {
    using namespace pelko::search;
    std::size_t bytes = 0;
    for (std::uint32_t i = 0; i < index.ItemCount(); ++i) bytes += index.Name(i).size();
    Check(bytes == index.NameBlock().size());
    for (std::size_t k = 0; k < index.MemoItems().size(); ++k) {
        Check(index.MemoItems()[k] < index.ItemCount());
        Check(k == 0 || index.MemoItems()[k - 1] < index.MemoItems()[k]);
        bytes += index.Memo(k).size();
    }
    const std::atomic<bool> running{true};
    for (const char* text : {"a", "", "*.t"}) {
        FindCriteria criteria;
        criteria.text = text;
        criteria.targets = kContentTargets;
        criteria.readme = true;
        const FindContext context(criteria, running, nullptr);
        CountingHits hits;
        Check(SearchIndexedScanObject(index, "P", context, hits, nullptr));
        Check(hits.count <= std::size_t{index.ItemCount()} + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pelko::catalog::DiscIndex;
    if (size == 0) return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::optional<DiscIndex> index;
    if (data[0] % 2 == 0) {
        if (const auto stamp = DiscIndex::PeekStamp(rest)) index = DiscIndex::Unpack(rest, *stamp);
    } else {
        index =
            DiscIndex::Decode(std::span<const char>(reinterpret_cast<const char*>(rest.data()), rest.size()));
    }
    if (index) Exercise(*index);
    return 0;
}
