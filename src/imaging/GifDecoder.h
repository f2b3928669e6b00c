#pragma once
// The first picture of a GIF file through giflib, drawn on its logical screen.

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Image.h"

namespace pelko::imaging {

// The first frame of a GIF file on a white canvas of the logical screen's size (the frame's
// own size when the screen is empty); transparent pixels stay white. Nothing when the file has
// no frame or the frame's data is cut short.
std::optional<Image> DecodeGif(std::span<const std::uint8_t> file);

}  // namespace pelko::imaging
