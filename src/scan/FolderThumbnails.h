#pragma once
// Thumbnails the pictures of one folder record after the walker has read the folder: visits its
// file records in name order, takes those whose extension is switched on (and which the
// exclude and only lists let through), honours the per-folder and per-scan picture limits and
// the walk's budget of newly added files, and has each picture's thumbnail made and shown.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "scan/CPicStatic.h"
#include "scan/PictureSettings.h"
#include "scan/ScanSettings.h"
#include "scan/WalkResult.h"
#include "scan/WorkerPool.h"

namespace pelko::catalog {
class CDir;
}
namespace pelko::platform {
class VolumeFolder;
}

namespace pelko::scan {

class CScanProgress;
struct ScanState;

// True when the settings make a file with this (lower-cased) extension a picture candidate.
bool IsPictureCandidate(std::string_view extension, const PictureSettings& settings);

// The thumbnail file name of a picture: its name up to its last "." (the whole name when it
// has none) followed by ".jpg", as a single file-system name that cannot leave its folder.
std::string ThumbnailFileName(std::string_view pictureName);

// Pictures are decoded ahead on up to two threads while the scan thread saves and shows them
// strictly in record order, so the files written, the counters and the calls to the progress
// window are exactly those of one picture after the other.
class FolderThumbnailer {
public:
    FolderThumbnailer(ScanSettings scan, PictureSettings pictures);

    // Thumbnails the pictures of `dir`, read from `folder` (the medium's folder of that
    // record, whose full path is `folderPath`), into `thumbnailFolder`, which exists. Uses and
    // updates the scan's counters. Finished when done or stopped by a picture limit, the
    // cancel's reason when cancelled, OutOfMemory when memory ran out before the folder's last
    // picture. Without a progress window no thumbnail is made (the limits still count).
    WalkResult MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder, std::string_view folderPath,
                              const std::filesystem::path& thumbnailFolder, ScanState& state,
                              CScanProgress* progress);

private:
    struct Job;
    struct Walk;

    // The next picture to thumbnail, or nothing with `result` set when the folder is done
    // (Finished) or cancelled.
    std::optional<Job> NextPicture(Walk& walk, WalkResult& result);
    void StartDecoding(Job& job, platform::VolumeFolder& folder, imaging::Size area);
    bool ShowPicture(Job& job, CScanProgress* progress, platform::VolumeFolder& folder, imaging::Size area);
    std::optional<std::string> RawName(platform::VolumeFolder& folder, std::string_view name);

    ScanSettings m_scan;
    PictureSettings m_pictures;
    CPicStatic m_picture;
    // Decodes pictures ahead of the scan thread; started with the first picture of the scan.
    std::unique_ptr<WorkerPool> m_decoders;
    // Medium names of the folder being thumbnailed by record name; filled on first need.
    std::unordered_map<std::string, std::string> m_rawNames;
    bool m_rawNamesRead = false;
};

}  // namespace pelko::scan
