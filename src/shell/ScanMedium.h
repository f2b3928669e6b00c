#pragma once
// Opening what a scan reads: an optical device (read without mounting where its file system
// allows), the mount point of a disc or partition, an image file, or a plain folder. Shared by
// pelko-cli's scan commands and the desktop program's scan run.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MountTable.h"
#include "platform/Volume.h"
#include "platform/VolumeInformation.h"

namespace pelko::shell {

// A medium ready for the walk.
struct ScanMedium {
    std::unique_ptr<platform::Volume> volume;
    // Where the walk starts and what the disc's root folder record is named (file-system path).
    std::filesystem::path rootPath;
    // The optical device behind the medium, whose tray is locked for the scan and whose disc
    // leaving ends it; empty for partitions, folders and image files.
    std::string device;
    // Label, serial and the rest; absent for a folder opened with `OpenFolderMedium`.
    std::optional<platform::VolumeInformation> info;
};

// The result of opening: the medium, or the reason it cannot be scanned (UTF-8, one line, for
// pelko-cli's standard error; the desktop program stays silent as the scan commands do when a
// drive holds no disc).
struct OpenedMedium {
    std::optional<ScanMedium> medium;
    std::string error;
};

// Paths are taken as absolute, without "." and ".." parts or a trailing "/" (`rootPath` and the
// error lines show them so), so one folder always gets one root name.

// The path as the user means it: absolute, without "." and ".." parts or a trailing "/", so the
// same folder always gets the same root name and catalog identity.
std::filesystem::path NormalisedPath(const std::filesystem::path& path);

// A disc or partition: `source` is a device node, an image file or a mount point (a folder).
// `partition`: only a mount point is accepted. The volume information must be readable.
OpenedMedium OpenDriveMedium(const std::filesystem::path& source, bool partition);

// A folder read through the local file system, without volume information.
OpenedMedium OpenFolderMedium(const std::filesystem::path& folder);

// What kind of drive is mounted exactly at `folder` (a folder that is a mount point), if any.
std::optional<platform::DriveType> DriveMountedAt(const std::vector<platform::MountedVolume>& mounts,
                                                  const std::filesystem::path& folder);

}  // namespace pelko::shell
