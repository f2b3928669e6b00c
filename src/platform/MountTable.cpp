#include "platform/MountTable.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pelko::platform {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kScsiCdromMajor = 11;

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

bool ParseDeviceNumber(std::string_view text, unsigned& major, unsigned& minor) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const char* end = text.data() + colon;
    if (std::from_chars(text.data(), end, major).ptr != end) return false;
    const char* last = text.data() + text.size();
    return std::from_chars(end + 1, last, minor).ptr == last;
}

bool IsNetworkFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 13> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3",      "smbfs", "ncpfs",     "afs",
        "9p",  "ceph", "coda", "glusterfs", "davfs", "fuse.sshfs"};
    for (std::string_view n : kNetwork)
        if (type == n) return true;
    return type == "fuse.rclone" || type == "fuse.davfs2" || type == "fuse.glusterfs";
}

std::optional<std::string> ReadSmallFile(const fs::path& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FlagFileIsOne(const fs::path& path) {
    const std::optional<std::string> text = ReadSmallFile(path);
    return text && !text->empty() && (*text)[0] == '1';
}

}  // namespace

std::string DecodeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);

        // id parent major:minor root mount-point options [optional...] - type source super-options
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() < 7) continue;
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") ++separator;
        if (separator + 2 >= fields.size()) continue;
        MountEntry entry;
        if (!ParseDeviceNumber(fields[2], entry.major, entry.minor)) continue;
        entry.root = DecodeMountField(fields[3]);
        entry.mountPoint = DecodeMountField(fields[4]);
        entry.fsType = DecodeMountField(fields[separator + 1]);
        entry.source = DecodeMountField(fields[separator + 2]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

DriveType ClassifyMount(const MountEntry& entry, const BlockDeviceLookup& lookup) {
    if (IsNetworkFileSystem(entry.fsType)) return DriveType::Network;
    if (entry.major == 0) return DriveType::Other;  // anonymous devices: tmpfs, proc, overlay...
    if (entry.major == kScsiCdromMajor) return DriveType::Optical;
    const std::optional<BlockDeviceFacts> facts = lookup ? lookup(entry.major, entry.minor) : std::nullopt;
    if (!facts) return entry.source.starts_with("/dev/") ? DriveType::Fixed : DriveType::Other;
    if (facts->optical) return DriveType::Optical;
    return facts->removable ? DriveType::Removable : DriveType::Fixed;
}

std::optional<BlockDeviceFacts> SysfsBlockDeviceFacts(unsigned major, unsigned minor) {
    std::error_code ec;
    const fs::path link = fs::path("/sys/dev/block") / (std::to_string(major) + ":" + std::to_string(minor));
    const fs::path device = fs::canonical(link, ec);
    if (ec) return std::nullopt;
    BlockDeviceFacts facts;
    facts.optical = device.filename().native().starts_with("sr");
    // A partition has a "partition" file and takes the flag of the disk above it.
    const fs::path disk = fs::exists(device / "partition", ec) ? device.parent_path() : device;
    facts.removable = FlagFileIsOne(disk / "removable");
    // USB and card readers often report fixed media; the bus says otherwise.
    if (!facts.removable) {
        const std::string path = fs::canonical(disk / "device", ec).native();
        facts.removable =
            !ec && (path.find("/usb") != std::string::npos || path.find("/mmc") != std::string::npos);
    }
    return facts;
}

std::vector<MountedVolume> ReadMountedVolumes() {
    std::vector<MountedVolume> volumes;
    const std::optional<std::string> text = ReadSmallFile("/proc/self/mountinfo");
    if (!text) return volumes;
    for (MountEntry& entry : ParseMountInfo(*text)) {
        const DriveType type = ClassifyMount(entry, SysfsBlockDeviceFacts);
        volumes.push_back(MountedVolume{std::move(entry), type});
    }
    return volumes;
}

std::optional<std::string> MountPointOf(const std::vector<MountedVolume>& volumes, std::string_view device) {
    for (const MountedVolume& volume : volumes)
        if (volume.mount.source == device && volume.mount.root == "/") return volume.mount.mountPoint;
    return std::nullopt;
}

const MountedVolume* MountHolding(const std::vector<MountedVolume>& volumes, std::string_view path) {
    const MountedVolume* best = nullptr;
    for (const MountedVolume& volume : volumes) {
        const std::string& point = volume.mount.mountPoint;
        const bool holds =
            path == point || point == "/" ||
            (path.starts_with(point) && path.size() > point.size() && path[point.size()] == '/');
        // Later mounts over the same point hide earlier ones, so ">=" keeps the last.
        if (holds && (!best || point.size() >= best->mount.mountPoint.size())) best = &volume;
    }
    return best;
}

}  // namespace pelko::platform
