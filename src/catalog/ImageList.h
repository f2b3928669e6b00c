#pragma once
// The image-list stream in which a file record keeps its 16 x 16 icon.
//
// Layout: a 28-byte header ("IL", version 0x0101, image count, capacity, grow, cx, cy,
// background colour, flags, four overlay indices), then the colour bitmap of the list as a
// complete BMP file and, when the header's mask flag is set, the mask as a second complete
// 1-bit BMP file. Images sit four to a row in the bitmap. Lists written on Windows carry the
// display's colour depth at the time, so the reader accepts every BMP depth; it always consumes
// exactly both bitmaps, because the next record follows directly.

#include <array>
#include <cstdint>

#include "catalog/CArchive.h"

namespace pelko::catalog {

// One 16 x 16 icon, rows top-down, pixels 0xAARRGGBB. Pixels the mask hides have alpha 0 and
// colour 0 (the list's black background); visible pixels have alpha 0xFF.
struct IconImage {
    static constexpr int kSize = 16;
    std::array<std::uint32_t, kSize * kSize> pixels{};

    bool operator==(const IconImage&) const = default;
};

// Writes a one-image list: header, 24-bit colour BMP (64 x 16, four slots per row), 1-bit mask
// BMP of the same size.
void WriteImageList(CArchive& ar, const IconImage& icon);

// Reads a list and returns its first image (cropped or padded to 16 x 16). Throws ArchiveError
// (EndOfFile, or BadData for a wrong magic, an impossible bitmap header or a size the stream
// cannot hold) without reading beyond the two bitmaps.
IconImage ReadImageList(CArchive& ar);

}  // namespace pelko::catalog
