#pragma once
// Makes the thumbnail of one picture: decodes it (the PSD reader for Photoshop files, the
// codec library for the rest), chooses its size, and saves it as JPEG at quality 80, or as
// BMP when JPEG encoding fails. Named after the scanning window's picture area, whose size
// decides the thumbnail's unless the settings fix one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "scan/ByteSource.h"
#include "scan/CPsdReader.h"

namespace pelko::scan {

struct PictureSettings;

// A picture file larger than this is not read for a thumbnail.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{256} << 20;

// The box a picture of `declared` size is fitted into, or nothing when it keeps its size:
// the set thumbnail size when it is on and the picture exceeds it in both directions, else the
// picture area when the picture exceeds that in both directions. A picture larger than the
// box in one direction only therefore keeps its full size.
std::optional<imaging::Size> ThumbnailBox(imaging::Size declared, imaging::Size area,
                                          const PictureSettings& settings);

// The thumbnail image of a decoded picture: fitted into its box on a white canvas of exactly
// the box's size, or the picture itself. Nothing when memory runs out.
std::optional<imaging::Image> ThumbnailImage(imaging::Image picture, imaging::Size area,
                                             const PictureSettings& settings);

// True for the extensions a thumbnail can be made of: ".jpg", ".jpe", ".bmp", ".gif", ".tif",
// ".tiff" and ".psd" (lower case).
bool HasPictureDecoder(std::string_view extension);

// A thumbnail made in memory, ready to be saved: the image, and its JPEG file at quality 80
// unless JPEG encoding failed.
struct PreparedThumbnail {
    imaging::Image image;
    std::optional<std::vector<std::uint8_t>> jpeg;
};

// Decodes a raster picture file (any extension HasPictureDecoder accepts except ".psd") and
// makes its thumbnail in memory. Touches nothing but its arguments, so pictures can be prepared
// on several threads at once. Nothing when the picture cannot be decoded.
std::optional<PreparedThumbnail> PrepareThumbnail(std::span<const std::uint8_t> file,
                                                  std::string_view extension, imaging::Size area,
                                                  const PictureSettings& settings);

// Saves a thumbnail at `jpegPath` as JPEG; when that fails, removes whatever is there and saves
// it as BMP under the same name with ".bmp" in place of ".jpg". The path written, or nothing
// when neither save worked.
std::optional<std::filesystem::path> SaveThumbnail(const PreparedThumbnail& thumbnail,
                                                   const std::filesystem::path& jpegPath);

class CPicStatic {
public:
    // Makes the thumbnail of the picture in `source` (null when it could not be opened), whose
    // lower-cased extension picks the decoder (".jpg" and ".jpe" JPEG, ".bmp", ".gif", ".tif"
    // and ".tiff" TIFF, ".psd"), at `target` (a name ending in ".jpg"). True when a thumbnail
    // file was made; LastThumbnail() then names it.
    bool MakeThumbnail(ByteSource* source, std::string_view extension, const std::filesystem::path& target,
                       imaging::Size area, const PictureSettings& settings);

    // Saves a thumbnail prepared elsewhere at `target`, as MakeThumbnail would have.
    bool SaveThumbnail(const PreparedThumbnail& thumbnail, const std::filesystem::path& target);

    const std::filesystem::path& LastThumbnail() const { return m_lastThumbnail; }

private:
    bool TakePsdThumbnail(const std::filesystem::path& target, imaging::Size area);

    CPsdReader m_psd;
    std::filesystem::path m_lastThumbnail;
};

}  // namespace pelko::scan
