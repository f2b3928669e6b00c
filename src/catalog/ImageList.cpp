#include "catalog/ImageList.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

namespace pelko::catalog {

namespace {

constexpr int kSize = IconImage::kSize;

// List header.
constexpr std::uint16_t kListMagic = 0x4C49;  // "IL"
constexpr std::uint16_t kListVersion = 0x0101;
constexpr std::uint16_t kFlagMask = 0x0001;      // a mask bitmap follows the colour bitmap
constexpr std::uint16_t kFlagsWritten = 0x00FF;  // device-dependent colour, with a mask
constexpr int kSlotsPerRow = 4;
constexpr std::uint16_t kWrittenCapacity = 4;
constexpr std::uint16_t kWrittenGrow = 4;
constexpr std::uint16_t kNoOverlay = 0xFFFF;  // -1 as a 16-bit field

// BMP file.
constexpr std::uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;       // BITMAPCOREHEADER: 16-bit sizes, 3-byte palette
constexpr std::uint32_t kInfoHeaderSize = 40;       // BITMAPINFOHEADER
constexpr std::uint32_t kHeaderWithMasksSize = 52;  // from here on the header holds the colour masks
constexpr std::uint32_t kCompressionNone = 0;       // BI_RGB
constexpr std::uint32_t kCompressionBitfields = 3;  // BI_BITFIELDS

// Largest bitmap side accepted. Rows are decoded one at a time, so this bounds the row buffer
// (64 KiB at 32 bits per pixel) and turns away sizes no image list has.
constexpr std::int64_t kMaxSide = 16384;

[[noreturn]] void ThrowBadData(const char* what) { throw ArchiveError(ArchiveError::Kind::BadData, what); }

std::uint32_t RowBytes(std::uint64_t width, unsigned bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// ---------------------------------------------------------------------------------------------
// Writing

void WriteBitmapHeaders(CArchive& ar, int width, int height, std::uint16_t bitsPerPixel,
                        std::uint32_t paletteBytes, std::uint32_t pixelBytes) {
    const std::uint32_t bitsOffset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    ar.WriteWord(kBitmapMagic);
    ar.WriteDword(bitsOffset + pixelBytes);
    ar.WriteWord(0);
    ar.WriteWord(0);
    ar.WriteDword(bitsOffset);

    ar.WriteDword(kInfoHeaderSize);
    ar.WriteDword(static_cast<std::uint32_t>(width));
    ar.WriteDword(static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    ar.WriteWord(1);                                    // planes
    ar.WriteWord(bitsPerPixel);
    ar.WriteDword(kCompressionNone);
    ar.WriteDword(pixelBytes);
    ar.WriteDword(0);  // horizontal resolution
    ar.WriteDword(0);  // vertical resolution
    ar.WriteDword(0);  // colours used: all the depth allows
    ar.WriteDword(0);  // important colours: all
}

bool IsVisible(std::uint32_t argb) { return (argb >> 24) != 0; }

// ---------------------------------------------------------------------------------------------
// Reading

// One colour channel of a 16- or 32-bit pixel, given by its bit mask.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

Channel MakeChannel(std::uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    return {mask, shift, static_cast<int>(std::bit_width(mask >> shift))};
}

// Scales a channel to 8 bits. Narrow channels repeat their bits downwards, so that the
// channel's maximum becomes 255 (5-bit 31 -> 255, 5-bit 16 -> 132).
std::uint32_t ChannelValue(std::uint32_t pixel, const Channel& c) {
    if (c.bits == 0) return 0;
    const std::uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8) return v >> (c.bits - 8);
    std::uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << c.bits) | v;
        filled += c.bits;
    }
    return out >> (filled - 8);
}

// What is kept of a bitmap: its size and the colours (0x00RRGGBB) of its top-left 16 x 16
// corner, which is where image 0 sits. Entries outside the bitmap stay 0.
struct Corner {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::array<std::uint32_t, kSize * kSize> rgb{};

    bool Covers(int x, int y) const { return x < width && y < height; }
};

struct PixelFormat {
    unsigned bitsPerPixel = 0;
    std::array<std::uint32_t, 256> palette{};  // indices past the stored palette read as black
    std::array<Channel, 3> channels{};         // red, green, blue of 16- and 32-bit pixels
};

std::uint32_t DecodePixel(const std::uint8_t* row, std::int64_t x, const PixelFormat& f) {
    switch (f.bitsPerPixel) {
        case 1:
            return f.palette[(row[x >> 3] >> (7 - (x & 7))) & 0x1];
        case 4:
            return f.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        case 8:
            return f.palette[row[x]];
        case 24: {
            const std::uint8_t* p = row + x * 3;
            return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
        }
        default: {
            std::uint32_t v;
            if (f.bitsPerPixel == 16) {
                const std::uint8_t* p = row + x * 2;
                v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
            } else {
                const std::uint8_t* p = row + x * 4;
                v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                    std::uint32_t{p[3]} << 24;
            }
            return ChannelValue(v, f.channels[0]) << 16 | ChannelValue(v, f.channels[1]) << 8 |
                   ChannelValue(v, f.channels[2]);
        }
    }
}

// Reads and drops `count` bytes.
void Skip(CArchive& ar, std::uint64_t count) {
    std::array<std::uint8_t, 512> scratch;
    while (count > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, scratch.size()));
        ar.ReadRaw(std::span(scratch.data(), chunk));
        count -= chunk;
    }
}

// Skips forward to byte `offset` of the bitmap file that began at archive position `start`.
void SkipTo(CArchive& ar, std::uint64_t start, std::uint64_t offset) {
    const std::uint64_t at = ar.Position() - start;
    if (offset > at) Skip(ar, offset - at);
}

// Reads one complete BMP file: file header, info header, masks or palette, pixel rows. The
// pixel rows are found through the file header's offset and their size is computed from the
// info header (the file-size field is not trusted), so the stream ends up right after the last
// row, where the next part of the record begins.
Corner ReadBitmap(CArchive& ar) {
    const std::uint64_t start = ar.Position();
    if (ar.ReadWord() != kBitmapMagic) ThrowBadData("image list bitmap lacks its BM signature");
    ar.ReadDword();  // file size
    ar.ReadWord();   // reserved
    ar.ReadWord();
    const std::uint32_t bitsOffset = ar.ReadDword();
    const std::uint32_t headerSize = ar.ReadDword();

    Corner out;
    PixelFormat format;
    std::uint32_t compression = kCompressionNone;
    std::uint32_t colorsUsed = 0;
    bool topDown = false;
    std::uint32_t paletteEntryBytes = 4;
    if (headerSize == kCoreHeaderSize) {
        out.width = ar.ReadWord();
        out.height = ar.ReadWord();
        ar.ReadWord();  // planes
        format.bitsPerPixel = ar.ReadWord();
        paletteEntryBytes = 3;
    } else if (headerSize >= kInfoHeaderSize) {
        out.width = static_cast<std::int32_t>(ar.ReadDword());
        const auto height = static_cast<std::int32_t>(ar.ReadDword());
        ar.ReadWord();  // planes
        format.bitsPerPixel = ar.ReadWord();
        compression = ar.ReadDword();
        ar.ReadDword();  // image size
        ar.ReadDword();  // horizontal resolution
        ar.ReadDword();  // vertical resolution
        colorsUsed = ar.ReadDword();
        ar.ReadDword();  // important colours
        topDown = height < 0;
        out.height = std::abs(std::int64_t{height});
    } else {
        ThrowBadData("image list bitmap has an unknown header size");
    }

    if (out.width <= 0 || out.width > kMaxSide || out.height == 0 || out.height > kMaxSide)
        ThrowBadData("image list bitmap has an impossible size");
    switch (format.bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            ThrowBadData("image list bitmap has an unsupported colour depth");
    }
    const bool bitfields = compression == kCompressionBitfields;
    if (bitfields ? (format.bitsPerPixel != 16 && format.bitsPerPixel != 32)
                  : compression != kCompressionNone)
        ThrowBadData("image list bitmap uses an unsupported compression");

    const bool masksAfterHeader = bitfields && headerSize < kHeaderWithMasksSize;
    std::uint32_t paletteCount = 0;
    if (format.bitsPerPixel <= 8) {
        const std::uint32_t full = 1u << format.bitsPerPixel;
        paletteCount = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    }
    const std::uint64_t headersEnd = std::uint64_t{kFileHeaderSize} + headerSize +
                                     (masksAfterHeader ? 12 : 0) +
                                     std::uint64_t{paletteCount} * paletteEntryBytes;
    if (bitsOffset < headersEnd) ThrowBadData("image list bitmap places its pixels inside its headers");

    const std::uint32_t rowBytes = RowBytes(static_cast<std::uint64_t>(out.width), format.bitsPerPixel);
    const std::uint64_t pixelBytes = std::uint64_t{rowBytes} * static_cast<std::uint64_t>(out.height);
    const std::uint64_t toBits = bitsOffset - (ar.Position() - start);
    if (toBits + pixelBytes > ar.RemainingBound())
        ThrowBadData("image list bitmap is larger than its record");

    if (format.bitsPerPixel == 16) {
        format.channels = {MakeChannel(0x7C00), MakeChannel(0x03E0), MakeChannel(0x001F)};
    } else if (format.bitsPerPixel == 32) {
        format.channels = {MakeChannel(0xFF0000), MakeChannel(0x00FF00), MakeChannel(0x0000FF)};
    }
    auto readMasks = [&] {
        const std::uint32_t red = ar.ReadDword();
        const std::uint32_t green = ar.ReadDword();
        const std::uint32_t blue = ar.ReadDword();
        format.channels = {MakeChannel(red), MakeChannel(green), MakeChannel(blue)};
    };
    if (bitfields && !masksAfterHeader) readMasks();  // the first fields past the 40 common bytes
    SkipTo(ar, start, kFileHeaderSize + std::uint64_t{headerSize});
    if (masksAfterHeader) readMasks();

    for (std::uint32_t i = 0; i < paletteCount; ++i) {
        std::array<std::uint8_t, 4> entry{};  // blue, green, red, reserved
        ar.ReadRaw(std::span(entry.data(), paletteEntryBytes));
        format.palette[i] = std::uint32_t{entry[2]} << 16 | std::uint32_t{entry[1]} << 8 | entry[0];
    }
    SkipTo(ar, start, bitsOffset);

    std::vector<std::uint8_t> row(rowBytes);
    const std::int64_t keptWidth = std::min<std::int64_t>(out.width, kSize);
    for (std::int64_t stored = 0; stored < out.height; ++stored) {
        ar.ReadRaw(row);
        const std::int64_t y = topDown ? stored : out.height - 1 - stored;
        if (y >= kSize) continue;
        for (std::int64_t x = 0; x < keptWidth; ++x)
            out.rgb[y * kSize + x] = DecodePixel(row.data(), x, format);
    }
    return out;
}

// A mask pixel hides the image pixel when it is white (1 in the usual black-and-white
// palette). Other depths or palettes count by the nearer of black and white.
bool IsHiddenByMask(std::uint32_t rgb) {
    const std::uint32_t sum = (rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF);
    return sum * 2 > 3 * 255;
}

}  // namespace

void WriteImageList(CArchive& ar, const IconImage& icon) {
    ar.WriteWord(kListMagic);
    ar.WriteWord(kListVersion);
    ar.WriteWord(1);  // image count
    ar.WriteWord(kWrittenCapacity);
    ar.WriteWord(kWrittenGrow);
    ar.WriteWord(kSize);  // cx
    ar.WriteWord(kSize);  // cy
    ar.WriteDword(0);     // background colour
    ar.WriteWord(kFlagsWritten);
    for (int i = 0; i < 4; ++i) ar.WriteWord(kNoOverlay);

    // Both bitmaps hold the whole capacity: four slots in one row, image 0 in the first. Rows
    // are stored bottom-up. Hidden pixels and the empty slots are black in the colour bitmap
    // and white (1) in the mask.
    constexpr int kWidth = kSize * kSlotsPerRow;
    constexpr int kHeight = kSize;

    const std::uint32_t colourRow = RowBytes(kWidth, 24);
    std::vector<std::uint8_t> colour(std::size_t{colourRow} * kHeight, 0);
    const std::uint32_t maskRow = RowBytes(kWidth, 1);
    std::vector<std::uint8_t> mask(std::size_t{maskRow} * kHeight, 0xFF);
    for (int y = 0; y < kSize; ++y) {
        const std::size_t stored = static_cast<std::size_t>(kHeight - 1 - y);
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t argb = icon.pixels[y * kSize + x];
            if (!IsVisible(argb)) continue;
            std::uint8_t* p = &colour[stored * colourRow + static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<std::uint8_t>(argb);
            p[1] = static_cast<std::uint8_t>(argb >> 8);
            p[2] = static_cast<std::uint8_t>(argb >> 16);
            mask[stored * maskRow + static_cast<std::size_t>(x / 8)] &=
                static_cast<std::uint8_t>(~(0x80u >> (x % 8)));
        }
    }

    WriteBitmapHeaders(ar, kWidth, kHeight, 24, 0, static_cast<std::uint32_t>(colour.size()));
    ar.WriteRaw(colour);

    WriteBitmapHeaders(ar, kWidth, kHeight, 1, 8, static_cast<std::uint32_t>(mask.size()));
    ar.WriteDword(0x00000000);  // palette: 0 = black = shown
    ar.WriteDword(0x00FFFFFF);  //          1 = white = hidden
    ar.WriteRaw(mask);
}

IconImage ReadImageList(CArchive& ar) {
    if (ar.ReadWord() != kListMagic) ThrowBadData("not an image list");
    if (ar.ReadWord() != kListVersion) ThrowBadData("unsupported image list version");
    const std::uint16_t count = ar.ReadWord();
    ar.ReadWord();  // capacity
    ar.ReadWord();  // grow
    const int cx = ar.ReadWord();
    const int cy = ar.ReadWord();
    ar.ReadDword();  // background colour
    const std::uint16_t flags = ar.ReadWord();
    for (int i = 0; i < 4; ++i) ar.ReadWord();  // overlay images

    const Corner colour = ReadBitmap(ar);
    std::optional<Corner> mask;
    if (flags & kFlagMask) mask = ReadBitmap(ar);

    // Image 0 is the cx x cy block at the top left. Where the bitmaps are smaller than that
    // block, the list's own bitmaps show through: black in colour, 0 (shown) in the mask. An
    // empty list has no image 0 to show.
    IconImage icon;
    if (count == 0) return icon;
    const int width = std::min(cx, kSize);
    const int height = std::min(cy, kSize);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int at = y * kSize + x;
            if (mask && mask->Covers(x, y) && IsHiddenByMask(mask->rgb[at])) continue;
            icon.pixels[at] = 0xFF000000u | (colour.Covers(x, y) ? colour.rgb[at] : 0);
        }
    }
    return icon;
}

}  // namespace pelko::catalog
