// Feeds arbitrary bytes to the JPEG, GIF and TIFF decoders, the first byte choosing which and
// whether the JPEG decoder may reduce the picture. A decoded picture must then go through the
// thumbnail fit and the JPEG encoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/DecodePicture.h"
#include "imaging/JpegCodec.h"
#include "imaging/Resize.h"

using pelko::imaging::PictureFormat;
using pelko::imaging::Size;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t selector = data[0];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    const PictureFormat formats[] = {PictureFormat::kJpeg, PictureFormat::kGif, PictureFormat::kTiff};
    const PictureFormat format = formats[selector % 3];
    const bool reduce = (selector / 3) % 2 == 1;
    const auto image = pelko::imaging::DecodePicture(format, file, reduce ? pelko::imaging::CoverSize(
                                                                               [](Size) { return Size{32, 24}; })
                                                                         : pelko::imaging::CoverSize());
    if (!image) return 0;
    const auto thumbnail = pelko::imaging::FitThumbnail(*image, Size{32, 24});
    if (!thumbnail || thumbnail->PixelSize() != (Size{32, 24})) std::abort();
    if (!pelko::imaging::EncodeJpeg(*thumbnail, 80)) std::abort();
    return 0;
}
