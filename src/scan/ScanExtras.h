#pragma once
// The per-file extras of a scan: archive listings, MP3 tag texts, program icons and picture
// thumbnails. The walker calls them at fixed points of its walk when their settings are on;
// a walk without extras records names, sizes and times only.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/ImageList.h"
#include "scan/WalkResult.h"

namespace pelko::catalog {
class CDir;
}
namespace pelko::platform {
class VolumeFolder;
}

namespace pelko::scan {

class CScanProgress;
struct ScanState;

class ScanExtras {
public:
    virtual ~ScanExtras() = default;

    // Fills an archive folder record (kind 1) with the listing of the archive file `rawName`
    // of `folder`. An archive that cannot be read is listed as finished: its folder stays as it
    // was.
    virtual WalkResult ListArchive(catalog::CDir& archiveFolder, platform::VolumeFolder& folder,
                                   std::string_view rawName, ScanState& state, CScanProgress* progress) = 0;

    // The memo text of an MP3 file's tag, or empty.
    virtual std::string ReadMp3Tag(platform::VolumeFolder& folder, std::string_view rawName) = 0;

    // The 16 x 16 icon of a program file, or null.
    virtual std::unique_ptr<catalog::IconImage> TakeProgramIcon(platform::VolumeFolder& folder,
                                                                std::string_view rawName) = 0;

    // Thumbnails the pictures among the records of `dir` into `thumbnailFolder`, which exists.
    // Pictures that cannot be read simply get no thumbnail; a cancel ends the folder's walk.
    virtual WalkResult MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder,
                                      std::string_view folderPath,
                                      const std::filesystem::path& thumbnailFolder, ScanState& state,
                                      CScanProgress* progress) = 0;
};

}  // namespace pelko::scan
