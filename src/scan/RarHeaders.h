#pragma once
// Reader of the block headers of RAR archives of format versions 1.5 to 4.x: collects the
// name, unpacked size and DOS time of every file entry without reading any packed data.
//
// The walk keeps an exact count of the bytes that remain and ends, keeping what it has found,
// as soon as a length does not fit in them. Entries continued from or into another volume and
// folder entries are left out. RAR 5 archives (another marker) are refused.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/ByteSource.h"

namespace pelko::scan {

struct RarItem {
    std::string name;  // bytes as stored, up to the first zero, spaces trimmed
    std::uint64_t unpackedSize = 0;
    std::uint32_t dosDateTime = 0;  // time in the low half, date in the high half
};

// The items of the archive, or nullopt when the bytes are not a RAR 1.5-4.x archive or cannot
// be read.
std::optional<std::vector<RarItem>> ReadRarItems(ByteSource& source);

}  // namespace pelko::scan
