#include "platform/VolumeInformation.h"

#include <blkid/blkid.h>
#include <libudev.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/BootSector.h"
#include "platform/DiscDescriptors.h"
#include "platform/MountTable.h"
#include "platform/OpticalDevice.h"
#include "platform/UdevHandles.h"
#include "text/Codec.h"

namespace pelko::platform {

namespace fs = std::filesystem;

namespace {

std::uint32_t ByteSwapped(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

VolumeInformation IsoInformation(const IsoDescriptors& descriptors) {
    VolumeInformation info;
    const bool joliet = descriptors.joliet.has_value();
    const DiscSector& active = *descriptors.Active();
    info.label = IsoVolumeLabel(active, joliet);
    info.serial = DescriptorChecksum(active);
    info.fileSystem = "CDFS";
    info.fileSystemFlags = kCaseSensitiveSearch | kReadOnlyVolume | (joliet ? kUnicodeOnDisk : 0);
    info.maxComponentLength = joliet ? 110 : 221;
    return info;
}

VolumeInformation BootSectorInformation(const BootSectorFacts& facts) {
    VolumeInformation info;
    info.label = facts.label;
    info.serial = facts.serial;
    info.fileSystem = facts.fileSystem;
    info.fileSystemFlags = kCasePreservedNames | kUnicodeOnDisk;
    if (facts.fileSystem == "NTFS") info.fileSystemFlags = 0x000700FF;  // ACLs, streams, sparse files...
    return info;
}

struct BlkidProbeFree {
    void operator()(blkid_probe p) const { blkid_free_probe(p); }
};

struct ProbedFileSystem {
    std::string type;
    std::string label;  // as libblkid gives it
    std::string uuid;
};

std::optional<ProbedFileSystem> ProbeFileSystem(int fd) {
    std::unique_ptr<std::remove_pointer_t<blkid_probe>, BlkidProbeFree> probe(blkid_new_probe());
    if (!probe || blkid_probe_set_device(probe.get(), fd, 0, 0) != 0) return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(),
                                      BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
    ProbedFileSystem found;
    const char* value = nullptr;
    std::size_t length = 0;
    if (blkid_probe_lookup_value(probe.get(), "TYPE", &value, &length) == 0) found.type = value;
    if (blkid_probe_lookup_value(probe.get(), "LABEL", &value, &length) == 0) found.label = value;
    if (blkid_probe_lookup_value(probe.get(), "UUID", &value, &length) == 0) found.uuid = value;
    if (found.type.empty()) return std::nullopt;
    return found;
}

// FAT labels are stored in the OEM code page (the model's own); the others come as UTF-8.
std::string ModelLabel(const ProbedFileSystem& probed) {
    return probed.type == "vfat" ? probed.label : text::FromUtf8(probed.label);
}

VolumeInformation ProbedInformation(const ProbedFileSystem& probed) {
    VolumeInformation info;
    info.label = ModelLabel(probed);
    info.serial = SerialFromUuid(probed.uuid);
    info.fileSystem = probed.type;
    info.fileSystemFlags = kCaseSensitiveSearch | kCasePreservedNames;
    return info;
}

// A device or image: its own structures first, libblkid for the rest.
std::optional<VolumeInformation> InformationOfSource(const fs::path& path) {
    const std::unique_ptr<FileByteSource> source = FileByteSource::Open(path);
    if (!source) return std::nullopt;
    std::optional<VolumeInformation> info =
        ReadMediumInformation(*source, LastSessionStart(source->Descriptor()));
    const std::optional<ProbedFileSystem> probed = ProbeFileSystem(source->Descriptor());
    if (!info) {
        if (probed) info = ProbedInformation(*probed);
        return info;
    }
    // Windows takes a FAT or exFAT label from the root folder's label entry, NTFS's from its
    // $Volume file: libblkid reads those.
    if (probed && info->fileSystem != "CDFS" && info->fileSystem != "UDF") info->label = ModelLabel(*probed);
    return info;
}

std::string DecodeUdevEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            unsigned value = 0;
            if (std::sscanf(std::string(text.substr(i + 2, 2)).c_str(), "%2x", &value) == 1) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// A mounted block device this user may not read: what udev recorded when it probed it.
std::optional<VolumeInformation> InformationFromUdev(unsigned major, unsigned minor) {
    const UdevPtr udev(udev_new());
    if (!udev) return std::nullopt;
    const UdevDevicePtr device(udev_device_new_from_devnum(udev.get(), 'b', makedev(major, minor)));
    if (!device) return std::nullopt;
    const DeviceProperties properties = UdevProperties(device.get());
    const auto value = [&](const char* key) {
        const auto found = properties.find(key);
        return found == properties.end() ? std::string() : found->second;
    };
    ProbedFileSystem probed{value("ID_FS_TYPE"), DecodeUdevEscapes(value("ID_FS_LABEL_ENC")),
                            value("ID_FS_UUID")};
    if (probed.type.empty()) return std::nullopt;
    if (probed.label.empty()) probed.label = value("ID_FS_LABEL");
    return ProbedInformation(probed);
}

std::optional<VolumeInformation> InformationOfFolder(const fs::path& folder) {
    const std::vector<MountedVolume> volumes = ReadMountedVolumes();
    const MountedVolume* volume = MountHolding(volumes, folder.native());
    std::optional<VolumeInformation> info;
    if (volume && volume->mount.source.starts_with("/dev/")) {
        info = InformationOfSource(volume->mount.source);
        if (!info && volume->mount.major != 0)
            info = InformationFromUdev(volume->mount.major, volume->mount.minor);
    }
    struct statfs st {};
    const bool haveStatfs = ::statfs(folder.c_str(), &st) == 0;
    if (!info) {
        // No device behind it (network, memory): a serial from the file-system id.
        if (!haveStatfs) return std::nullopt;
        info.emplace();
        int id[2];
        static_assert(sizeof(id) == sizeof(st.f_fsid));
        std::memcpy(id, &st.f_fsid, sizeof(id));
        info->serial = static_cast<std::uint32_t>(id[0]) ^ static_cast<std::uint32_t>(id[1]);
        info->fileSystem = volume ? volume->mount.fsType : std::string();
        info->fileSystemFlags = kCaseSensitiveSearch | kCasePreservedNames;
    }
    if (haveStatfs && info->fileSystem != "CDFS" && info->fileSystem != "UDF" && st.f_namelen > 0)
        info->maxComponentLength = static_cast<std::uint32_t>(st.f_namelen);
    return info;
}

}  // namespace

std::optional<VolumeInformation> ReadMediumInformation(ByteSource& source, std::uint64_t sessionStart) {
    // Windows mounts a UDF bridge disc as UDF.
    if (const std::optional<UdfVolumeFacts> udf = ReadUdfVolume(source)) {
        VolumeInformation info;
        info.label = udf->label;
        info.serial = udf->serial;
        info.alternateSerial = ByteSwapped(udf->serial);
        info.fileSystem = "UDF";
        info.fileSystemFlags = kCaseSensitiveSearch | kCasePreservedNames | kUnicodeOnDisk | kReadOnlyVolume;
        info.maxComponentLength = 255;
        return info;
    }
    if (const std::optional<IsoDescriptors> iso = ReadIsoDescriptors(source, sessionStart))
        return IsoInformation(*iso);
    std::array<std::uint8_t, 512> bootSector{};
    if (source.ReadExact(0, bootSector)) {
        if (const std::optional<BootSectorFacts> facts = ReadBootSector(bootSector))
            return BootSectorInformation(*facts);
    }
    return std::nullopt;
}

std::optional<VolumeInformation> ReadVolumeInformation(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    if (S_ISDIR(st.st_mode)) return InformationOfFolder(path);
    if (S_ISREG(st.st_mode)) return InformationOfSource(path);
    if (S_ISBLK(st.st_mode)) {
        // A device this user may not read (not in the "cdrom" or "disk" group): what udev saw.
        if (std::optional<VolumeInformation> info = InformationOfSource(path)) return info;
        return InformationFromUdev(major(st.st_rdev), minor(st.st_rdev));
    }
    return std::nullopt;
}

std::uint32_t SerialFromUuid(std::string_view uuid) {
    std::uint32_t serial = 0;
    int digits = 0;
    for (char c : uuid) {
        int value = -1;
        if (c >= '0' && c <= '9') value = c - '0';
        if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
        if (value < 0) continue;
        serial = serial << 4 | static_cast<std::uint32_t>(value);
        if (++digits == 8) break;
    }
    return serial;
}

std::string FormatSerial(std::uint32_t serial) {
    char text[10];
    std::snprintf(text, sizeof(text), "%04X-%04X", serial >> 16, serial & 0xFFFF);
    return text;
}

}  // namespace pelko::platform
