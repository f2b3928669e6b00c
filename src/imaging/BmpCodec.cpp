#include "imaging/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <new>

namespace pelko::imaging {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// An RLE stream may describe far more pixels than it has bytes (runs, skips, an early end);
// beyond this many pixels for each byte of data the declared size is not believed.
constexpr std::int64_t kRlePixelsPerByte = 256;
constexpr std::int64_t kRleBasePixels = std::int64_t{1} << 16;

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// One colour component of a masked pixel, widened or narrowed to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        const int bits = std::countr_one(m >> shift);
        max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    }
    std::uint8_t Of(std::uint32_t pixel) const {
        if (!max) return 0;
        const std::uint64_t v = ((pixel & mask) >> shift) & max;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // positive: rows bottom-up
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t masks[3] = {0, 0, 0};
    std::vector<Rgb> palette;
    std::size_t dataOffset = 0;
};

std::optional<Header> ReadHeader(std::span<const std::uint8_t> file) {
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    Header h;
    h.dataOffset = U32(file, 10);
    const std::uint32_t infoSize = U32(file, 14);
    std::size_t paletteAt = 14 + std::size_t{infoSize};
    std::size_t paletteEntryBytes = 4;
    std::uint32_t coloursUsed = 0;
    if (infoSize == 12) {
        h.width = U16(file, 18);
        h.height = U16(file, 20);
        h.bitCount = U16(file, 24);
        paletteEntryBytes = 3;
    } else if (infoSize >= 40 && infoSize <= 124 && file.size() >= 14 + std::size_t{infoSize}) {
        h.width = static_cast<std::int32_t>(U32(file, 18));
        h.height = static_cast<std::int32_t>(U32(file, 22));
        h.bitCount = U16(file, 28);
        h.compression = U32(file, 30);
        coloursUsed = U32(file, 46);
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            // Masks follow a 40-byte header; larger headers hold them themselves.
            const std::size_t at = 54;
            if (file.size() < at + 12) return std::nullopt;
            for (int i = 0; i < 3; ++i) h.masks[i] = U32(file, at + 4 * static_cast<std::size_t>(i));
            if (infoSize == 40) paletteAt += h.compression == kAlphaBitFields ? 16 : 12;
        }
    } else {
        return std::nullopt;
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (!IsAllowedSize(h.width, h.height)) return std::nullopt;

    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
            if (h.compression != kRgb && !(h.compression == kRle8 && h.bitCount == 8) &&
                !(h.compression == kRle4 && h.bitCount == 4))
                return std::nullopt;
            break;
        case 16:
        case 32:
            if (h.compression != kRgb && h.compression != kBitFields && h.compression != kAlphaBitFields)
                return std::nullopt;
            if (h.compression == kRgb) {
                if (h.bitCount == 16) {
                    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
                } else {
                    h.masks[0] = 0xFF0000, h.masks[1] = 0x00FF00, h.masks[2] = 0x0000FF;
                }
            }
            break;
        default:
            return std::nullopt;
    }

    if (h.bitCount <= 8) {
        const std::size_t full = std::size_t{1} << h.bitCount;
        std::size_t count = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
        // A table cut short by the pixel data or the end of the file keeps what is there;
        // indexes beyond it are black.
        const std::size_t end = std::min(file.size(), h.dataOffset > paletteAt ? h.dataOffset : file.size());
        if (paletteAt < end)
            count = std::min(count, (end - paletteAt) / paletteEntryBytes);
        else
            count = 0;
        h.palette.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = paletteAt + i * paletteEntryBytes;
            h.palette[i] = Rgb{file[at + 2], file[at + 1], file[at]};
        }
    }
    if (h.dataOffset == 0 || h.dataOffset >= file.size()) return std::nullopt;
    return h;
}

Rgb PaletteColour(const Header& h, unsigned index) {
    return index < h.palette.size() ? h.palette[index] : Rgb{};
}

void Put(Image& image, int x, int y, Rgb c) {
    std::uint8_t* p = image.Row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

std::optional<Image> DecodeUncompressed(const Header& h, std::span<const std::uint8_t> data) {
    const std::int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;
    const std::int64_t rowBytes = (h.width * h.bitCount + 7) / 8;
    if (static_cast<std::int64_t>(data.size()) < (h.height - 1) * stride + rowBytes) return std::nullopt;
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    std::optional<Image> image = Image::Create(width, height);
    if (!image) return std::nullopt;
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = data.data() + row * stride;
        const int y = h.topDown ? row : height - 1 - row;
        std::uint8_t* out = image->Row(y);
        for (int x = 0; x < width; ++x, out += 3) {
            Rgb c;
            switch (h.bitCount) {
                case 1:
                    c = PaletteColour(h, (in[x >> 3] >> (7 - (x & 7))) & 1);
                    break;
                case 4:
                    c = PaletteColour(h, (in[x >> 1] >> (x & 1 ? 0 : 4)) & 0x0F);
                    break;
                case 8:
                    c = PaletteColour(h, in[x]);
                    break;
                case 16: {
                    const std::uint32_t v = static_cast<std::uint32_t>(in[2 * x] | in[2 * x + 1] << 8);
                    c = Rgb{red.Of(v), green.Of(v), blue.Of(v)};
                    break;
                }
                case 24:
                    c = Rgb{in[3 * x + 2], in[3 * x + 1], in[3 * x]};
                    break;
                default: {
                    const std::uint32_t v = static_cast<std::uint32_t>(in[4 * x]) |
                                            static_cast<std::uint32_t>(in[4 * x + 1]) << 8 |
                                            static_cast<std::uint32_t>(in[4 * x + 2]) << 16 |
                                            static_cast<std::uint32_t>(in[4 * x + 3]) << 24;
                    c = Rgb{red.Of(v), green.Of(v), blue.Of(v)};
                    break;
                }
            }
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
        }
    }
    return image;
}

// RLE8 and RLE4: pairs of (count, index) runs and escapes (0: end of line, 1: end of bitmap,
// 2: move by dx, dy, n >= 3: n literal indexes padded to a 16-bit boundary). Pixels no code
// reaches keep colour 0 of the table. Anything past the bitmap is clipped, never written.
std::optional<Image> DecodeRle(const Header& h, std::span<const std::uint8_t> data) {
    if (h.width * h.height > kRleBasePixels + static_cast<std::int64_t>(data.size()) * kRlePixelsPerByte)
        return std::nullopt;
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    std::optional<Image> image = Image::Create(width, height);
    if (!image) return std::nullopt;
    const Rgb background = PaletteColour(h, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Put(*image, x, y, background);

    const bool four = h.compression == kRle4;
    std::int64_t x = 0;
    std::int64_t row = 0;
    const auto plot = [&](unsigned index) {
        if (x < width && row < height)
            Put(*image, static_cast<int>(x), static_cast<int>(h.topDown ? row : height - 1 - row),
                PaletteColour(h, index));
        ++x;
    };
    std::size_t at = 0;
    while (at + 1 < data.size() && row < height) {
        const unsigned count = data[at];
        const unsigned value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i)
                plot(four ? (i & 1 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 1 >= data.size()) break;
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > data.size()) break;
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = data[at + (four ? i / 2 : i)];
                plot(four ? (i & 1 ? byte & 0x0F : byte >> 4) : byte);
            }
            at += (bytes + 1) & ~std::size_t{1};
        }
    }
    return image;
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    PutU16(out, at, v & 0xFFFF);
    PutU16(out, at + 2, v >> 16);
}

}  // namespace

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> file) {
    const std::optional<Header> h = ReadHeader(file);
    if (!h) return std::nullopt;
    const std::span<const std::uint8_t> data = file.subspan(h->dataOffset);
    try {
        if (h->compression == kRle8 || h->compression == kRle4) return DecodeRle(*h, data);
        return DecodeUncompressed(*h, data);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> EncodeBmp(const Image& image) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(image.Width()) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t total = 54 + stride * static_cast<std::uint64_t>(image.Height());
    if (image.Width() < 1 || image.Height() < 1 || total > INT32_MAX) return std::nullopt;
    try {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(total), 0);
        out[0] = 'B';
        out[1] = 'M';
        PutU32(out, 2, static_cast<std::uint32_t>(total));
        PutU32(out, 10, 54);
        PutU32(out, 14, 40);
        PutU32(out, 18, static_cast<std::uint32_t>(image.Width()));
        PutU32(out, 22, static_cast<std::uint32_t>(image.Height()));
        PutU16(out, 26, 1);
        PutU16(out, 28, 24);
        PutU32(out, 34, static_cast<std::uint32_t>(total - 54));
        PutU32(out, 38, 2835);  // 72 dots per inch
        PutU32(out, 42, 2835);
        for (int y = 0; y < image.Height(); ++y) {
            const std::uint8_t* in = image.Row(image.Height() - 1 - y);
            std::uint8_t* row = out.data() + 54 + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < image.Width(); ++x, in += 3, row += 3) {
                row[0] = in[2];
                row[1] = in[1];
                row[2] = in[0];
            }
        }
        return out;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace pelko::imaging
