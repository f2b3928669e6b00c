// Decoding the four raster formats: the real samples give their recorded sizes, pictures that
// are the same image stored differently give the same pixels, and hostile input gives nothing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/DecodePicture.h"
#include "imaging/GifDecoder.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffDecoder.h"
#include "support/Pictures.h"
#include "support/Requirements.h"

namespace pelko::imaging {
namespace {

namespace fs = std::filesystem;
using test::FileBytes;
using test::PixelAt;
using test::Rgb;

fs::path ImagesFolder() { return test::SharedFixtures() / "images"; }

std::optional<Image> DecodeFixture(const std::string& name) {
    const std::string extension = fs::path(name).extension().string();
    PictureFormat format = PictureFormat::kTiff;
    if (extension == ".bmp") format = PictureFormat::kBmp;
    if (extension == ".jpg") format = PictureFormat::kJpeg;
    if (extension == ".gif") format = PictureFormat::kGif;
    return DecodePicture(format, FileBytes(ImagesFolder() / name));
}

// Mean absolute difference of two images of one size, per sample.
double MeanDifference(const Image& a, const Image& b) {
    double sum = 0;
    const auto sa = a.Samples();
    const auto sb = b.Samples();
    for (std::size_t i = 0; i < sa.size(); ++i) sum += std::abs(int(sa[i]) - int(sb[i]));
    return sum / static_cast<double>(sa.size());
}

TEST(DecodeTest, EverySampleGivesItsRecordedSize) {
    REQUIRE_FIXTURES();
    const struct {
        const char* file;
        int width, height;
    } samples[] = {
        {"pal1.bmp", 127, 64},
        {"pal1wb.bmp", 127, 64},
        {"pal4.bmp", 127, 64},
        {"pal8.bmp", 127, 64},
        {"pal8rle.bmp", 127, 64},
        {"pal8topdown.bmp", 127, 64},
        {"pal8v5.bmp", 127, 64},
        {"rgb24.bmp", 127, 64},
        {"rgb16-565.bmp", 127, 64},
        {"hopper.jpg", 128, 128},
        {"app13-multiple.jpg", 256, 160},
        {"pil_sample_cmyk.jpg", 100, 100},
        {"hopper_gray.jpg", 128, 128},
        {"flower.jpg", 480, 360},
        {"chi.gif", 320, 240},
        {"dispose_bgnd.gif", 100, 100},
        {"hopper.gif", 128, 128},
        {"dispose_bgnd_transparency.gif", 38, 32},
        {"hopper.tif", 128, 128},
        {"hopper_lzw.tif", 128, 128},
        {"hopper_g4.tif", 128, 128},
        {"hopper_jpg.tif", 128, 128},
        {"copyleft.tiff", 220, 220},
        {"multipage.tiff", 10, 10},
        {"16bit.deflate.tif", 64, 64},
        {"flower-palette-04.tif", 73, 43},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        const std::optional<Image> image = DecodeFixture(sample.file);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->PixelSize(), (Size{sample.width, sample.height}));
        EXPECT_EQ(image->DeclaredSize(), image->PixelSize());
    }
}

TEST(DecodeTest, OnePictureStoredDifferentlyGivesTheSamePixels) {
    REQUIRE_FIXTURES();
    const struct {
        const char* a;
        const char* b;
        double tolerance;  // mean difference per sample
    } pairs[] = {
        {"pal8.bmp", "pal8topdown.bmp", 0},   // row order
        {"pal8.bmp", "pal8rle.bmp", 0},       // RLE8
        {"pal8.bmp", "pal8v5.bmp", 0},        // 124-byte header
        {"pal1.bmp", "pal1wb.bmp", 0},        // inverted table and inverted bits
        {"rgb24.bmp", "rgb16-565.bmp", 4},    // 5-6-5 masks lose the low bits
        {"hopper.tif", "hopper_lzw.tif", 0},  // predictor 2
        {"hopper.tif", "hopper_jpg.tif", 6}, {"hopper.tif", "hopper.jpg", 6},
        {"hopper.tif", "hopper.gif", 10},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::string(pair.a) + " / " + pair.b);
        const std::optional<Image> a = DecodeFixture(pair.a);
        const std::optional<Image> b = DecodeFixture(pair.b);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->PixelSize(), b->PixelSize());
        EXPECT_LE(MeanDifference(*a, *b), pair.tolerance);
    }
}

TEST(DecodeTest, PaletteEntriesAreTakenAsStored) {
    REQUIRE_FIXTURES();
    // pal4.bmp's table holds (255, 128, 0) as its fifth colour, used from the fifth pixel on.
    const std::optional<Image> image = DecodeFixture("pal4.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelAt(*image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(*image, 4, 0), (Rgb{255, 128, 0}));
    EXPECT_EQ(PixelAt(*image, 8, 0), (Rgb{255, 128, 255}));
}

TEST(DecodeTest, GifFirstFrameSitsOnAWhiteScreen) {
    REQUIRE_FIXTURES();
    // The first frame covers 27 of the screen's 38 columns; the rest stays white.
    const std::optional<Image> image = DecodeFixture("dispose_bgnd_transparency.gif");
    ASSERT_TRUE(image);
    for (int y = 0; y < 32; ++y)
        for (int x = 27; x < 38; ++x) ASSERT_EQ(PixelAt(*image, x, y), (Rgb{255, 255, 255}));
}

TEST(DecodeTest, AdobeCmykJpegReadsItsInksTheRightWayRound) {
    REQUIRE_FIXTURES();
    // The sample is the word "RED" in red on rich black. Read with the wrong ink sense it
    // would come out as cyan letters on white.
    const std::optional<Image> image = DecodeFixture("pil_sample_cmyk.jpg");
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelAt(*image, 50, 90), (Rgb{1, 4, 5}));
    int red = 0;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) {
            const Rgb c = PixelAt(*image, x, y);
            red += c.r > 200 && c.g < 60 && c.b < 60;
        }
    EXPECT_GT(red, 500);
}

TEST(DecodeTest, JpegDecodesStraightToTheSmallestCoveringScale) {
    const Image picture = test::MakePicture(480, 360, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x / 2), static_cast<std::uint8_t>(y / 2), 90};
    });
    const std::vector<std::uint8_t> jpeg = test::JpegOf(picture);
    const struct {
        Size wanted, pixels;
    } cases[] = {
        {{60, 45}, {60, 45}},      // 1/8
        {{61, 45}, {120, 90}},     // 2/8
        {{300, 225}, {300, 225}},  // 5/8 covers exactly
        {{301, 225}, {360, 270}},  // 6/8
        {{480, 360}, {480, 360}},  // whole
        {{900, 900}, {480, 360}},  // never enlarged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wanted.width);
        const std::optional<Image> image = DecodeJpeg(jpeg, [&](Size declared) {
            EXPECT_EQ(declared, (Size{480, 360}));
            return c.wanted;
        });
        ASSERT_TRUE(image);
        EXPECT_EQ(image->PixelSize(), c.pixels);
        EXPECT_EQ(image->DeclaredSize(), (Size{480, 360}));
        // Scaling keeps the picture: the colour at the centre stays near the source's.
        const Rgb centre = PixelAt(*image, image->Width() / 2, image->Height() / 2);
        EXPECT_NEAR(centre.r, 120, 6);
        EXPECT_NEAR(centre.g, 90, 6);
    }
}

TEST(DecodeTest, EncodersRoundTrip) {
    const Image picture = test::MakePicture(33, 17, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 15), 200};
    });
    const std::optional<Image> fromBmp = DecodeBmp(test::BmpOf(picture));
    ASSERT_TRUE(fromBmp);
    EXPECT_EQ(fromBmp->PixelSize(), picture.PixelSize());
    EXPECT_EQ(MeanDifference(*fromBmp, picture), 0);

    const std::optional<std::vector<std::uint8_t>> jpeg = EncodeJpeg(picture, 80);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(JpegDeclaredSize(*jpeg), (Size{33, 17}));
    const std::optional<Image> fromJpeg = DecodeJpeg(*jpeg);
    ASSERT_TRUE(fromJpeg);
    EXPECT_LT(MeanDifference(*fromJpeg, picture), 8);
}

TEST(DecodeTest, JpegRefusesSidesBeyondItsFormat) {
    const Image wide = test::MakePicture(70000, 1);
    EXPECT_FALSE(EncodeJpeg(wide, 80));
    EXPECT_TRUE(EncodeBmp(wide));
}

TEST(DecodeTest, ImageFromBitmap24ReadsBottomUpBgrRows) {
    // Two rows of 1 pixel, padded to 4 bytes: bottom row blue, top row red.
    const std::uint8_t bits[] = {255, 0, 0, 0, 0, 0, 255, 0};
    const std::optional<Image> image = ImageFromBitmap24(bits, 1, 2, 4, true);
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelAt(*image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(*image, 0, 1), (Rgb{0, 0, 255}));
    EXPECT_FALSE(ImageFromBitmap24(bits, 1, 3, 4, true));  // fewer rows than declared
}

// A BMP file header and 40-byte info header in front of `data`.
std::vector<std::uint8_t> BmpFile(std::int32_t width, std::int32_t height, int bits, int compression,
                                  const std::vector<std::uint8_t>& palette,
                                  const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> f(54, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(10, static_cast<std::uint32_t>(54 + palette.size()));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    f[26] = 1;
    f[28] = static_cast<std::uint8_t>(bits);
    put32(30, static_cast<std::uint32_t>(compression));
    put32(46, static_cast<std::uint32_t>(palette.size() / 4));
    f.insert(f.end(), palette.begin(), palette.end());
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

TEST(DecodeTest, Rle4RunsLiteralsAndEscapes) {
    // Palette: 0 black, 1 red, 2 green. Bottom row: 3 x red/green alternating, end of line;
    // top row: skip 1 right (delta), literal 2,1, end of bitmap.
    const std::vector<std::uint8_t> palette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    const std::vector<std::uint8_t> rle = {3, 0x12, 0, 0, 0, 2, 1, 0, 0, 3, 0x21, 0x20, 0, 1};
    const std::optional<Image> image = DecodeBmp(BmpFile(4, 2, 4, 2, palette, rle));
    ASSERT_TRUE(image);
    const Rgb black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0};
    EXPECT_EQ(PixelAt(*image, 0, 1), red);
    EXPECT_EQ(PixelAt(*image, 1, 1), green);
    EXPECT_EQ(PixelAt(*image, 2, 1), red);
    EXPECT_EQ(PixelAt(*image, 3, 1), black);  // never reached
    EXPECT_EQ(PixelAt(*image, 0, 0), black);  // skipped by the delta
    EXPECT_EQ(PixelAt(*image, 1, 0), green);
    EXPECT_EQ(PixelAt(*image, 2, 0), red);
    EXPECT_EQ(PixelAt(*image, 3, 0), green);
}

TEST(DecodeTest, HostileBitmapsGiveNothingWithoutLargeAllocations) {
    const std::vector<std::uint8_t> grey = {128, 128, 128, 0};
    const struct {
        const char* fault;
        std::vector<std::uint8_t> file;
    } cases[] = {
        {"rows missing", BmpFile(100, 100, 24, 0, {}, std::vector<std::uint8_t>(300, 1))},
        {"huge declared size", BmpFile(60000, 60000, 24, 0, {}, std::vector<std::uint8_t>(16, 1))},
        {"huge RLE picture from a few bytes", BmpFile(40000, 40000, 8, 1, grey, {0, 1})},
        {"negative width", BmpFile(-5, 5, 24, 0, {}, std::vector<std::uint8_t>(100, 1))},
        {"RLE8 at 4 bits", BmpFile(4, 4, 4, 1, grey, {0, 1})},
        {"unknown depth", BmpFile(4, 4, 7, 0, {}, std::vector<std::uint8_t>(100, 1))},
        {"JPEG inside", BmpFile(4, 4, 24, 4, {}, std::vector<std::uint8_t>(100, 1))},
        {"no data", BmpFile(4, 4, 24, 0, {}, {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_FALSE(DecodeBmp(c.file));
    }
    // RLE runs and skips far outside the picture are clipped, not written.
    const std::vector<std::uint8_t> wild = {255, 0, 0, 2, 255, 255, 0, 2, 200, 0, 255, 1, 0, 0, 0, 0, 0, 1};
    const std::optional<Image> clipped = DecodeBmp(BmpFile(3, 3, 8, 1, grey, wild));
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->PixelSize(), (Size{3, 3}));
}

TEST(DecodeTest, CutAndGarbledSamplesNeverCrash) {
    REQUIRE_FIXTURES();
    for (const auto& entry : fs::directory_iterator(ImagesFolder())) {
        const std::vector<std::uint8_t> whole = FileBytes(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        for (std::size_t cut :
             {std::size_t{0}, std::size_t{10}, std::size_t{60}, whole.size() / 2, whole.size() - 1}) {
            const std::span<const std::uint8_t> part(whole.data(), std::min(cut, whole.size()));
            for (PictureFormat f :
                 {PictureFormat::kBmp, PictureFormat::kJpeg, PictureFormat::kGif, PictureFormat::kTiff})
                DecodePicture(f, part);
        }
        std::vector<std::uint8_t> garbled = whole;
        for (std::size_t i = 20; i < garbled.size(); i += 37) garbled[i] ^= 0x5A;
        for (PictureFormat f :
             {PictureFormat::kBmp, PictureFormat::kJpeg, PictureFormat::kGif, PictureFormat::kTiff})
            DecodePicture(f, garbled);
    }
}

TEST(DecodeTest, JpegDeclaringAHugePictureIsRefusedAtItsHeader) {
    // A valid 8 x 8 file whose frame header is patched to claim 65000 x 65000.
    std::vector<std::uint8_t> jpeg = test::JpegOf(test::MakePicture(8, 8));
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xFD, jpeg[i + 6] = 0xE8, jpeg[i + 7] = 0xFD, jpeg[i + 8] = 0xE8;
            break;
        }
    }
    EXPECT_EQ(JpegDeclaredSize(jpeg), (Size{65000, 65000}));
    EXPECT_FALSE(DecodeJpeg(jpeg));
}

}  // namespace
}  // namespace pelko::imaging

namespace pelko::imaging {
namespace {

// A GIF whose one-pixel frame (colour 0, black) sits at (left, top) of a screen of the given size.
std::vector<std::uint8_t> OnePixelGif(std::uint16_t screenWidth, std::uint16_t screenHeight,
                                      std::uint16_t left, std::uint16_t top) {
    std::vector<std::uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    const auto put16 = [&](std::uint16_t v) {
        g.push_back(static_cast<std::uint8_t>(v));
        g.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put16(screenWidth);
    put16(screenHeight);
    g.insert(g.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // two-colour table: black, white
    g.push_back(0x2C);
    put16(left);
    put16(top);
    put16(1);
    put16(1);
    g.push_back(0);
    // LZW with 2-bit minimum: clear, index 0, end, as 3-bit codes.
    g.insert(g.end(), {2, 2, 0x44, 0x01, 0, 0x3B});
    return g;
}

TEST(DecodeTest, GifScreenIsBelievedWithinBounds) {
    const std::optional<Image> framed = DecodeGif(OnePixelGif(3, 3, 1, 1));
    ASSERT_TRUE(framed);
    ASSERT_EQ(framed->PixelSize(), (Size{3, 3}));
    EXPECT_EQ(PixelAt(*framed, 1, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*framed, 0, 0), (Rgb{255, 255, 255}));
    // A 60000 x 60000 screen around one pixel is not allocated: the frame is drawn alone.
    const std::optional<Image> alone = DecodeGif(OnePixelGif(60000, 60000, 5, 5));
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->PixelSize(), (Size{1, 1}));
    EXPECT_EQ(PixelAt(*alone, 0, 0), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace pelko::imaging
