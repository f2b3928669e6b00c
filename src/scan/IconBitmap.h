#pragma once
// Decodes one image of a Windows icon resource (a DIB with its AND mask, or a PNG stream) and
// brings it to the 16 x 16 form kept in a file record.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "catalog/ImageList.h"

namespace pelko::scan {

// Pixels 0xAARRGGBB, rows top-down.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Icons are at most 256 x 256; larger sizes in a header are damage, not pictures.
constexpr int kMaxIconSide = 256;

// A DIB icon image (BITMAPINFOHEADER, palette, colour rows, AND mask rows) of 1, 4, 8, 24 or
// 32 bits per pixel. Pixels the AND mask hides get alpha 0; a 32-bit image whose alpha channel
// is in use keeps that channel.
std::optional<RgbaImage> DecodeDibIcon(std::span<const std::uint8_t> bytes);

// A PNG-compressed icon image.
std::optional<RgbaImage> DecodePngIcon(std::span<const std::uint8_t> bytes);

// Either kind, told apart by the PNG signature.
std::optional<RgbaImage> DecodeIconImage(std::span<const std::uint8_t> bytes);

// The 16 x 16 form: copied when the image has that size, else area-averaged to it. A pixel is
// shown when at least half opaque; hidden pixels are black with alpha 0.
catalog::IconImage ToSmallIcon(const RgbaImage& image);

}  // namespace pelko::scan
