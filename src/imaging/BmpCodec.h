#pragma once
// Windows bitmaps, read by our own code: 1, 4 and 8 bits with a colour table, 16 and 32 bits
// with or without bit masks, 24 bits; uncompressed, RLE8 and RLE4; bottom-up and top-down rows;
// the core header and the 40- to 124-byte info headers. Written as 24-bit uncompressed files.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Image.h"

namespace pelko::imaging {

// The picture of a BMP file, or nothing when the bytes are not a bitmap this reader handles
// or are cut short. Declared sizes are checked against the bytes present before allocating.
std::optional<Image> DecodeBmp(std::span<const std::uint8_t> file);

// A 24-bit uncompressed BMP file of the image, or nothing when it is too large for the format.
std::optional<std::vector<std::uint8_t>> EncodeBmp(const Image& image);

}  // namespace pelko::imaging
