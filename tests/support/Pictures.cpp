#include "support/Pictures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "imaging/BmpCodec.h"
#include "imaging/JpegCodec.h"

namespace pelko::test {

imaging::Image MakePicture(int width, int height, const std::function<Rgb(int, int)>& paint) {
    std::optional<imaging::Image> image = imaging::Image::Create(width, height, 40);
    if (!image) throw std::runtime_error("cannot make a test picture");
    if (paint) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* p = image->Row(y);
            for (int x = 0; x < width; ++x, p += 3) {
                const Rgb c = paint(x, y);
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
    }
    return std::move(*image);
}

Rgb PixelAt(const imaging::Image& image, int x, int y) {
    const std::uint8_t* p = image.Row(y) + static_cast<std::size_t>(x) * 3;
    return Rgb{p[0], p[1], p[2]};
}

std::vector<std::uint8_t> JpegOf(const imaging::Image& image) {
    auto bytes = imaging::EncodeJpeg(image, 90);
    if (!bytes) throw std::runtime_error("cannot encode a test JPEG");
    return *bytes;
}

std::vector<std::uint8_t> BmpOf(const imaging::Image& image) {
    auto bytes = imaging::EncodeBmp(image);
    if (!bytes) throw std::runtime_error("cannot encode a test BMP");
    return *bytes;
}

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace pelko::test
