// Feeds arbitrary bytes to the Photoshop reader. Besides crashes and sanitizer reports it
// checks that a success leaves exactly one of the two results: an embedded thumbnail no larger
// than the input, or a bitmap of the declared size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "scan/ByteSource.h"
#include "scan/CPsdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelko::scan::MemoryByteSource source(std::span<const std::uint8_t>(data, size));
    pelko::scan::CPsdReader reader;
    if (reader.Read(&source, {}) != pelko::scan::CPsdReader::kOk) return 0;
    if (reader.ThumbnailFound()) {
        if (reader.ThumbnailJpeg().size() > size || !reader.Bitmap().empty()) std::abort();
        return 0;
    }
    const auto image = reader.MakeImage();
    if (!image || image->Width() != reader.Width() || image->Height() != reader.Height()) std::abort();
    return 0;
}
