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

bool HasPictureDecoder(std::string_view extension) { return DecoderFor(extension) != Decoder::kNone; }

std::optional<PreparedThumbnail> PrepareThumbnail(std::span<const std::uint8_t> file,
                                                  std::string_view extension, Size area,
                                                  const PictureSettings& settings) {
    const Decoder decoder = DecoderFor(extension);
    if (decoder == Decoder::kNone || decoder == Decoder::kPsd) return std::nullopt;
    // A JPEG need only be decoded as large as the thumbnail it feeds.
    const imaging::CoverSize cover = [&](Size declared) {
        const std::optional<Size> box = ThumbnailBox(declared, area, settings);
        return box ? imaging::FittedSize(declared, *box) : declared;
    };
    std::optional<Image> picture = imaging::DecodePicture(FormatOf(decoder), file, cover);
    if (!picture) return std::nullopt;
    std::optional<Image> thumbnail = ThumbnailImage(std::move(*picture), area, settings);
    if (!thumbnail) return std::nullopt;
    auto jpeg = imaging::EncodeJpeg(*thumbnail, kJpegQuality);
    return PreparedThumbnail{std::move(*thumbnail), std::move(jpeg)};
}

std::optional<fs::path> SaveThumbnail(const PreparedThumbnail& thumbnail, const fs::path& jpegPath) {
    if (thumbnail.jpeg && WriteThumbnailFile(jpegPath, *thumbnail.jpeg)) return jpegPath;
    std::error_code ignored;
    fs::remove(jpegPath, ignored);
    fs::path bmpPath = jpegPath;
    bmpPath.replace_extension(".bmp");
    if (const auto bmp = imaging::EncodeBmp(thumbnail.image)) {
        if (WriteThumbnailFile(bmpPath, *bmp)) return bmpPath;
    }
    fs::remove(bmpPath, ignored);
    return std::nullopt;
}

bool CPicStatic::MakeThumbnail(ByteSource* source, std::string_view extension, const fs::path& target,
                               Size area, const PictureSettings& settings) {
    const Decoder decoder = DecoderFor(extension);
    if (decoder == Decoder::kNone || !source) return false;
    if (decoder != Decoder::kPsd) {
        const std::optional<std::vector<std::uint8_t>> bytes = source->ReadAll(kMaxPictureFileBytes);
        if (!bytes) return false;
        const std::optional<PreparedThumbnail> thumbnail =
            PrepareThumbnail(*bytes, extension, area, settings);
        return thumbnail && SaveThumbnail(*thumbnail, target);
    }

    if (m_psd.Read(source, target) != CPsdReader::kOk) return false;
    if (m_psd.ThumbnailFound()) return TakePsdThumbnail(target, area);
    std::optional<Image> picture = m_psd.MakeImage();
    m_psd.ReleaseBitmap();
    if (!picture) return false;
    std::optional<Image> thumbnail = ThumbnailImage(std::move(*picture), area, settings);
    if (!thumbnail) return false;
    auto jpeg = imaging::EncodeJpeg(*thumbnail, kJpegQuality);
    return SaveThumbnail(PreparedThumbnail{std::move(*thumbnail), std::move(jpeg)}, target);
}

bool CPicStatic::SaveThumbnail(const PreparedThumbnail& thumbnail, const fs::path& target) {
    const std::optional<fs::path> saved = scan::SaveThumbnail(thumbnail, target);
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
