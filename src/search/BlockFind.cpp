#include "search/BlockFind.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelko::search {

std::size_t FindInBlock(std::string_view block, std::string_view needle, std::size_t from) {
    if (from > block.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    if (needle.size() > block.size() - from) return std::string_view::npos;
    const char* const base = block.data();
    const std::size_t k = needle.size();
    if (k == 1) {
        const void* hit = std::memchr(base + from, needle[0], block.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : std::string_view::npos;
    }
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    // Positions at..at+15 are tested while their last bytes, at+k-1..at+k+14, lie in the block.
    while (at + k + 15 <= block.size()) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at + k - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
        while (mask != 0) {
            const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(base + at + bit + 1, needle.data() + 1, k - 2) == 0) return at + bit;
            mask &= mask - 1;
        }
        at += 16;
    }
#endif
    const void* hit = ::memmem(base + at, block.size() - at, needle.data(), k);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : std::string_view::npos;
}

}  // namespace pelko::search
