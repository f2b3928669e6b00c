#include "shell/MediumLocator.h"

#include "platform/MountTable.h"
#include "platform/VolumeInformation.h"
#include "text/MbString.h"

namespace pelko::shell {

std::vector<MountedMedium> SystemMediumLocator::MountedMedia() {
    std::vector<MountedMedium> media;
    for (const platform::MountedVolume& volume : platform::ReadMountedVolumes()) {
        // proc, tmpfs, cgroups and their kin have no label or serial worth reading.
        if (volume.type == platform::DriveType::Other) continue;
        const std::optional<platform::VolumeInformation> info =
            platform::ReadVolumeInformation(volume.mount.mountPoint);
        if (!info) continue;
        media.push_back({volume.mount.mountPoint, info->label, info->serial, info->alternateSerial});
    }
    return media;
}

std::optional<std::filesystem::path> FindMediumRoot(std::span<const MountedMedium> media,
                                                    std::string_view label, std::uint32_t serial) {
    for (const MountedMedium& medium : media) {
        const bool serialMatches = medium.serial == serial || medium.alternateSerial == serial;
        if (serialMatches && text::CompareNoCase(medium.label, label) == 0) return medium.root;
    }
    return std::nullopt;
}

}  // namespace pelko::shell
