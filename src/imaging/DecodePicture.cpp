#include "imaging/DecodePicture.h"

#include "imaging/BmpCodec.h"
#include "imaging/GifDecoder.h"
#include "imaging/TiffDecoder.h"

namespace pelko::imaging {

std::optional<Image> DecodePicture(PictureFormat format, std::span<const std::uint8_t> file,
                                   const CoverSize& cover) {
    switch (format) {
        case PictureFormat::kBmp:
            return DecodeBmp(file);
        case PictureFormat::kJpeg:
            return DecodeJpeg(file, cover);
        case PictureFormat::kGif:
            return DecodeGif(file);
        case PictureFormat::kTiff:
            return DecodeTiff(file);
    }
    return std::nullopt;
}

}  // namespace pelko::imaging
