// Feeds arbitrary bytes to the RAR header reader. Besides crashes and sanitizer reports it
// checks that every item it returns could have come from the input: a name no longer than the
// input, never empty.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "scan/ByteSource.h"
#include "scan/RarHeaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelko::scan::MemoryByteSource source({data, size});
    const auto items = pelko::scan::ReadRarItems(source);
    if (!items) return 0;
    if (items->size() > size / 32 + 1) std::abort();
    for (const auto& item : *items)
        if (item.name.empty() || item.name.size() > size) std::abort();
    return 0;
}
