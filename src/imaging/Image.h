#pragma once
// A decoded picture: 8-bit RGB samples, rows top to bottom, no padding. Besides its pixel size it
// remembers the size its file declares, which differs when a decoder produced a reduced copy
// (a JPEG decoded at 1/2, 1/4 ... of its size): size decisions are made on the declared size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelko::imaging {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The most pixels any image may hold: a picture declaring more is refused before anything is
// allocated (3 bytes a pixel, so at most 192 MiB).
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{64} << 20;

// True when a picture of that size may be allocated.
bool IsAllowedSize(std::int64_t width, std::int64_t height);

class Image {
public:
    // A w x h image filled with one grey level (255: white), or nothing when the size is not
    // allowed or memory runs out.
    static std::optional<Image> Create(int width, int height, std::uint8_t fill = 255);

    int Width() const { return m_size.width; }
    int Height() const { return m_size.height; }
    Size PixelSize() const { return m_size; }
    Size DeclaredSize() const { return m_declared; }
    void SetDeclaredSize(Size declared) { m_declared = declared; }

    std::uint8_t* Row(int y) { return m_rgb.data() + static_cast<std::size_t>(y) * RowBytes(); }
    const std::uint8_t* Row(int y) const { return m_rgb.data() + static_cast<std::size_t>(y) * RowBytes(); }
    std::size_t RowBytes() const { return static_cast<std::size_t>(m_size.width) * 3; }
    std::span<const std::uint8_t> Samples() const { return m_rgb; }

private:
    Image(Size size, std::vector<std::uint8_t> rgb) : m_size(size), m_declared(size), m_rgb(std::move(rgb)) {}

    Size m_size;
    Size m_declared;
    std::vector<std::uint8_t> m_rgb;
};

// An image from a 24-bit bitmap: rows of blue, green, red samples, `stride` bytes apart, the
// bottom row first when `bottomUp`. Nothing when the bytes do not hold the whole bitmap.
std::optional<Image> ImageFromBitmap24(std::span<const std::uint8_t> bits, int width, int height,
                                       std::size_t stride, bool bottomUp);

}  // namespace pelko::imaging
