#include "scan/CPicStatic.h"

#include <system_error>

#include "imaging/BmpCodec.h"
#include "imaging/DecodePicture.h"
#include "imaging/JpegCodec.h"
#include "imaging/Resize.h"
#include "scan/ByteSource.h"
#include "scan/PictureSettings.h"
#include "scan/ThumbnailFile.h"

namespace pelko::scan {

namespace fs = std::filesystem;
using imaging::Image;
using imaging::PictureFormat;
using imaging::Size;

namespace {

constexpr int kJpegQuality = 80;

enum class Decoder { kNone, kJpeg, kBmp, kGif, kTiff, kPsd };

Decoder DecoderFor(std::string_view extension) {
    if (extension == ".jpg" || extension == ".jpe") return Decoder::kJpeg;
    if (extension == ".bmp") return Decoder::kBmp;
    if (extension == ".gif") return Decoder::kGif;
    if (extension == ".tif" || extension == ".tiff") return Decoder::kTiff;
    if (extension == ".psd") return Decoder::kPsd;
    return Decoder::kNone;
}

PictureFormat FormatOf(Decoder decoder) {
    switch (decoder) {
        case Decoder::kBmp:
            return PictureFormat::kBmp;
        case Decoder::kGif:
            return PictureFormat::kGif;
        case Decoder::kTiff:
            return PictureFormat::kTiff;
        default:
            return PictureFormat::kJpeg;
    }
}

}  // namespace

std::optional<Size> ThumbnailBox(Size declared, Size area, const PictureSettings& settings) {
    if (settings.bPicSize && settings.nPicWidth > 0 && settings.nPicHight > 0 &&
        declared.width > settings.nPicWidth && declared.height > settings.nPicHight)
        return Size{settings.nPicWidth, settings.nPicHight};
    if (area.width > 0 && area.height > 0 && declared.width > area.width && declared.height > area.height)
        return area;
    return std::nullopt;
}

std::optional<Image> ThumbnailImage(Image picture, Size area, const PictureSettings& settings) {
    const std::optional<Size> box = ThumbnailBox(picture.DeclaredSize(), area, settings);
    if (!box) return picture;
    return imaging::FitThumbnail(picture, *box);
}

std::optional<fs::path> SaveThumbnail(const Image& thumbnail, const fs::path& jpegPath) {
    if (const auto jpeg = imaging::EncodeJpeg(thumbnail, kJpegQuality)) {
        if (WriteThumbnailFile(jpegPath, *jpeg)) return jpegPath;
    }
    std::error_code ignored;
    fs::remove(jpegPath, ignored);
    fs::path bmpPath = jpegPath;
    bmpPath.replace_extension(".bmp");
    if (const auto bmp = imaging::EncodeBmp(thumbnail)) {
        if (WriteThumbnailFile(bmpPath, *bmp)) return bmpPath;
    }
    fs::remove(bmpPath, ignored);
    return std::nullopt;
}

bool CPicStatic::MakeThumbnail(ByteSource* source, std::string_view extension, const fs::path& target,
                               Size area, const PictureSettings& settings) {
    const Decoder decoder = DecoderFor(extension);
    if (decoder == Decoder::kNone || !source) return false;

    std::optional<Image> picture;
    if (decoder == Decoder::kPsd) {
        if (m_psd.Read(source, target) != CPsdReader::kOk) return false;
        if (m_psd.ThumbnailFound()) return TakePsdThumbnail(target, area);
        picture = m_psd.MakeImage();
        m_psd.ReleaseBitmap();
    } else {
        const std::optional<std::vector<std::uint8_t>> bytes = source->ReadAll(kMaxPictureFileBytes);
        if (!bytes) return false;
        // A JPEG need only be decoded as large as the thumbnail it feeds.
        const imaging::CoverSize cover = [&](Size declared) {
            const std::optional<Size> box = ThumbnailBox(declared, area, settings);
            return box ? imaging::FittedSize(declared, *box) : declared;
        };
        picture = imaging::DecodePicture(FormatOf(decoder), *bytes, cover);
    }
    if (!picture) return false;

    const std::optional<Image> thumbnail = ThumbnailImage(std::move(*picture), area, settings);
    if (!thumbnail) return false;
    const std::optional<fs::path> saved = SaveThumbnail(*thumbnail, target);
    if (!saved) return false;
    m_lastThumbnail = *saved;
    return true;
}

// The embedded JPEG is the thumbnail as it stands; it only has to be a picture. One that does
// not decode is removed again rather than left for the content list to stumble over.
bool CPicStatic::TakePsdThumbnail(const fs::path& target, Size area) {
    if (!m_psd.ThumbnailWritten()) return false;
    const imaging::CoverSize cover = [&](Size declared) { return imaging::FittedSize(declared, area); };
    if (!imaging::DecodeJpeg(m_psd.ThumbnailJpeg(), cover)) {
        std::error_code ignored;
        fs::remove(target, ignored);
        return false;
    }
    m_lastThumbnail = target;
    return true;
}

}  // namespace pelko::scan
