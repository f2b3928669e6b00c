#pragma once
// The first page of a TIFF file through libtiff's RGBA interface, which covers every
// photometric interpretation, bit depth and compression the library knows.

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Image.h"

namespace pelko::imaging {

// The first page of a TIFF file, composited on white where it has alpha; nothing when libtiff
// cannot read it.
std::optional<Image> DecodeTiff(std::span<const std::uint8_t> file);

}  // namespace pelko::imaging
