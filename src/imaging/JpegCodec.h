#pragma once
// JPEG through libjpeg-turbo. Decoding can let the codec's scaled inverse DCT produce a copy of
// 1/8, 2/8 ... 8/8 of the picture's size straight away, which skips most of the work when the
// picture only feeds a small thumbnail.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Image.h"

namespace pelko::imaging {

// Given the size a picture declares, the smallest size its decoded copy must still cover.
using CoverSize = std::function<Size(Size declared)>;

// The picture of a JPEG file (grey, YCbCr, RGB, CMYK or YCCK; baseline or progressive), or
// nothing when it cannot be decoded. With `cover`, it is decoded at the smallest scale whose
// result is at least as large as the size `cover` asks for; the image's declared size stays
// the file's.
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> file, const CoverSize& cover = {});

// The size a JPEG file declares, read from its header only.
std::optional<Size> JpegDeclaredSize(std::span<const std::uint8_t> file);

// A baseline JFIF file of the image at the given quality (1..100), or nothing when the codec
// refuses (for instance a side beyond 65500 pixels).
std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Image& image, int quality);

}  // namespace pelko::imaging
