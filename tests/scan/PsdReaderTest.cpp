// The Photoshop reader: real files give their recorded thumbnails and pictures, every error
// code has its file, every colour mode its colours, and hostile files fail cheaply.

#include "scan/CPsdReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "imaging/JpegCodec.h"
#include "scan/ByteSource.h"
#include "support/Pictures.h"
#include "support/PsdBuilder.h"
#include "support/Requirements.h"
#include "support/Sha256.h"
#include "support/TempDir.h"

namespace pelko::scan {
namespace {

namespace fs = std::filesystem;
using test::PsdLayout;
using test::Rgb;

int ReadBytes(CPsdReader& reader, const std::vector<std::uint8_t>& bytes, const fs::path& target = {}) {
    MemoryByteSource source(bytes);
    return reader.Read(&source, target);
}

// The top-left pixel of the decoded picture.
Rgb FirstPixel(const CPsdReader& reader) {
    const std::optional<imaging::Image> image = reader.MakeImage();
    if (!image) return Rgb{1, 2, 3};
    return test::PixelAt(*image, 0, 0);
}

TEST(PsdReaderTest, RealFilesGiveTheirRecordedTruth) {
    REQUIRE_FIXTURES();
    const fs::path folder = test::SharedFixtures() / "psd";
    const struct {
        const char* file;
        int code;
        std::size_t jpegBytes;  // 0: no thumbnail, the picture is decoded
        const char* sha256;
        int width, height;
        double mean[3] = {0, 0, 0};  // of the decoded picture, per channel
    } samples[] = {
        {"4x4_8bit_rgb.psd", 0, 563, "86c9b6174c73a5ac09820bde2d4b3cc56dd70b5b5da3432e4418b09e47816376", 4,
         4},
        {"4x4_1bit_bitmap.psd", 0, 565, "b05f9072ccaa8d66d698aa890ef21cd9936bbc9c36e1f443007c0cfab6f17ac5", 4,
         4},
        {"4x4_8bit_index_color.psd", 0, 570,
         "2aeb3beeba4de98c197f183606fa5cee9615a4853e53838ba29b365c46da9c2e", 4, 4},
        {"4x4_8bit_duotone.psd", 0, 560, "49a419f8d608e69ea94acf7b8562301a0539c9ada3bc79b69106bb6eeab76719",
         4, 4},
        {"4x4_16bit_grayscale.psd", 0, 556,
         "345b9bc9c168a96973def5e769aa56561878621f0d86e90b5afe89ce087e18c8", 4, 4},
        {"4x4_16bit_rgb.psd", 0, 563, "86c9b6174c73a5ac09820bde2d4b3cc56dd70b5b5da3432e4418b09e47816376", 4,
         4},
        {"pattern2-8-multichannel.psd", 0, 3777,
         "be4c57c78f7d419d3760b5c9c36af571523214415587c05b1a9679cc72317d5d", 200, 150},
        {"pattern2-8-grayscale.psd", 0, 3027,
         "041e6719a2b2781b326a46bea952090643bac2e61fc30f256f1c7ce12277c2a4", 200, 150},
        {"1layer.psd", 0, 0, "", 101, 55, {82.75, 208.10, 51.54}},
        {"layer-mask.psd", 0, 0, "", 10, 10, {226.70, 178.31, 178.33}},
        {"transparentbg-gimp.psd", 0, 0, "", 40, 40, {255, 255, 255}},
        {"1layer.psb", CPsdReader::kBadHeader, 0, "", 0, 0},
    };
    test::TempDir temp;
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        const std::vector<std::uint8_t> bytes = test::FileBytes(folder / sample.file);
        ASSERT_FALSE(bytes.empty());
        const fs::path target = temp / (std::string(sample.file) + ".jpg");
        CPsdReader reader;
        ASSERT_EQ(ReadBytes(reader, bytes, target), sample.code);
        if (sample.code != 0) continue;
        EXPECT_EQ(reader.Width(), sample.width);
        EXPECT_EQ(reader.Height(), sample.height);
        if (sample.jpegBytes) {
            ASSERT_TRUE(reader.ThumbnailFound());
            EXPECT_TRUE(reader.ThumbnailWritten());
            const std::vector<std::uint8_t> written = test::FileBytes(target);
            EXPECT_EQ(written.size(), sample.jpegBytes);
            EXPECT_EQ(test::Sha256Hex(written), sample.sha256);
            EXPECT_TRUE(reader.Bitmap().empty());
        } else {
            EXPECT_FALSE(reader.ThumbnailFound());
            EXPECT_FALSE(fs::exists(target));
            const std::optional<imaging::Image> image = reader.MakeImage();
            ASSERT_TRUE(image);
            EXPECT_EQ(image->PixelSize(), (imaging::Size{sample.width, sample.height}));
            // Mean red, green and blue of the picture: the means of the first three planes as stored.
            double sum[3] = {0, 0, 0};
            for (std::size_t i = 0; i < image->Samples().size(); ++i) sum[i % 3] += image->Samples()[i];
            const double pixels = static_cast<double>(image->Samples().size() / 3);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(sum[c] / pixels, sample.mean[c], 1.0) << "channel " << c;
        }
    }
}

TEST(PsdReaderTest, EmbeddedThumbnailIsWrittenUnchanged) {
    const std::vector<std::uint8_t> jpeg = test::JpegOf(test::MakePicture(16, 12));
    test::TempDir temp;
    for (std::uint16_t id : {std::uint16_t{1036}, std::uint16_t{1033}}) {
        SCOPED_TRACE(id);
        PsdLayout layout;
        // A stray word before the first block, a resource with an odd-length name, then the
        // thumbnail; image data that would fail is never reached.
        layout.resourcePrefix = {0, 0, 0, 0};
        layout.resources = {{1005, "ab", {1, 2, 3}}, {id, "", test::ThumbnailResourceData(jpeg, 16, 12)}};
        layout.compression = 2;
        const fs::path target = temp / "t.jpg";
        CPsdReader reader;
        ASSERT_EQ(ReadBytes(reader, test::BuildPsd(layout), target), CPsdReader::kOk);
        EXPECT_TRUE(reader.ThumbnailFound());
        EXPECT_EQ(test::FileBytes(target), jpeg);
    }
}

TEST(PsdReaderTest, EveryRefusalHasItsCode) {
    const auto raw = [] {
        PsdLayout layout;
        layout.planes = test::UniformPlanes({1, 2, 3}, 4);
        return layout;
    };
    struct Case {
        const char* fault;
        PsdLayout layout;
        int code;
        std::size_t cut = 0;  // bytes removed from the end
    };
    std::vector<Case> cases;
    const auto add = [&](const char* fault, int code, auto&& change, std::size_t cut = 0) {
        PsdLayout layout = raw();
        change(layout);
        cases.push_back({fault, layout, code, cut});
    };
    add("good", CPsdReader::kOk, [](PsdLayout&) {});
    add("signature", CPsdReader::kBadHeader, [](PsdLayout& s) { s.signature = "8BPX"; });
    add("version 2", CPsdReader::kBadHeader, [](PsdLayout& s) { s.version = 2; });
    add("no channels", CPsdReader::kBadHeader, [](PsdLayout& s) { s.channels = 0; });
    add("zero width", CPsdReader::kBadHeader, [](PsdLayout& s) { s.width = 0; });
    add(
        "colour data beyond the end", CPsdReader::kBadColourModeData,
        [](PsdLayout& s) { s.colourModeData.assign(30, 0); }, 47);
    add("resource overruns its section", CPsdReader::kBadResourceSection,
        [](PsdLayout& s) { s.resourcePrefix = {'8', 'B', 'I', 'M', 0, 1, 0, 0, 0, 0, 0, 9}; });
    add(
        "layer section beyond the end", CPsdReader::kLayerSectionCutShort,
        [](PsdLayout& s) {
            s.layers.assign(20, 0);
            s.planes.clear();
            s.compression = 0;
        },
        10);
    add(
        "raw data cut short", CPsdReader::kImageDataCutShort, [](PsdLayout&) {}, 1);
    add("depth 1", CPsdReader::kBitmapDepth, [](PsdLayout& s) {
        s.depth = 1;
        s.mode = 0;
        s.channels = 1;
    });
    add("depth 32", CPsdReader::kUnsupportedDepth, [](PsdLayout& s) { s.depth = 32; });
    add("ZIP", CPsdReader::kZipData, [](PsdLayout& s) { s.compression = 2; });
    add("ZIP with prediction", CPsdReader::kZipPredictionData, [](PsdLayout& s) { s.compression = 3; });
    add("compression 7", CPsdReader::kUnknownCompression, [](PsdLayout& s) { s.compression = 7; });
    add(
        "PackBits cut short", CPsdReader::kImageDataCutShort, [](PsdLayout& s) { s.compression = 1; }, 2);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        std::vector<std::uint8_t> bytes = test::BuildPsd(c.layout);
        bytes.resize(bytes.size() - c.cut);
        CPsdReader reader;
        EXPECT_EQ(ReadBytes(reader, bytes), c.code);
        EXPECT_FALSE(reader.ThumbnailFound());
    }
    CPsdReader reader;
    EXPECT_EQ(reader.Read(nullptr, {}), CPsdReader::kCannotOpen);
}

TEST(PsdReaderTest, ColourModesGiveTheirColours) {
    std::vector<std::uint8_t> table(768, 0);
    table[5] = 10, table[256 + 5] = 20, table[512 + 5] = 30;
    const struct {
        const char* mode;
        std::uint16_t modeCode, depth, compression, channels;
        std::vector<std::uint8_t> samples;  // first pixel, per channel (16-bit: high then low byte)
        std::vector<std::uint8_t> colourModeData;
        Rgb expected;
    } cases[] = {
        {"grey", 1, 8, 0, 1, {77}, {}, {77, 77, 77}},
        {"grey 16 bits", 1, 16, 1, 1, {77, 0xF0}, {}, {77, 77, 77}},
        {"duotone", 8, 8, 0, 1, {90}, std::vector<std::uint8_t>(524, 1), {90, 90, 90}},
        {"indexed", 2, 8, 1, 1, {5}, table, {10, 20, 30}},
        {"indexed without a table", 2, 8, 0, 1, {5}, {}, {255, 255, 255}},
        {"RGB", 3, 8, 1, 3, {10, 200, 30}, {}, {10, 200, 30}},
        {"RGB 16 bits with alpha", 3, 16, 0, 4, {10, 1, 200, 2, 30, 3, 0, 0}, {}, {10, 200, 30}},
        {"CMYK full cyan", 4, 8, 0, 4, {0, 255, 255, 255}, {}, {0, 253, 253}},
        {"CMYK full black", 4, 8, 1, 4, {255, 255, 255, 0}, {}, {0, 0, 0}},
        {"multichannel", 7, 8, 1, 3, {255, 0, 255}, {}, {254, 0, 254}},
        {"multichannel raw", 7, 8, 0, 3, {255, 0, 255}, {}, {255, 255, 255}},
        {"Lab white", 9, 8, 0, 3, {255, 128, 128}, {}, {255, 255, 255}},
        {"Lab black", 9, 8, 1, 3, {0, 128, 128}, {}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        PsdLayout layout;
        layout.mode = c.modeCode;
        layout.depth = c.depth;
        layout.compression = c.compression;
        layout.channels = c.channels;
        layout.width = 3;
        layout.height = 2;
        layout.colourModeData = c.colourModeData;
        const std::size_t bytesPerSample = c.depth / 8u;
        for (std::uint16_t ch = 0; ch < c.channels; ++ch) {
            std::vector<std::uint8_t> plane;
            for (int p = 0; p < 6; ++p)
                for (std::size_t b = 0; b < bytesPerSample; ++b)
                    plane.push_back(c.samples[ch * bytesPerSample + b]);
            layout.planes.push_back(plane);
        }
        CPsdReader reader;
        ASSERT_EQ(ReadBytes(reader, test::BuildPsd(layout)), CPsdReader::kOk);
        EXPECT_EQ(FirstPixel(reader), c.expected);
    }
}

TEST(PsdReaderTest, LabRedComesOutRed) {
    PsdLayout layout;
    layout.mode = 9;
    layout.width = 1;
    layout.height = 1;
    layout.planes = test::UniformPlanes({136, 208, 195}, 1);  // L* 53, a* 80, b* 67: sRGB red
    CPsdReader reader;
    ASSERT_EQ(ReadBytes(reader, test::BuildPsd(layout)), CPsdReader::kOk);
    const Rgb c = FirstPixel(reader);
    EXPECT_GT(c.r, 240);
    EXPECT_LT(c.g, 40);
    EXPECT_LT(c.b, 40);
}

TEST(PsdReaderTest, PixelsKeepTheirPlaces) {
    // 2 x 2 RGB, PackBits: red, green / blue, white.
    PsdLayout layout;
    layout.compression = 1;
    layout.planes = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    CPsdReader reader;
    ASSERT_EQ(ReadBytes(reader, test::BuildPsd(layout)), CPsdReader::kOk);
    const std::optional<imaging::Image> image = reader.MakeImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(test::PixelAt(*image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(test::PixelAt(*image, 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(test::PixelAt(*image, 0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(test::PixelAt(*image, 1, 1), (Rgb{255, 255, 255}));
}

TEST(PsdReaderTest, HugeDeclaredPicturesFailBeforeAllocating) {
    for (std::uint16_t compression : {std::uint16_t{0}, std::uint16_t{1}}) {
        SCOPED_TRACE(compression);
        PsdLayout layout;
        layout.width = 30000;
        layout.height = 30000;
        layout.compression = compression;
        layout.planes = test::UniformPlanes({1, 2, 3}, 100);
        const auto start = std::chrono::steady_clock::now();
        CPsdReader reader;
        EXPECT_LT(ReadBytes(reader, test::BuildPsd(layout)), 0);
        EXPECT_TRUE(reader.Bitmap().empty());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    // A thumbnail resource claiming more bytes than the file holds is no thumbnail.
    PsdLayout layout;
    layout.resources = {{1036, "", test::ThumbnailResourceData(std::vector<std::uint8_t>(40, 0xFF), 4, 4)}};
    std::vector<std::uint8_t> bytes = test::BuildPsd(layout);
    bytes.resize(bytes.size() - 20);
    CPsdReader reader;
    EXPECT_EQ(ReadBytes(reader, bytes), CPsdReader::kBadResourceSection);
    EXPECT_FALSE(reader.ThumbnailFound());
}

TEST(PsdReaderTest, GarbledRealFilesNeverCrash) {
    REQUIRE_FIXTURES();
    const fs::path folder = test::SharedFixtures() / "psd";
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::vector<std::uint8_t> whole = test::FileBytes(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        for (std::size_t step : {std::size_t{13}, std::size_t{101}, std::size_t{997}}) {
            std::vector<std::uint8_t> garbled = whole;
            for (std::size_t i = 26; i < garbled.size(); i += step) garbled[i] ^= 0xA5;
            CPsdReader reader;
            ReadBytes(reader, garbled);
            std::vector<std::uint8_t> cut(whole.begin(),
                                          whole.begin() + static_cast<long>(whole.size() / step));
            ReadBytes(reader, cut);
        }
    }
}

}  // namespace
}  // namespace pelko::scan
