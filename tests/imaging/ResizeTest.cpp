// Smooth scaling and the fitted thumbnail.

#include <gtest/gtest.h>

#include "imaging/Resize.h"
#include "support/Pictures.h"

namespace pelko::imaging {
namespace {

using test::PixelAt;
using test::Rgb;

TEST(ResizeTest, FittedSizeFollowsTheBoxesProportions) {
    const struct {
        Size declared, box, fitted;
    } cases[] = {
        {{1000, 800}, {320, 240}, {300, 240}},  // relatively taller than the box: height decides
        {{640, 480}, {320, 240}, {320, 240}},   // same proportions
        {{800, 400}, {320, 240}, {320, 160}},   // wider: width decides
        {{2000, 100}, {320, 240}, {320, 16}},  {{100, 5000}, {320, 240}, {4, 240}},
        {{5000, 10}, {320, 240}, {320, 1}},    // never below one pixel
        {{200, 100}, {320, 240}, {200, 100}},  // fits: unchanged
        {{333, 240}, {320, 240}, {320, 230}},  // 240 * 320 / 333 = 230.6, truncated
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.declared.width) + "x" + std::to_string(c.declared.height));
        EXPECT_EQ(FittedSize(c.declared, c.box), c.fitted);
    }
}

TEST(ResizeTest, ThumbnailIsCentredBetweenWhiteBands) {
    const Image picture = test::MakePicture(1000, 800, [](int, int) { return Rgb{0, 0, 0}; });
    const std::optional<Image> thumbnail = FitThumbnail(picture, Size{320, 240});
    ASSERT_TRUE(thumbnail);
    ASSERT_EQ(thumbnail->PixelSize(), (Size{320, 240}));
    for (int y = 0; y < 240; y += 7) {
        for (int x = 0; x < 320; ++x) {
            const bool band = x < 10 || x >= 310;
            ASSERT_EQ(PixelAt(*thumbnail, x, y), (band ? Rgb{255, 255, 255} : Rgb{0, 0, 0})) << x << "," << y;
        }
    }
}

TEST(ResizeTest, ThumbnailOfAReducedDecodeUsesTheDeclaredSize) {
    // A 1000 x 800 picture decoded at 3/8 (375 x 300) still gives a 300 x 240 picture.
    Image reduced = test::MakePicture(375, 300, [](int, int) { return Rgb{0, 0, 0}; });
    reduced.SetDeclaredSize(Size{1000, 800});
    const std::optional<Image> thumbnail = FitThumbnail(reduced, Size{320, 240});
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(PixelAt(*thumbnail, 9, 120), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(*thumbnail, 10, 120), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*thumbnail, 309, 120), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*thumbnail, 310, 120), (Rgb{255, 255, 255}));
}

TEST(ResizeTest, SmoothScalingAveragesWhatEachPixelCovers) {
    // Vertical stripes one pixel wide shrink to an even grey, not to aliased stripes.
    const Image stripes = test::MakePicture(400, 10, [](int x, int) {
        const std::uint8_t v = x % 2 ? 255 : 0;
        return Rgb{v, v, v};
    });
    const std::optional<Image> half = ScaleSmooth(stripes, 100, 5);
    ASSERT_TRUE(half);
    for (int x = 0; x < 100; ++x) EXPECT_NEAR(PixelAt(*half, x, 2).r, 128, 1) << x;
    // A small picture fitted into a larger box is not enlarged, only centred.
    const Image small = test::MakePicture(10, 10, [](int, int) { return Rgb{1, 2, 3}; });
    const std::optional<Image> boxed = FitThumbnail(small, Size{20, 30});
    ASSERT_TRUE(boxed);
    EXPECT_EQ(PixelAt(*boxed, 5, 10), (Rgb{1, 2, 3}));
    EXPECT_EQ(PixelAt(*boxed, 4, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(*boxed, 5, 9), (Rgb{255, 255, 255}));
    EXPECT_FALSE(FitThumbnail(small, Size{0, 30}));
}

}  // namespace
}  // namespace pelko::imaging
