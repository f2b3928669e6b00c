#pragma once
// Small generated pictures for the imaging and thumbnail tests.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "imaging/Image.h"

namespace pelko::test {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A w x h image whose pixels `paint(x, y)` gives (a uniform grey 40 without it).
imaging::Image MakePicture(int width, int height, const std::function<Rgb(int, int)>& paint = {});
Rgb PixelAt(const imaging::Image& image, int x, int y);

std::vector<std::uint8_t> JpegOf(const imaging::Image& image);
std::vector<std::uint8_t> BmpOf(const imaging::Image& image);

// The bytes of a file, empty when it cannot be read.
std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path);

}  // namespace pelko::test
