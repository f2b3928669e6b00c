#include "imaging/Image.h"

#include <new>

namespace pelko::imaging {

bool IsAllowedSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
           width * height <= kMaxImagePixels;
}

std::optional<Image> Image::Create(int width, int height, std::uint8_t fill) {
    if (!IsAllowedSize(width, height)) return std::nullopt;
    try {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3,
                                      fill);
        return Image(Size{width, height}, std::move(rgb));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<Image> ImageFromBitmap24(std::span<const std::uint8_t> bits, int width, int height,
                                       std::size_t stride, bool bottomUp) {
    if (!IsAllowedSize(width, height) || stride < static_cast<std::size_t>(width) * 3) return std::nullopt;
    if (bits.size() / stride < static_cast<std::size_t>(height)) return std::nullopt;
    std::optional<Image> image = Image::Create(width, height);
    if (!image) return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in =
            bits.data() + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * stride;
        std::uint8_t* out = image->Row(y);
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return image;
}

}  // namespace pelko::imaging
