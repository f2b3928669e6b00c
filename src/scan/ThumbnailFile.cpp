#include "scan/ThumbnailFile.h"

#include "platform/AtomicFile.h"

namespace pelko::scan {

bool WriteThumbnailFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // Not flushed to the disk one by one: a scan writes thousands, and a thumbnail lost to a
    // power cut is made again by the next scan. Replaced whole, it is never seen half written.
    return platform::ReplaceFileContent(path, bytes, platform::Durability::ProcessCrash);
}

}  // namespace pelko::scan
