#include "scan/IconBitmap.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "scan/ByteSource.h"

namespace pelko::scan {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::size_t RowBytes(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

}  // namespace

std::optional<RgbaImage> DecodeDibIcon(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kInfoHeaderBytes) return std::nullopt;
    const std::uint32_t headerSize = Le32(&bytes[0]);
    const auto width = static_cast<std::int32_t>(Le32(&bytes[4]));
    const auto doubleHeight = static_cast<std::int32_t>(Le32(&bytes[8]));
    const std::uint16_t bitCount = Le16(&bytes[14]);
    const std::uint32_t compression = Le32(&bytes[16]);
    const std::uint32_t coloursUsed = Le32(&bytes[32]);
    if (headerSize < kInfoHeaderBytes || headerSize > bytes.size()) return std::nullopt;
    // The height counts the colour rows and the mask rows together; icons are bottom-up.
    const int height = doubleHeight / 2;
    if (width <= 0 || width > kMaxIconSide || height <= 0 || height > kMaxIconSide) return std::nullopt;
    if (compression != 0) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return std::nullopt;

    std::size_t paletteSize = 0;
    if (bitCount <= 8) {
        const std::size_t full = std::size_t{1} << bitCount;
        paletteSize = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
    }
    const std::size_t paletteAt = headerSize;
    const std::size_t colourAt = paletteAt + paletteSize * 4;
    const std::size_t colourRow = RowBytes(width, bitCount);
    const std::size_t maskAt = colourAt + colourRow * static_cast<std::size_t>(height);
    const std::size_t maskRow = RowBytes(width, 1);
    if (bytes.size() < maskAt) return std::nullopt;
    // Some writers leave the mask out of 32-bit images, which carry their own alpha.
    const bool hasMask = bytes.size() >= maskAt + maskRow * static_cast<std::size_t>(height);

    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    bool alphaUsed = false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            bytes.data() + colourAt + colourRow * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t argb = 0;
            if (bitCount <= 8) {
                const int perByte = 8 / bitCount;
                const int shift = 8 - bitCount * (x % perByte + 1);
                const std::size_t index = (row[x / perByte] >> shift) & ((1u << bitCount) - 1);
                if (index < paletteSize) {
                    const std::uint8_t* q = bytes.data() + paletteAt + index * 4;
                    argb = 0xFF000000u | (std::uint32_t{q[2]} << 16) | (std::uint32_t{q[1]} << 8) | q[0];
                } else {
                    argb = 0xFF000000u;
                }
            } else {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bitCount / 8);
                const std::uint32_t alpha = bitCount == 32 ? p[3] : 0xFF;
                if (bitCount == 32 && alpha != 0) alphaUsed = true;
                argb = (alpha << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            }
            image.pixels[static_cast<std::size_t>(y) * width + x] = argb;
        }
    }
    // A 32-bit image with an all-zero alpha channel is an old-style icon drawn through its mask.
    const bool useAlpha = bitCount == 32 && alphaUsed;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* mask =
            hasMask ? bytes.data() + maskAt + maskRow * static_cast<std::size_t>(height - 1 - y) : nullptr;
        for (int x = 0; x < width; ++x) {
            std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(y) * width + x];
            if (!useAlpha) pixel |= 0xFF000000u;
            if (!useAlpha && mask && (mask[x / 8] & (0x80 >> (x % 8)))) pixel = 0;
        }
    }
    return image;
}

std::optional<RgbaImage> DecodePngIcon(std::span<const std::uint8_t> bytes) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    if (png.width == 0 || png.width > kMaxIconSide || png.height == 0 || png.height > kMaxIconSide) {
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_BGRA;  // in memory: B G R A, which is 0xAARRGGBB little-endian
    std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    RgbaImage image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t* p = &buffer[i * 4];
        image.pixels[i] =
            (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    }
    return image;
}

std::optional<RgbaImage> DecodeIconImage(std::span<const std::uint8_t> bytes) {
    try {
        if (bytes.size() >= sizeof kPngSignature &&
            std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin()))
            return DecodePngIcon(bytes);
        return DecodeDibIcon(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

catalog::IconImage ToSmallIcon(const RgbaImage& image) {
    constexpr int kSide = catalog::IconImage::kSize;
    catalog::IconImage icon;
    for (int y = 0; y < kSide; ++y) {
        // Source rows and columns [begin, end) that fall into this pixel; at least one each.
        const int y0 = y * image.height / kSide;
        const int y1 = std::max(y0 + 1, (y + 1) * image.height / kSide);
        for (int x = 0; x < kSide; ++x) {
            const int x0 = x * image.width / kSide;
            const int x1 = std::max(x0 + 1, (x + 1) * image.width / kSide);
            // Colours are averaged weighted by their opacity, so hidden pixels do not darken
            // the visible ones next to them.
            std::uint64_t a = 0, r = 0, g = 0, b = 0, count = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const std::uint32_t p = image.pixels[static_cast<std::size_t>(sy) * image.width + sx];
                    const std::uint32_t alpha = p >> 24;
                    a += alpha;
                    r += ((p >> 16) & 0xFF) * alpha;
                    g += ((p >> 8) & 0xFF) * alpha;
                    b += (p & 0xFF) * alpha;
                    ++count;
                }
            }
            std::uint32_t out = 0;
            if (a * 2 >= count * 0xFF && a != 0) {
                out = 0xFF000000u | static_cast<std::uint32_t>((r / a) << 16) |
                      static_cast<std::uint32_t>((g / a) << 8) | static_cast<std::uint32_t>(b / a);
            }
            icon.pixels[static_cast<std::size_t>(y) * kSide + x] = out;
        }
    }
    return icon;
}

}  // namespace pelko::scan
