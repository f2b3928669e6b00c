#pragma once
// The four default pictures of the views' large-picture mode: one for categories and one for
// each kind of scan object without a cover picture of its own. Each is a 100 x 66 pixel,
// 8-bit palettized BMP file drawn by this program; they are written into the Disk folder of
// the catalog directory whenever the catalog is loaded.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pelko::catalog {

enum class DefaultPicture { Category, Disc, HardDisk, Folder };

inline constexpr int kDefaultPictureWidth = 100;
inline constexpr int kDefaultPictureHeight = 66;
// File header, information header, 256-entry palette and rows, padded to a multiple of 4.
inline constexpr std::size_t kDefaultPictureFileBytes = 7680;

inline constexpr DefaultPicture kAllDefaultPictures[] = {DefaultPicture::Category, DefaultPicture::Disc,
                                                         DefaultPicture::HardDisk, DefaultPicture::Folder};

// "cat.bmp", "disk.bmp", "fdisk.bmp" or "fdir.bmp".
std::string_view DefaultPictureFileName(DefaultPicture picture);

// The picture of a scan object's kind: 0 a disc, 1 a hard disk, 2 and any other kind a folder.
DefaultPicture DefaultPictureForKind(std::uint8_t kind);
inline std::string_view DefaultPictureFileNameForKind(std::uint8_t kind) {
    return DefaultPictureFileName(DefaultPictureForKind(kind));
}
inline std::string_view CategoryPictureFileName() { return DefaultPictureFileName(DefaultPicture::Category); }

// The bytes of the BMP file, the same on every call.
std::span<const std::uint8_t> DefaultPictureBytes(DefaultPicture picture);

// Writes one picture into `folder`, creating the folder when missing and replacing a file of
// that name. False when the folder cannot be made or the file cannot be written.
bool WriteDefaultPicture(DefaultPicture picture, const std::filesystem::path& folder);

// Writes all four pictures into the Disk folder. True when every one was written.
bool WriteDefaultPictures(const std::filesystem::path& diskFolder);

}  // namespace pelko::catalog
