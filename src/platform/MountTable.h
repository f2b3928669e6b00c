#pragma once
// The mounted volumes of the machine, read from /proc/self/mountinfo, each with the kind of drive
// it lives on (optical, fixed, removable, network, other) as the drive chooser lists them.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::platform {

enum class DriveType { Optical, Fixed, Removable, Network, Other };

struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;        // the part of the file system mounted here
    std::string mountPoint;  // file-system path (UTF-8 on the disk), escapes decoded
    std::string fsType;
    std::string source;  // the device or remote share, escapes decoded
};

// What the system knows about a block device, by its device number.
struct BlockDeviceFacts {
    bool optical = false;
    bool removable = false;
};
using BlockDeviceLookup = std::function<std::optional<BlockDeviceFacts>(unsigned major, unsigned minor)>;

// Decodes the octal escapes (\040 space, \011 tab, \012 newline, \134 backslash) of a mountinfo
// field; any other backslash stays as it is.
std::string DecodeMountField(std::string_view field);

// The entries of a mountinfo text in their order; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The kind of drive a mounted file system lives on.
DriveType ClassifyMount(const MountEntry& entry, const BlockDeviceLookup& lookup);

// Facts from /sys/dev/block (a partition inherits the removable flag of its disk).
std::optional<BlockDeviceFacts> SysfsBlockDeviceFacts(unsigned major, unsigned minor);

struct MountedVolume {
    MountEntry mount;
    DriveType type = DriveType::Other;
};

// The volumes mounted for this process, classified; empty when mountinfo cannot be read.
std::vector<MountedVolume> ReadMountedVolumes();

// The mount point of a device node (the first mount of the whole device), or nullopt.
std::optional<std::string> MountPointOf(const std::vector<MountedVolume>& volumes, std::string_view device);

// The mount that holds `path` (the longest mount point that is a prefix of it).
const MountedVolume* MountHolding(const std::vector<MountedVolume>& volumes, std::string_view path);

}  // namespace pelko::platform
