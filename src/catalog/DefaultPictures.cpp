#include "catalog/DefaultPictures.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <functional>
#include <system_error>
#include <vector>

#include "catalog/CCD.h"
#include "platform/AtomicFile.h"

namespace pelko::catalog {

namespace {

constexpr int kWidth = kDefaultPictureWidth;
constexpr int kHeight = kDefaultPictureHeight;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kPaletteEntries = 256;
constexpr std::size_t kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteEntries * 4;
constexpr std::size_t kPixelBytes = static_cast<std::size_t>(kWidth) * kHeight;  // rows need no padding
static_assert(kWidth % 4 == 0);
static_assert(kPixelOffset + kPixelBytes <= kDefaultPictureFileBytes);
static_assert(kDefaultPictureFileBytes % 4 == 0 &&
              kDefaultPictureFileBytes - (kPixelOffset + kPixelBytes) < 4);

// The palette indices the pictures are drawn with; the other entries are black.
enum Colour : std::uint8_t {
    kBackground,
    kOutline,
    kDarkGrey,
    kGrey,
    kLightGrey,
    kSilver,
    kRingBlue,
    kRingViolet,
    kFolderYellow,
    kFolderShade,
    kLedGreen,
    kTagRed,
    kCardCream,
    kHeaderBlue,
    kShadow,
    kPaper,
    kColourCount
};

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr std::array<Rgb, kColourCount> kColours = {{
    {255, 255, 255},  // background
    {40, 40, 48},     // outline
    {96, 98, 104},    // dark grey
    {150, 154, 160},  // grey
    {206, 208, 212},  // light grey
    {226, 230, 238},  // silver
    {168, 196, 236},  // ring blue
    {204, 186, 236},  // ring violet
    {250, 210, 98},   // folder yellow
    {218, 164, 52},   // folder shade
    {60, 196, 72},    // LED green
    {210, 52, 48},    // tag red
    {252, 244, 222},  // card cream
    {56, 104, 196},   // header blue
    {196, 198, 204},  // shadow
    {250, 250, 246},  // paper
}};

// A picture of palette indices, top row first. Shapes are tests of a pixel's centre; a shape
// is painted with a fill and, on its pixels that touch the outside, an outline.
class Canvas {
public:
    using Shape = std::function<bool(int x, int y)>;

    Canvas() { m_pixels.fill(kBackground); }

    void Paint(const Shape& inside, Colour fill) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (inside(x, y)) At(x, y) = fill;
    }

    void Paint(const Shape& inside, Colour fill, Colour outline) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (!inside(x, y)) continue;
                const bool edge =
                    !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                At(x, y) = edge ? outline : fill;
            }
    }

    void HorizontalLine(int x0, int x1, int y, Colour colour) {
        for (int x = x0; x < x1; ++x) At(x, y) = colour;
    }

    std::uint8_t& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y * kWidth + x)]; }
    std::uint8_t At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y * kWidth + x)]; }

private:
    std::array<std::uint8_t, kPixelBytes> m_pixels{};
};

// Pixels whose centre lies in [x0, x1) x [y0, y1).
Canvas::Shape Rect(int x0, int y0, int x1, int y1) {
    return [=](int x, int y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

// Pixels whose centre lies within `radius` of the point (cx, cy), in whole pixels; integer
// arithmetic on doubled coordinates keeps the result exact.
Canvas::Shape Circle(int cx, int cy, int radius) {
    return [=](int x, int y) {
        const long dx = 2L * x + 1 - 2L * cx;
        const long dy = 2L * y + 1 - 2L * cy;
        return dx * dx + dy * dy <= 4L * radius * radius;
    };
}

Canvas::Shape Ring(int cx, int cy, int outer, int inner) {
    return [outside = Circle(cx, cy, outer), hole = Circle(cx, cy, inner)](int x, int y) {
        return outside(x, y) && !hole(x, y);
    };
}

// A rectangle with its corners rounded by `radius`.
Canvas::Shape RoundRect(int x0, int y0, int x1, int y1, int radius) {
    return [=](int x, int y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const int cx = x < x0 + radius ? x0 + radius : (x >= x1 - radius ? x1 - radius : x);
        const int cy = y < y0 + radius ? y0 + radius : (y >= y1 - radius ? y1 - radius : y);
        if (cx == x || cy == y) return true;
        return Circle(cx, cy, radius)(x, y);
    };
}

// A stack of three index cards, the front one with a title band and lines of text, and a round
// tag hanging at its corner.
Canvas DrawCategory() {
    Canvas c;
    c.Paint(RoundRect(30, 8, 90, 46, 3), kLightGrey, kOutline);
    c.Paint(RoundRect(22, 14, 82, 52, 3), kSilver, kOutline);
    c.Paint(RoundRect(16, 22, 76, 62, 3), kShadow);
    c.Paint(RoundRect(14, 20, 74, 60, 3), kCardCream, kOutline);
    c.Paint(Rect(15, 21, 73, 28), kHeaderBlue);
    c.HorizontalLine(20, 66, 34, kGrey);
    c.HorizontalLine(20, 58, 40, kGrey);
    c.HorizontalLine(20, 62, 46, kGrey);
    c.HorizontalLine(20, 48, 52, kGrey);
    c.Paint(Circle(76, 52, 8), kTagRed, kOutline);
    c.Paint(Circle(76, 52, 2), kBackground, kOutline);
    return c;
}

// An optical disc seen from above: a shadow, the silver face with two coloured tracks, the
// clear hub and the centre hole.
Canvas DrawDisc() {
    Canvas c;
    c.Paint(Circle(52, 35, 30), kShadow);
    c.Paint(Circle(50, 33, 30), kSilver, kOutline);
    c.Paint(Ring(50, 33, 25, 21), kRingBlue);
    c.Paint(Ring(50, 33, 18, 15), kRingViolet);
    c.Paint(Circle(50, 33, 11), kLightGrey, kGrey);
    c.Paint(Circle(50, 33, 4), kBackground, kDarkGrey);
    return c;
}

// A hard-disk drive as a box in perspective: the lit top, the shaded right side and the front
// with two slots, a label and a green activity light.
Canvas DrawHardDisk() {
    constexpr int left = 10, right = 80, top = 32, bottom = 54, depth = 12;
    Canvas c;
    c.Paint(Rect(left + 3, bottom, right + depth, bottom + 4), kShadow);
    c.Paint(
        [=](int x, int y) {  // top face: rows shift right as they go back
            const int shift = top - y;
            return y >= top - depth && y <= top && x >= left + shift && x <= right + shift;
        },
        kLightGrey, kOutline);
    c.Paint(
        [=](int x, int y) {  // right face: columns rise as they go back
            const int rise = x - right;
            return x >= right && x <= right + depth && y >= top - rise && y <= bottom - rise;
        },
        kDarkGrey, kOutline);
    c.Paint(Rect(left, top, right + 1, bottom + 1), kGrey, kOutline);
    c.HorizontalLine(left + 6, left + 44, top + 7, kDarkGrey);
    c.HorizontalLine(left + 6, left + 44, top + 14, kDarkGrey);
    c.Paint(Rect(left + 48, top + 5, left + 60, top + 11), kHeaderBlue);
    c.Paint(Rect(right - 10, bottom - 7, right - 5, bottom - 3), kLedGreen, kOutline);
    return c;
}

// A folder: the back with its tab, a sheet of paper sticking out and the front panel.
Canvas DrawFolder() {
    Canvas c;
    c.Paint(Rect(15, 15, 91, 61), kShadow);
    c.Paint(RoundRect(12, 8, 42, 20, 2), kFolderShade, kOutline);
    c.Paint(Rect(12, 14, 88, 58), kFolderShade, kOutline);
    c.Paint(Rect(20, 18, 80, 34), kPaper, kGrey);
    c.HorizontalLine(26, 72, 23, kLightGrey);
    c.HorizontalLine(26, 64, 28, kLightGrey);
    c.Paint(
        [](int x, int y) {  // front panel, leaning back a little at its top
            const int lean = (58 - y) / 8;
            return y >= 26 && y < 58 && x >= 12 + lean && x < 88 - lean;
        },
        kFolderYellow, kOutline);
    return c;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A BMP file: file header, information header, palette, rows from the bottom up, and zero bytes
// up to the file size.
std::vector<std::uint8_t> EncodeBmp(const Canvas& canvas) {
    std::vector<std::uint8_t> out;
    out.reserve(kDefaultPictureFileBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(kDefaultPictureFileBytes));
    Put32(out, 0);  // two reserved words
    Put32(out, static_cast<std::uint32_t>(kPixelOffset));

    Put32(out, static_cast<std::uint32_t>(kInfoHeaderBytes));
    Put32(out, kWidth);
    Put32(out, kHeight);  // positive: bottom-up rows
    Put16(out, 1);        // planes
    Put16(out, 8);        // bits per pixel
    Put32(out, 0);        // no compression
    Put32(out, static_cast<std::uint32_t>(kPixelBytes));
    Put32(out, 2835);  // 72 dots per inch, as pixels per metre
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(kPaletteEntries));
    Put32(out, 0);  // all colours important

    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const Rgb rgb = i < kColours.size() ? kColours[i] : Rgb{0, 0, 0};
        out.insert(out.end(), {rgb.b, rgb.g, rgb.r, 0});
    }
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < kWidth; ++x) out.push_back(canvas.At(x, y));
    out.resize(kDefaultPictureFileBytes, 0);
    return out;
}

const std::vector<std::uint8_t>& Encoded(DefaultPicture picture) {
    static const std::array<std::vector<std::uint8_t>, 4> files = {
        EncodeBmp(DrawCategory()), EncodeBmp(DrawDisc()), EncodeBmp(DrawHardDisk()), EncodeBmp(DrawFolder())};
    return files[static_cast<std::size_t>(picture)];
}

}  // namespace

std::string_view DefaultPictureFileName(DefaultPicture picture) {
    switch (picture) {
        case DefaultPicture::Category:
            return "cat.bmp";
        case DefaultPicture::Disc:
            return "disk.bmp";
        case DefaultPicture::HardDisk:
            return "fdisk.bmp";
        case DefaultPicture::Folder:
            break;
    }
    return "fdir.bmp";
}

DefaultPicture DefaultPictureForKind(std::uint8_t kind) {
    switch (kind) {
        case CCD::kKindDisk:
            return DefaultPicture::Disc;
        case CCD::kKindFixedDisk:
            return DefaultPicture::HardDisk;
        default:
            return DefaultPicture::Folder;
    }
}

std::span<const std::uint8_t> DefaultPictureBytes(DefaultPicture picture) { return Encoded(picture); }

bool WriteDefaultPicture(DefaultPicture picture, const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) return false;
    // Written anew at every start, so a power cut cannot lose them for good: they are replaced
    // whole but not flushed, which would make every start wait for the disk.
    return platform::ReplaceFileContent(folder / DefaultPictureFileName(picture), DefaultPictureBytes(picture),
                                        platform::Durability::ProcessCrash);
}

bool WriteDefaultPictures(const std::filesystem::path& diskFolder) {
    bool all = true;
    for (const DefaultPicture picture : kAllDefaultPictures)
        all = WriteDefaultPicture(picture, diskFolder) && all;
    return all;
}

}  // namespace pelko::catalog
