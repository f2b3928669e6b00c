#pragma once
// One entry for the four raster formats.

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Image.h"
#include "imaging/JpegCodec.h"

namespace pelko::imaging {

enum class PictureFormat { kBmp, kJpeg, kGif, kTiff };

// The first picture of a file of the given format. `cover` lets decoders that can produce a
// reduced copy cheaply (JPEG) stop at the smallest size still covering it; others ignore it.
std::optional<Image> DecodePicture(PictureFormat format, std::span<const std::uint8_t> file,
                                   const CoverSize& cover = {});

}  // namespace pelko::imaging
