#pragma once
// What a row of the content list shows in large icons: a picture file of the catalog's Disk
// folder, the icon a program file brought from its disc, or (when there is no picture) the
// row's icon key, which the view draws from its icon list.
//
//   category      "cat.bmp"
//   entry         its cover (".jpg", else ".bmp"), else "disk.bmp", "fdisk.bmp" or "fdir.bmp"
//   picture file  its thumbnail in the disc's ".pic" folder (".jpg", else ".bmp")
//   program file  the icon extracted while scanning
//   anything else its icon key ("cdinfo", "dir", "zipdir", "rardir", a file's name)
//
// Every path is built from the Disk folder and names made safe one by one (no "/", never "."
// or ".."), so names read from a disc file cannot lead outside it. Missing default pictures
// are written from the program's own images. Looks at the file system only (a few stat calls
// and, rarely, one small write); nothing is decoded here. UI thread, like the catalog it reads.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/DefaultPictures.h"
#include "shell/CatalogObject.h"

namespace pelko::catalog {
class DiscStore;
struct IconImage;
}  // namespace pelko::catalog

namespace pelko::shell {

class CoverPictures;

struct RowPicture {
    // The picture file to draw; empty when the row has none.
    std::filesystem::path file;
    // A program file's own icon (owned by its record, valid while the record lives); null
    // when the row has none.
    const catalog::IconImage* programIcon = nullptr;
    // The row's icon key, drawn when there is neither picture nor program icon (and while a
    // picture is still loading).
    std::string iconKey;
};

// The icon stored in the disc file for a program (".exe" in any letter case), or null.
const catalog::IconImage* StoredProgramIcon(const catalog::CFileInfo& file);

class RowPictures {
public:
    RowPictures(const catalog::DiscStore& discs, const CoverPictures& covers)
        : m_discs(discs), m_covers(covers) {}

    RowPicture PictureOf(const CatalogObject& row) const;

    // The thumbnail file of a picture file of a loaded disc, when the scan made one: the
    // ".jpg" in its folder's thumbnail folder, else the same name with ".bmp". Nothing for
    // other extensions, files not (or no longer) part of a disc, or missing thumbnails.
    std::optional<std::filesystem::path> ThumbnailOf(const catalog::CFileInfo& file) const;

    // Writes a default picture of the Disk folder anew when `file` is one ("cat.bmp" and the
    // three pictures of entries): called once when it could not be read, so a damaged default
    // picture mends itself. False for every other file and when the write fails.
    bool RestoreDefaultPicture(const std::filesystem::path& file) const;

    // True for the file extensions (lower case, with the dot) shown by their thumbnail.
    static bool ShowsThumbnail(std::string_view extension);

private:
    // A default picture of the Disk folder, written first when it is missing. Empty when it
    // is missing and cannot be written.
    std::filesystem::path DefaultPictureFile(catalog::DefaultPicture picture) const;
    std::optional<std::filesystem::path> ThumbnailFolder(const catalog::CDir& dir) const;

    const catalog::DiscStore& m_discs;
    const CoverPictures& m_covers;
};

}  // namespace pelko::shell
