#include "shell/ScanMedium.h"

#include <sys/stat.h>

#include <system_error>

#include "platform/LocalVolume.h"
#include "platform/UnmountedDisc.h"
#include "platform/Volume.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace fs = std::filesystem;

fs::path NormalisedPath(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    std::string text = absolute.lexically_normal().native();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

namespace {

OpenedMedium Refused(std::string error) {
    OpenedMedium opened;
    opened.error = std::move(error);
    return opened;
}

}  // namespace

OpenedMedium OpenDriveMedium(const fs::path& requested, bool partition) {
    const fs::path source = NormalisedPath(requested);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return Refused("no such device, folder or image: " + source.native());

    ScanMedium medium;
    const std::vector<platform::MountedVolume> mounts = platform::ReadMountedVolumes();
    if (S_ISDIR(st.st_mode)) {
        medium.rootPath = source;
        medium.volume = std::make_unique<platform::LocalVolume>();
        // A disc read from its mount point still has a tray to lock and can still be taken out.
        const platform::MountedVolume* mount = platform::MountHolding(mounts, source.native());
        if (mount && mount->type == platform::DriveType::Optical) medium.device = mount->mount.source;
    } else if (partition) {
        return Refused("scan-drive takes the folder a partition is mounted on");
    } else if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) {
        medium.rootPath = source;
        if (S_ISBLK(st.st_mode)) medium.device = source.native();
        medium.volume = platform::OpenUnmountedDisc(source, text::FromUtf8(source.native()));
        if (!medium.volume && S_ISBLK(st.st_mode)) {
            // Neither ISO 9660 nor UDF that libudf reads: read it where the system mounted it.
            if (const std::optional<std::string> point = platform::MountPointOf(mounts, source.native())) {
                medium.rootPath = *point;
                medium.volume = std::make_unique<platform::LocalVolume>();
            }
        }
        if (!medium.volume) {
            return Refused(source.native() +
                           " holds no ISO 9660 or UDF file system (mount it and scan the mount point)");
        }
    } else {
        return Refused("not a device, folder or image: " + source.native());
    }
    medium.info = platform::ReadVolumeInformation(source);
    if (!medium.info && medium.rootPath != source) medium.info = platform::ReadVolumeInformation(medium.rootPath);
    if (!medium.info) return Refused("cannot read the volume information of " + source.native() + " (no disc?)");

    OpenedMedium opened;
    opened.medium = std::move(medium);
    return opened;
}

OpenedMedium OpenFolderMedium(const fs::path& requested) {
    const fs::path folder = NormalisedPath(requested);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return Refused("not a folder: " + folder.native());
    ScanMedium medium;
    medium.volume = std::make_unique<platform::LocalVolume>();
    medium.rootPath = folder;
    OpenedMedium opened;
    opened.medium = std::move(medium);
    return opened;
}

std::optional<platform::DriveType> DriveMountedAt(const std::vector<platform::MountedVolume>& mounts,
                                                  const fs::path& folder) {
    const fs::path wanted = NormalisedPath(folder);
    std::optional<platform::DriveType> type;
    // Later mounts over the same point hide earlier ones, so the last match counts.
    for (const platform::MountedVolume& volume : mounts)
        if (NormalisedPath(volume.mount.mountPoint) == wanted) type = volume.type;
    return type;
}

}  // namespace pelko::shell
