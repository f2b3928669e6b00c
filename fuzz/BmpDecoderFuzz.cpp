// Feeds arbitrary bytes to the BMP reader. A picture it returns must survive our own BMP
// writer and a second read unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <span>

#include "imaging/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = pelko::imaging::DecodeBmp(std::span<const std::uint8_t>(data, size));
    if (!image) return 0;
    // Keep the round trip cheap for the large pictures RLE can describe in a few bytes.
    if (image->Samples().size() > (std::size_t{1} << 22)) return 0;
    const auto written = pelko::imaging::EncodeBmp(*image);
    if (!written) std::abort();
    const auto again = pelko::imaging::DecodeBmp(*written);
    if (!again || again->PixelSize() != image->PixelSize() || !std::ranges::equal(again->Samples(), image->Samples()))
        std::abort();
    return 0;
}
