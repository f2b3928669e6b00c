#include "shell/DriveChooser.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "catalog/CCD.h"
#include "text/Codec.h"

namespace pelko::shell {

DriveScanChoice ChooseDriveScan(const platform::MountedVolume& volume) {
    DriveScanChoice choice;
    switch (volume.type) {
        case platform::DriveType::Optical:
            choice.accepted = true;
            choice.kind = catalog::CCD::kKindDisk;
            choice.root =
                volume.mount.source.starts_with("/dev/") ? volume.mount.source : volume.mount.mountPoint;
            break;
        case platform::DriveType::Fixed:
        case platform::DriveType::Removable:
        case platform::DriveType::Network:
            choice.accepted = true;
            choice.kind = catalog::CCD::kKindFixedDisk;
            choice.root = volume.mount.mountPoint;
            break;
        case platform::DriveType::Other:
            choice.error =
                text::LocalWith("%s 不是光驱或硬盘，不能扫描", text::FromUtf8(volume.mount.mountPoint));
            break;
    }
    return choice;
}

namespace {

// File systems that hold no drive of their own even when a /dev/ node stands as their source:
// read-only images of packages (snaps, live systems) and kernel or memory file systems.
bool IsPseudoFileSystem(std::string_view fsType) {
    static constexpr std::array<std::string_view, 24> kPseudo = {
        "proc",     "sysfs",     "tmpfs",      "devtmpfs", "devpts",    "cgroup",  "cgroup2", "overlay",
        "squashfs", "securityfs", "debugfs",   "tracefs",  "configfs",  "fusectl", "mqueue",  "hugetlbfs",
        "pstore",   "bpf",       "autofs",     "binfmt_misc", "efivarfs", "nsfs",   "ramfs",   "rpc_pipefs",
    };
    return std::find(kPseudo.begin(), kPseudo.end(), fsType) != kPseudo.end();
}

std::string NameOf(std::string_view place, std::string_view source) {
    std::string name(place);
    if (!source.empty() && source != place) name += " (" + std::string(source) + ")";
    return text::FromUtf8(name);
}

DriveRow RowOf(platform::MountedVolume volume, std::string name) {
    DriveRow row;
    row.name = std::move(name);
    row.type = volume.type;
    row.root = ChooseDriveScan(volume).root;
    row.volume = std::move(volume);
    return row;
}

// The mount that shows a device's whole file system: the one of its root, else its first.
const platform::MountedVolume* MainMountOf(const std::vector<platform::MountedVolume>& volumes,
                                           std::string_view source) {
    const platform::MountedVolume* first = nullptr;
    for (const platform::MountedVolume& volume : volumes) {
        if (volume.mount.source != source || IsPseudoFileSystem(volume.mount.fsType)) continue;
        if (volume.mount.root == "/") return &volume;
        if (!first) first = &volume;
    }
    return first;
}

bool Listed(const std::vector<DriveRow>& rows, std::string_view source) {
    return std::any_of(rows.begin(), rows.end(),
                       [source](const DriveRow& row) { return row.volume.mount.source == source; });
}

}  // namespace

std::vector<DriveRow> ListScanDrives(const std::vector<platform::OpticalDrive>& opticalDrives,
                                     const std::vector<platform::MountedVolume>& volumes) {
    std::vector<DriveRow> rows;
    for (const platform::OpticalDrive& drive : opticalDrives) {
        platform::MountedVolume volume;
        volume.type = platform::DriveType::Optical;
        volume.mount.source = drive.device;
        if (const platform::MountedVolume* mounted = MainMountOf(volumes, drive.device)) volume = *mounted;
        // The drive is read from its device whatever the mount says about its kind.
        volume.type = platform::DriveType::Optical;
        const std::string& place = volume.mount.mountPoint.empty() ? drive.model : volume.mount.mountPoint;
        rows.push_back(RowOf(std::move(volume), place.empty() ? text::FromUtf8(drive.device)
                                                               : NameOf(place, drive.device)));
    }
    for (const platform::MountedVolume& volume : volumes) {
        const platform::MountEntry& mount = volume.mount;
        if (volume.type == platform::DriveType::Other || IsPseudoFileSystem(mount.fsType)) continue;
        const bool blockDevice = mount.source.starts_with("/dev/");
        if (!blockDevice && volume.type != platform::DriveType::Network) continue;
        if (Listed(rows, mount.source)) continue;
        const platform::MountedVolume* main = blockDevice ? MainMountOf(volumes, mount.source) : &volume;
        rows.push_back(RowOf(*main, NameOf(main->mount.mountPoint, main->mount.source)));
    }
    return rows;
}

}  // namespace pelko::shell
