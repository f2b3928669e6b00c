#include "catalog/ImageList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace pelko::catalog {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kSize = IconImage::kSize;
constexpr std::uint8_t kSentinel = 0xA5;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t Get16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// A BMP file as lists written on other displays carry it.
struct BmpSpec {
    std::uint32_t headerSize = 40;  // 12 (core), 40, 108 (V4) or 124 (V5)
    std::int32_t width = 21;        // 21: every depth but 32 bits needs row padding
    std::int32_t height = 18;       // negative: rows stored top-down
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 3> masks{};     // red, green, blue for compression 3
    std::uint32_t gap = 0;                    // unused bytes between the headers and the pixel rows
    std::optional<std::uint32_t> bitsOffset;  // replaces the true offset
    std::optional<std::int32_t> heightField;  // replaces the height stored in the header
    std::uint32_t fileSizeField = 0;          // bfSize as stored (readers must not need it)
    std::uint16_t magic = 0x4D42;
    std::function<std::uint32_t(int x, int y)> raw;  // stored value (index or packed colour) of (x, y)
};

Bytes BuildBmp(const BmpSpec& s) {
    Bytes info;
    if (s.headerSize == 12) {
        Put32(info, 12);
        Put16(info, static_cast<std::uint16_t>(s.width));
        Put16(info, static_cast<std::uint16_t>(s.height));
        Put16(info, 1);
        Put16(info, s.bpp);
    } else {
        Put32(info, s.headerSize);
        Put32(info, static_cast<std::uint32_t>(s.width));
        Put32(info, static_cast<std::uint32_t>(s.heightField.value_or(s.height)));
        Put16(info, 1);
        Put16(info, s.bpp);
        Put32(info, s.compression);
        Put32(info, 0);
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, s.colorsUsed);
        Put32(info, 0);
        if (s.compression == 3) {
            for (std::uint32_t m : s.masks) Put32(info, m);  // inside V4/V5 headers, after plain ones
        }
        while (info.size() < s.headerSize) info.push_back(0x5A);
    }
    for (std::uint32_t c : s.palette) {
        info.push_back(static_cast<std::uint8_t>(c));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        if (s.headerSize != 12) info.push_back(0);
    }
    info.insert(info.end(), s.gap, 0xEE);

    const int rows = s.height < 0 ? -s.height : s.height;
    const int width = s.width > 0 ? s.width : 0;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * s.bpp + 31) / 32 * 4;
    Bytes bits;
    for (int stored = 0; stored < rows; ++stored) {
        const int y = s.height < 0 ? stored : rows - 1 - stored;
        Bytes row(rowBytes, 0);
        for (int x = 0; x < width && s.bpp > 0; ++x) {
            const std::uint32_t v = s.raw(x, y);
            if (s.bpp < 8) {
                const int bit = x * s.bpp;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - s.bpp - bit % 8));
            } else {
                for (int k = 0; k < s.bpp / 8; ++k)
                    row[x * s.bpp / 8 + k] = static_cast<std::uint8_t>(v >> (8 * k));
            }
        }
        bits.insert(bits.end(), row.begin(), row.end());
    }

    Bytes out;
    Put16(out, s.magic);
    Put32(out, s.fileSizeField);
    Put32(out, 0);
    Put32(out, s.bitsOffset.value_or(static_cast<std::uint32_t>(14 + info.size())));
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

struct ListSpec {
    std::uint16_t magic = 0x4C49;
    std::uint16_t version = 0x0101;
    std::uint16_t count = 1;
    std::uint16_t cx = 16;
    std::uint16_t cy = 16;
    std::uint16_t flags = 0x00FE;  // no mask
};

Bytes BuildList(const ListSpec& l, const BmpSpec& colour, const std::optional<BmpSpec>& mask = std::nullopt) {
    Bytes out;
    Put16(out, l.magic);
    Put16(out, l.version);
    Put16(out, l.count);
    Put16(out, 8);  // capacity
    Put16(out, 4);  // grow
    Put16(out, l.cx);
    Put16(out, l.cy);
    Put32(out, 0xFFFFFFFF);
    Put16(out, l.flags);
    for (int i = 0; i < 4; ++i) Put16(out, 0xFFFF);
    const Bytes c = BuildBmp(colour);
    out.insert(out.end(), c.begin(), c.end());
    if (mask) {
        const Bytes m = BuildBmp(*mask);
        out.insert(out.end(), m.begin(), m.end());
    }
    return out;
}

Bytes Written(const IconImage& icon) {
    Bytes out;
    CArchive ar(out, CArchive::Mode::Store);
    WriteImageList(ar, icon);
    return out;
}

// Reads a list followed by a sentinel byte and checks that exactly the list was consumed.
IconImage ReadAll(Bytes bytes) {
    bytes.push_back(kSentinel);
    CArchive ar{std::span<const std::uint8_t>(bytes)};
    const IconImage icon = ReadImageList(ar);
    EXPECT_EQ(ar.ReadByte(), kSentinel) << "the reader stopped before or after the end of the list";
    EXPECT_EQ(ar.RemainingBound(), 0u);
    return icon;
}

// Test picture: four colours whose channels are 0 or 255, so that every depth stores them
// exactly. The pattern changes along x and y and is not symmetric, so flipped rows, swapped
// nibbles or reversed bits show.
constexpr std::array<std::uint32_t, 4> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
int PatternIndex(int x, int y) { return (x + 3 * y) % 4; }

IconImage Expected(const std::function<std::uint32_t(int, int)>& argb) {
    IconImage icon;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) icon.pixels[y * kSize + x] = argb(x, y);
    return icon;
}

IconImage SamplePicture() {
    // Opaque colours of assorted channels, a hidden border column and a hidden diagonal.
    return Expected([](int x, int y) -> std::uint32_t {
        if (x == 0 || x == y) return 0;
        return 0xFF000000u | static_cast<std::uint32_t>(x * 16 + y) << 16 |
               static_cast<std::uint32_t>(y * 13) << 8 | static_cast<std::uint32_t>(255 - x * 7);
    });
}

std::string Describe(const IconImage& icon) {
    std::string out;
    char cell[16];
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            std::snprintf(cell, sizeof cell, "%08X ", icon.pixels[y * kSize + x]);
            out += cell;
        }
        out += '\n';
    }
    return out;
}

// ---------------------------------------------------------------------------------------------

TEST(ImageListWrite, RoundTripsIconsAndNormalisesHiddenPixels) {
    struct Case {
        const char* name;
        IconImage in;
        IconImage out;
    };
    const IconImage sample = SamplePicture();
    IconImage stray = sample;  // hidden pixels with leftover colour, half-transparent visible ones
    stray.pixels[0] = 0x00ABCDEF;
    stray.pixels[17] = 0x80123456;
    IconImage strayRead = sample;
    strayRead.pixels[17] = 0xFF123456;
    const IconImage empty{};
    const IconImage white = Expected([](int, int) { return 0xFFFFFFFFu; });
    const IconImage black = Expected([](int, int) { return 0xFF000000u; });

    for (const Case& c : {Case{"sample", sample, sample}, Case{"stray colour and alpha", stray, strayRead},
                          Case{"all hidden", empty, empty}, Case{"all white", white, white},
                          Case{"all black shown", black, black}}) {
        SCOPED_TRACE(c.name);
        const IconImage back = ReadAll(Written(c.in));
        EXPECT_EQ(back, c.out) << Describe(back);
    }
}

TEST(ImageListWrite, LaysOutHeaderAndBothBitmaps) {
    IconImage icon = Expected([](int, int) { return 0xFF000000u; });
    icon.pixels[2 * kSize + 3] = 0xFF123456;  // (3, 2) shown
    icon.pixels[0 * kSize + 5] = 0x00ABCDEF;  // (5, 0) hidden
    const Bytes b = Written(icon);

    // 28-byte header, 64 x 16 24-bit colour BMP, 64 x 16 1-bit mask BMP with a 2-entry palette.
    constexpr std::size_t kColourAt = 28, kColourSize = 14 + 40 + 64 * 3 * 16;
    constexpr std::size_t kMaskAt = kColourAt + kColourSize, kMaskSize = 14 + 40 + 8 + 8 * 16;
    ASSERT_EQ(b.size(), kMaskAt + kMaskSize);
    ASSERT_EQ(b.size(), 3344u);

    // clang-format off
    const Bytes header = {
        'I', 'L',  0x01, 0x01,                           // magic, version
        1, 0,  4, 0,  4, 0,                              // count, capacity, grow
        16, 0,  16, 0,                                   // cx, cy
        0, 0, 0, 0,                                      // background colour
        0xFF, 0x00,                                      // device colour with a mask
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // no overlay images
    };
    // clang-format on
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 28), header);

    struct Bmp {
        std::size_t at, size, bitsOffset;
        std::uint16_t bpp;
    };
    for (const Bmp& m : {Bmp{kColourAt, kColourSize, 54, 24}, Bmp{kMaskAt, kMaskSize, 62, 1}}) {
        SCOPED_TRACE(m.bpp);
        EXPECT_EQ(b[m.at], 'B');
        EXPECT_EQ(b[m.at + 1], 'M');
        EXPECT_EQ(Get32(b, m.at + 2), m.size);
        EXPECT_EQ(Get32(b, m.at + 6), 0u);
        EXPECT_EQ(Get32(b, m.at + 10), m.bitsOffset);
        EXPECT_EQ(Get32(b, m.at + 14), 40u);
        EXPECT_EQ(Get32(b, m.at + 18), 64u);
        EXPECT_EQ(Get32(b, m.at + 22), 16u);  // positive: bottom-up
        EXPECT_EQ(Get16(b, m.at + 26), 1u);
        EXPECT_EQ(Get16(b, m.at + 28), m.bpp);
        EXPECT_EQ(Get32(b, m.at + 30), 0u);  // uncompressed
    }
    EXPECT_EQ(Get32(b, kMaskAt + 54), 0x00000000u);  // palette: black, white
    EXPECT_EQ(Get32(b, kMaskAt + 58), 0x00FFFFFFu);

    auto colourAt = [&](int x, int y) {
        const std::size_t p = kColourAt + 54 + static_cast<std::size_t>(15 - y) * 192 + x * 3;
        return b[p] | b[p + 1] << 8 | b[p + 2] << 16;
    };
    auto maskBit = [&](int x, int y) {
        return (b[kMaskAt + 62 + static_cast<std::size_t>(15 - y) * 8 + x / 8] >> (7 - x % 8)) & 1;
    };
    EXPECT_EQ(colourAt(3, 2), 0x123456);
    EXPECT_EQ(maskBit(3, 2), 0);
    EXPECT_EQ(colourAt(5, 0), 0) << "hidden pixels are stored black";
    EXPECT_EQ(maskBit(5, 0), 1);
    EXPECT_EQ(maskBit(4, 0), 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 16; x < 64; ++x) {
            ASSERT_EQ(colourAt(x, y), 0) << x << "," << y;
            ASSERT_EQ(maskBit(x, y), 1) << "empty slots are hidden: " << x << "," << y;
        }
    }
}

TEST(ImageListWrite, ReadsBackThroughFileDescriptorsAcrossBufferWindows) {
    // Three lists in a row span several 4096-byte windows of an archive over a pipe, whose
    // size is unknown to the reader.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const IconImage a = SamplePicture();
    const IconImage b = Expected([](int x, int y) { return (x + y) % 2 ? 0xFF00FF00u : 0u; });
    {
        CArchive out(fds[1], CArchive::Mode::Store);
        for (const IconImage* icon : {&a, &b, &a}) WriteImageList(out, *icon);
        out.WriteByte(kSentinel);
        out.Close();
    }
    close(fds[1]);
    CArchive in(fds[0], CArchive::Mode::Load);
    EXPECT_EQ(ReadImageList(in), a);
    EXPECT_EQ(ReadImageList(in), b);
    EXPECT_EQ(ReadImageList(in), a);
    EXPECT_EQ(in.ReadByte(), kSentinel);
    close(fds[0]);
}

// ---------------------------------------------------------------------------------------------

struct DepthCase {
    const char* name;
    BmpSpec bmp;
    std::array<std::uint32_t, 4> raw;  // stored value of each of kColours
};

// Palette holding kColours at the given indices and filler elsewhere.
std::vector<std::uint32_t> PaletteWith(std::size_t size, std::array<std::size_t, 4> at) {
    std::vector<std::uint32_t> p(size, 0x123456);
    for (std::size_t k = 0; k < at.size(); ++k) p[at[k]] = kColours[k];
    return p;
}

std::vector<DepthCase> DepthCases() {
    auto spec = [](std::uint16_t bpp, std::function<void(BmpSpec&)> adjust = nullptr) {
        BmpSpec s;
        s.bpp = bpp;
        if (adjust) adjust(s);
        return s;
    };
    const std::array<std::uint32_t, 4> direct = kColours;
    return {
        {"1-bit, palette reversed",
         spec(1,
              [](BmpSpec& s) {
                  s.palette = {kColours[1], kColours[0]};
              }),
         {1, 0, 0, 0}},
        {"4-bit",
         spec(4,
              [](BmpSpec& s) {
                  s.palette = PaletteWith(16, {9, 2, 15, 0});
              }),
         {9, 2, 15, 0}},
        {"8-bit, short palette",
         spec(8,
              [](BmpSpec& s) {
                  s.palette = PaletteWith(200, {199, 7, 128, 1});
                  s.colorsUsed = 200;
              }),
         {199, 7, 128, 1}},
        {"8-bit, top-down",
         spec(8,
              [](BmpSpec& s) {
                  s.palette = PaletteWith(256, {255, 0, 17, 3});
                  s.height = -18;
              }),
         {255, 0, 17, 3}},
        {"16-bit 5-5-5", spec(16), {0x7C00, 0x03E0, 0x001F, 0x7FFF}},
        {"16-bit 5-6-5 bitfields",
         spec(16,
              [](BmpSpec& s) {
                  s.compression = 3;
                  s.masks = {0xF800, 0x07E0, 0x001F};
              }),
         {0xF800, 0x07E0, 0x001F, 0xFFFF}},
        {"24-bit", spec(24), direct},
        {"24-bit, top-down", spec(24, [](BmpSpec& s) { s.height = -18; }), direct},
        {"24-bit, gap before the rows and no file size", spec(24, [](BmpSpec& s) { s.gap = 6; }), direct},
        {"32-bit, top byte ignored", spec(32), {0xAAFF0000, 0x5500FF00, 0x010000FF, 0xFFFFFFFF}},
        {"32-bit bitfields, red lowest",
         spec(32,
              [](BmpSpec& s) {
                  s.compression = 3;
                  s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
              }),
         {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF}},
        {"core header, 8-bit",
         spec(8,
              [](BmpSpec& s) {
                  s.headerSize = 12;
                  s.palette = PaletteWith(256, {4, 250, 1, 0});
              }),
         {4, 250, 1, 0}},
        {"core header, 24-bit", spec(24, [](BmpSpec& s) { s.headerSize = 12; }), direct},
        {"V4 header, 4-bit",
         spec(4,
              [](BmpSpec& s) {
                  s.headerSize = 108;
                  s.palette = PaletteWith(16, {1, 3, 5, 7});
              }),
         {1, 3, 5, 7}},
        {"V5 header, 32-bit bitfields in the header",
         spec(32,
              [](BmpSpec& s) {
                  s.headerSize = 124;
                  s.compression = 3;
                  s.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
              }),
         {0xFF000000, 0x00FF0000, 0x0000FF00, 0xFFFFFF00}},
    };
}

TEST(ImageListRead, DecodesEveryDepthAndLayout) {
    for (DepthCase c : DepthCases()) {
        SCOPED_TRACE(c.name);
        const int colours = c.bmp.bpp == 1 ? 2 : 4;
        c.bmp.raw = [&](int x, int y) { return c.raw[PatternIndex(x, y) % colours]; };
        // The bitmap is 21 x 18: image 0 is its top-left 16 x 16.
        const IconImage want =
            Expected([&](int x, int y) { return 0xFF000000u | kColours[PatternIndex(x, y) % colours]; });
        const IconImage got = ReadAll(BuildList({}, c.bmp));
        EXPECT_EQ(got, want) << Describe(got);
    }
}

TEST(ImageListRead, TakesImageZeroFromTheTopLeftOfTheList) {
    struct Case {
        const char* name;
        ListSpec list;
        std::int32_t width, height;
        int shownWidth, shownHeight;    // part of the 16 x 16 icon that image 0 covers
        int colourWidth, colourHeight;  // part of it that the colour bitmap covers
    };
    auto list = [](std::uint16_t count, std::uint16_t cx, std::uint16_t cy) {
        ListSpec l;
        l.count = count;
        l.cx = cx;
        l.cy = cy;
        return l;
    };
    const Case cases[] = {
        {"smaller images are padded", list(1, 8, 10), 32, 20, 8, 10, 8, 10},
        {"larger images are cropped", list(1, 32, 32), 128, 64, 16, 16, 16, 16},
        {"a bitmap smaller than the image leaves black", list(1, 16, 16), 10, 12, 16, 16, 10, 12},
        {"an empty list shows nothing", list(0, 16, 16), 64, 16, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec bmp;
        bmp.width = c.width;
        bmp.height = c.height;
        bmp.raw = [](int x, int y) { return kColours[PatternIndex(x, y)]; };
        const IconImage want = Expected([&](int x, int y) -> std::uint32_t {
            if (x >= c.shownWidth || y >= c.shownHeight) return 0;
            if (x >= c.colourWidth || y >= c.colourHeight) return 0xFF000000u;
            return 0xFF000000u | kColours[PatternIndex(x, y)];
        });
        const IconImage got = ReadAll(BuildList(c.list, bmp));
        EXPECT_EQ(got, want) << Describe(got);
    }
}

TEST(ImageListRead, HidesWhatTheMaskMarksWhite) {
    auto hiddenAt = [](int x, int y) { return (x * y + x) % 3 == 0; };
    auto maskSpec = [&](std::int32_t width, std::int32_t height, std::uint16_t bpp,
                        std::vector<std::uint32_t> palette, std::uint32_t hiddenValue,
                        std::uint32_t shownValue) {
        BmpSpec m;
        m.bpp = bpp;
        m.width = width;
        m.height = height;
        m.palette = std::move(palette);
        m.raw = [=](int x, int y) { return hiddenAt(x, y) ? hiddenValue : shownValue; };
        return m;
    };
    struct Case {
        const char* name;
        BmpSpec mask;
        int maskWidth, maskHeight;
    };
    const Case cases[] = {
        {"black and white palette", maskSpec(84, 18, 1, {0x000000, 0xFFFFFF}, 1, 0), 84, 18},
        {"white and black palette, top-down", maskSpec(84, -18, 1, {0xFFFFFF, 0x000000}, 0, 1), 84, 18},
        {"mask smaller than the image", maskSpec(9, 7, 1, {0x000000, 0xFFFFFF}, 1, 0), 9, 7},
        {"24-bit greys count by the nearer of black and white", maskSpec(84, 18, 24, {}, 0xC0C0C0, 0x404040),
         84, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListSpec list;
        list.flags = 0x00FF;
        BmpSpec colour;
        colour.width = 84;
        colour.raw = [](int x, int y) { return kColours[PatternIndex(x, y)]; };
        const IconImage want = Expected([&](int x, int y) -> std::uint32_t {
            const bool hidden = x < c.maskWidth && y < c.maskHeight && hiddenAt(x, y);
            return hidden ? 0 : 0xFF000000u | kColours[PatternIndex(x, y)];
        });
        const IconImage got = ReadAll(BuildList(list, colour, c.mask));
        EXPECT_EQ(got, want) << Describe(got);
    }
}

// ---------------------------------------------------------------------------------------------

TEST(ImageListRead, RefusesDamagedLists) {
    using Kind = ArchiveError::Kind;
    struct Case {
        const char* name;
        std::function<void(ListSpec&, BmpSpec&)> damage;
        Kind kind;
    };
    const Case cases[] = {
        {"wrong list magic", [](ListSpec& l, BmpSpec&) { l.magic = 0x4D49; }, Kind::BadData},
        {"unknown list version", [](ListSpec& l, BmpSpec&) { l.version = 0x0600; }, Kind::BadData},
        {"bitmap without BM", [](ListSpec&, BmpSpec& b) { b.magic = 0x4E42; }, Kind::BadData},
        {"unknown header size", [](ListSpec&, BmpSpec& b) { b.headerSize = 20; }, Kind::BadData},
        {"width 0", [](ListSpec&, BmpSpec& b) { b.width = 0; }, Kind::BadData},
        {"negative width", [](ListSpec&, BmpSpec& b) { b.width = -16; }, Kind::BadData},
        {"height 0", [](ListSpec&, BmpSpec& b) { b.height = 0; }, Kind::BadData},
        {"width beyond any list", [](ListSpec&, BmpSpec& b) { b.width = 16385; }, Kind::BadData},
        {"height beyond any list", [](ListSpec&, BmpSpec& b) { b.height = -16385; }, Kind::BadData},
        {"2 bits per pixel", [](ListSpec&, BmpSpec& b) { b.bpp = 2; }, Kind::BadData},
        {"0 bits per pixel", [](ListSpec&, BmpSpec& b) { b.bpp = 0; }, Kind::BadData},
        {"run-length compression", [](ListSpec&, BmpSpec& b) { b.compression = 1; }, Kind::BadData},
        {"bitfields on 8 bits", [](ListSpec&, BmpSpec& b) { b.compression = 3; }, Kind::BadData},
        {"pixels inside the header", [](ListSpec&, BmpSpec& b) { b.bitsOffset = 50; }, Kind::BadData},
        {"pixels inside the palette", [](ListSpec&, BmpSpec& b) { b.bitsOffset = 14 + 40 + 100; },
         Kind::BadData},
        {"pixels past the end", [](ListSpec&, BmpSpec& b) { b.bitsOffset = 0xFFFFFFF0; }, Kind::BadData},
        {"more rows than the stream holds", [](ListSpec&, BmpSpec& b) { b.heightField = 4000; },
         Kind::BadData},
        {"mask announced but missing", [](ListSpec& l, BmpSpec&) { l.flags = 0x00FF; }, Kind::EndOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListSpec list;
        BmpSpec bmp;
        bmp.bpp = 8;
        bmp.palette = PaletteWith(256, {0, 1, 2, 3});
        bmp.raw = [](int x, int y) { return static_cast<std::uint32_t>(PatternIndex(x, y)); };
        c.damage(list, bmp);
        const Bytes bytes = BuildList(list, bmp);
        CArchive ar{std::span<const std::uint8_t>(bytes)};
        try {
            ReadImageList(ar);
            ADD_FAILURE() << "accepted";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
        }
    }
}

TEST(ImageListRead, EveryTruncationThrows) {
    BmpSpec core;
    core.headerSize = 12;
    core.bpp = 8;
    core.palette = PaletteWith(256, {0, 1, 2, 3});
    core.raw = [](int x, int y) { return static_cast<std::uint32_t>(PatternIndex(x, y)); };
    BmpSpec v5;
    v5.headerSize = 124;
    v5.bpp = 16;
    v5.compression = 3;
    v5.masks = {0xF800, 0x07E0, 0x001F};
    v5.gap = 3;
    v5.raw = [](int x, int y) { return static_cast<std::uint32_t>(x * 977 + y * 31); };
    BmpSpec mask;
    mask.bpp = 1;
    mask.palette = {0, 0xFFFFFF};
    mask.raw = [](int x, int y) { return static_cast<std::uint32_t>((x ^ y) & 1); };
    ListSpec masked;
    masked.flags = 0x00FF;

    const std::pair<const char*, Bytes> streams[] = {
        {"written", Written(SamplePicture())},
        {"core header with mask", BuildList(masked, core, mask)},
        {"V5 bitfields with gap", BuildList({}, v5)},
    };
    for (const auto& [name, full] : streams) {
        SCOPED_TRACE(name);
        ReadAll(full);  // whole, it reads
        for (std::size_t size = 0; size < full.size(); ++size) {
            const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
            CArchive ar{std::span<const std::uint8_t>(cut)};
            EXPECT_THROW(ReadImageList(ar), ArchiveError) << "prefix of " << size << " bytes";
        }
    }
}

}  // namespace
}  // namespace pelko::catalog
