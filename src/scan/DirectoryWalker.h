#pragma once
// Turns a folder of a medium into folder and file records under a disc root, applying the
// scan options, firing the per-file extras, and polling the progress window for cancellation
// at the start of each folder and before every fifth entry. How the walk ended travels up from
// the folder where it happened, so a cancel deep below the root ends the whole scan and the
// caller learns that it was cancelled (or that the medium left its drive).
//
// Re-scanning a tree loaded from an earlier scan keeps every record that is already there
// (insertion refuses equal names) and adds records for new entries only.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "scan/ScanSettings.h"
#include "scan/ScanState.h"
#include "scan/WalkResult.h"

namespace pelko::catalog {
class CCD;
class CDir;
class MessageLog;
}  // namespace pelko::catalog
namespace pelko::platform {
class Volume;
class VolumeFolder;
}  // namespace pelko::platform

namespace pelko::scan {

class CScanProgress;
class ScanExtras;

class DirectoryWalker {
public:
    // `diskFolder` is the catalog's "Disk" folder, under which thumbnail folders and copied
    // files go. `extras` and `log` may be null.
    DirectoryWalker(platform::Volume& volume, const ScanSettings& settings, std::filesystem::path diskFolder,
                    ScanExtras* extras = nullptr, catalog::MessageLog* log = nullptr);

    // The whole scan: resets the counters, reads the root's readme when asked, then walks the
    // root, whose name is the path of the scanned folder. What was read stays in the tree
    // whatever the result; the result says how much of the medium that is.
    WalkResult Scan(catalog::CCD& cd, CScanProgress* progress);

    const ScanState& State() const { return m_state; }

    // Where the thumbnails and copies of a folder record go.
    std::filesystem::path ThumbnailFolder(const catalog::CDir& dir) const;

private:
    WalkResult ScanFolder(catalog::CDir& dir, platform::VolumeFolder* parent, std::string_view rawName,
                          CScanProgress* progress);
    WalkResult ReadReadme(catalog::CCD& cd);
    bool EnsureThumbnailFolder(const catalog::CDir& dir) const;
    void CopyIfListed(catalog::CDir& dir, platform::VolumeFolder& folder, std::string_view name,
                      std::string_view rawName, std::string_view extension);

    platform::Volume& m_volume;
    const ScanSettings& m_settings;
    std::filesystem::path m_diskFolder;
    std::filesystem::path m_pictureRoot;  // "<disc file>.pic" of the disc being scanned
    ScanExtras* m_extras;
    catalog::MessageLog* m_log;
    int m_kind = 0;
    ScanState m_state;
};

// True when `extension` is listed in `list` ("*.a;*.b"): its first occurrence is followed by
// ";" or by the end of the list.
bool IsExtensionListed(std::string_view list, std::string_view extension);

// True when a file matches the copy list: its lower-cased name occurs anywhere in the list, or
// its extension's first occurrence is preceded by "*" and followed by ";" or the end.
bool MatchesCopyList(std::string_view list, std::string_view lowerName, std::string_view extension);

}  // namespace pelko::scan
