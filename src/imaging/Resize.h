#pragma once
// Scaling with smoothing, and the fitted thumbnail: a picture shrunk to fit a box, centred on a
// white canvas of exactly the box's size.

#include <optional>

#include "imaging/Image.h"

namespace pelko::imaging {

// The image resampled to width x height by area averaging (every source pixel contributes by
// the share of it that each target pixel covers). Nothing for an impossible size.
std::optional<Image> ScaleSmooth(const Image& image, int width, int height);

// The size a picture of `declared` size takes inside a box of `box`: unchanged when it fits,
// otherwise scaled by the box's height over its height when the box is relatively wider than
// the picture, else by the box's width over its width, the products truncated.
Size FittedSize(Size declared, Size box);

// The picture fitted into `box` (by its declared size) and centred on a white canvas of exactly
// box.width x box.height. Nothing when the box is empty or memory runs out.
std::optional<Image> FitThumbnail(const Image& image, Size box);

}  // namespace pelko::imaging
