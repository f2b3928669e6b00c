#include "scan/ProgramIcon.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "ExtrasBuilders.h"
#include "ExtrasTestSupport.h"
#include "scan/ByteSource.h"
#include "scan/IconBitmap.h"

namespace pelko::scan {
namespace {

using catalog::IconImage;
using namespace test;

constexpr std::uint32_t kIcon = 3;
constexpr std::uint32_t kGroup = 14;
constexpr int kSide = IconImage::kSize;

std::unique_ptr<IconImage> Extract(const std::string& file) {
    MemoryByteSource source(Bytes(file));
    return ExtractProgramIcon(source);
}

// A 16 x 16 pattern: colour by quadrant, the top-left pixel hidden.
std::vector<std::uint32_t> QuadrantIndices() {
    std::vector<std::uint32_t> v(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) v[y * kSide + x] = (y < 8 ? 0 : 2) + (x < 8 ? 0 : 1);
    return v;
}
const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

IconImage ExpectedQuadrants() {
    IconImage icon;
    for (int i = 0; i < kSide * kSide; ++i) icon.pixels[i] = 0xFF000000u | kPalette[QuadrantIndices()[i]];
    icon.pixels[0] = 0;
    return icon;
}

std::vector<bool> TopLeftHidden(int side) {
    std::vector<bool> hidden(side * side, false);
    hidden[0] = true;
    return hidden;
}

std::string GroupOf(int side, int bitCount, const std::string& image, std::uint16_t id = 1) {
    return BuildIconGroup({{side, bitCount, id, static_cast<std::uint32_t>(image.size())}});
}

TEST(ProgramIcon, RealProgramsGiveAnIconOnlyWhenTheyHaveOne) {
    REQUIRE_FIXTURES();
    struct Case {
        const char* file;
        bool hasIcon;
    };
    for (const Case& c : {Case{"exe/LoadIconApp_HasIcon_x86.exe", true},
                          {"exe/test_read_format_rar_sfx.exe", true},
                          {"exe/LoadIconApp_NoIcon_x86.exe", false},
                          {"exe/LoadIconApp_NoRes_x86.exe", false},
                          {"exe/LoadStringApp_HasString_x64.exe", false}}) {
        SCOPED_TRACE(c.file);
        const std::optional<std::string> bytes = Fixture(c.file);
        ASSERT_TRUE(bytes);
        const std::unique_ptr<IconImage> icon = Extract(*bytes);
        ASSERT_EQ(icon != nullptr, c.hasIcon);
        if (!icon) continue;
        int visible = 0;
        for (std::uint32_t p : icon->pixels) visible += (p >> 24) == 0xFF;
        EXPECT_GT(visible, 0);
    }
}

TEST(ProgramIcon, DibImagesOfEveryDepthWithTheirMask) {
    const std::vector<std::uint32_t> indices = QuadrantIndices();
    std::vector<std::uint32_t> direct(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) direct[i] = kPalette[indices[i]];
    std::vector<std::uint32_t> opaque = direct;
    for (std::uint32_t& p : opaque) p |= 0xFF000000u;
    opaque[0] = 0x00123456;  // transparent through its alpha, the mask says nothing
    struct Case {
        const char* what;
        std::string image;
        int bitCount;
    };
    const std::vector<Case> cases = {
        {"4 bits", BuildDibIcon(kSide, 4, kPalette, indices, TopLeftHidden(kSide)), 4},
        {"8 bits", BuildDibIcon(kSide, 8, kPalette, indices, TopLeftHidden(kSide)), 8},
        {"24 bits", BuildDibIcon(kSide, 24, {}, direct, TopLeftHidden(kSide)), 24},
        {"32 bits with alpha", BuildDibIcon(kSide, 32, {}, opaque, std::vector<bool>(kSide * kSide)), 32},
        {"32 bits without alpha use the mask", BuildDibIcon(kSide, 32, {}, direct, TopLeftHidden(kSide)), 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<IconImage> icon =
            Extract(BuildPe({{kIcon, {{1, c.image}}}, {kGroup, {{1, GroupOf(kSide, c.bitCount, c.image)}}}}));
        ASSERT_TRUE(icon);
        EXPECT_EQ(*icon, ExpectedQuadrants());
    }

    // One bit: two colours, shown by stripes.
    std::vector<std::uint32_t> stripes(kSide * kSide);
    for (std::size_t i = 0; i < stripes.size(); ++i) stripes[i] = (i % kSide) % 2;
    const std::string mono = BuildDibIcon(kSide, 1, {0x000000, 0xFFFFFF}, stripes, TopLeftHidden(kSide));
    const std::unique_ptr<IconImage> icon =
        Extract(BuildPe({{kIcon, {{1, mono}}}, {kGroup, {{1, GroupOf(kSide, 1, mono)}}}}));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixels[0], 0u);
    EXPECT_EQ(icon->pixels[1], 0xFFFFFFFFu);
    EXPECT_EQ(icon->pixels[2], 0xFF000000u);
}

TEST(ProgramIcon, ChoosesTheSmallImageOfMostColoursOfTheFirstGroup) {
    const std::vector<std::uint32_t> indices(kSide * kSide, 1);
    const std::vector<bool> shown(kSide * kSide, false);
    const std::string green4 = BuildDibIcon(kSide, 4, {0, 0x00FF00}, indices, shown);
    const std::string blue8 = BuildDibIcon(kSide, 8, {0, 0x0000FF}, indices, shown);
    const std::string red32 = BuildDibIcon(32, 4, {0, 0xFF0000}, std::vector<std::uint32_t>(32 * 32, 1),
                                           std::vector<bool>(32 * 32, false));
    const std::string group = BuildIconGroup({{kSide, 4, 1, 0}, {32, 4, 3, 0}, {kSide, 8, 2, 0}});
    const std::string otherGroup = BuildIconGroup({{32, 4, 3, 0}});
    const std::unique_ptr<IconImage> icon = Extract(
        BuildPe({{kIcon, {{1, green4}, {2, blue8}, {3, red32}}}, {kGroup, {{7, group}, {9, otherGroup}}}}));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixels[0], 0xFF0000FFu);
}

TEST(ProgramIcon, WithoutASmallImageTheNearestSizeIsScaledDown) {
    // 32 x 32 in 2 x 2 blocks of the quadrant pattern: scaling gives the 16 x 16 pattern.
    const std::vector<std::uint32_t> small = QuadrantIndices();
    std::vector<std::uint32_t> big(32 * 32);
    std::vector<bool> hidden(32 * 32, false);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            big[y * 32 + x] = small[(y / 2) * kSide + x / 2];
            hidden[y * 32 + x] = y < 2 && x < 2;
        }
    const std::string image32 = BuildDibIcon(32, 8, kPalette, big, hidden);
    const std::string image48 = BuildDibIcon(48, 8, kPalette, std::vector<std::uint32_t>(48 * 48, 3),
                                             std::vector<bool>(48 * 48, false));
    const std::string group = BuildIconGroup({{48, 8, 2, 0}, {32, 8, 1, 0}});
    const std::unique_ptr<IconImage> icon =
        Extract(BuildPe({{kIcon, {{1, image32}, {2, image48}}}, {kGroup, {{1, group}}}}));
    ASSERT_TRUE(icon);
    EXPECT_EQ(*icon, ExpectedQuadrants());
}

std::string PngOf(const std::vector<std::uint32_t>& argb, int side) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = side;
    png.height = side;
    png.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&png, nullptr, &size, 0, argb.data(), 0, nullptr));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&png, out.data(), &size, 0, argb.data(), 0, nullptr));
    return out;
}

TEST(ProgramIcon, PngImagesOfTheGroupAreDecoded) {
    IconImage expected = ExpectedQuadrants();
    std::vector<std::uint32_t> argb(expected.pixels.begin(), expected.pixels.end());
    const std::string png = PngOf(argb, kSide);
    for (const bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus);
        const std::unique_ptr<IconImage> icon =
            Extract(BuildPe({{kIcon, {{1, png}}}, {kGroup, {{1, GroupOf(kSide, 32, png)}}}}, pe32Plus));
        ASSERT_TRUE(icon);
        EXPECT_EQ(*icon, expected);
    }
}

TEST(ProgramIcon, FilesThatAreNoProgramsOrHaveBrokenIconsGiveNone) {
    const std::string image = BuildDibIcon(kSide, 4, kPalette, QuadrantIndices(), TopLeftHidden(kSide));
    const std::string good = BuildPe({{kIcon, {{1, image}}}, {kGroup, {{1, GroupOf(kSide, 4, image)}}}});
    ASSERT_TRUE(Extract(good));
    EXPECT_FALSE(Extract("just some text, not a program at all; long enough to hold a DOS header........"));
    EXPECT_FALSE(Extract(BuildPe({{kGroup, {{1, GroupOf(kSide, 4, image, 5)}}}})));  // icon 5 missing
    EXPECT_FALSE(Extract(BuildPe({{kIcon, {{1, image}}}})));                         // no group
    std::string hugeSide = image;
    Set32(hugeSide, 4, 100000);
    EXPECT_FALSE(Extract(BuildPe({{kIcon, {{1, hugeSide}}}, {kGroup, {{1, GroupOf(kSide, 4, hugeSide)}}}})));
    // Every cut and many single damaged bytes: none or an icon, never a crash or an overrun.
    for (std::size_t cut = 0; cut < good.size(); cut += 7) Extract(good.substr(0, cut));
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string damaged = good;
        damaged[at] = '\xFF';
        Extract(damaged);
    }
}

}  // namespace
}  // namespace pelko::scan
