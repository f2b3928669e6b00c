#pragma once
// Where a catalogued medium is on this machine now: the mounted volume whose label and serial are
// the ones stored with the scan object. The mounts are read through a small interface so that
// the rule can be tried with made-up mounts; the system's reader asks /proc/self/mountinfo and
// the media themselves.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::shell {

// One mounted volume as the look-up compares it.
struct MountedMedium {
    std::filesystem::path root;  // where its files are reached
    std::string label;           // model bytes
    std::uint32_t serial = 0;
    // The serial in the other byte order, for media read both ways (UDF).
    std::optional<std::uint32_t> alternateSerial;
};

class MediumLocator {
public:
    virtual ~MediumLocator() = default;
    // The volumes mounted now, in mount-table order. Called only when a file is to be opened, so
    // it may read every medium.
    virtual std::vector<MountedMedium> MountedMedia() = 0;
};

// Reads the mount table and each mounted disc's or partition's own label and serial; pseudo
// file systems are left out.
class SystemMediumLocator final : public MediumLocator {
public:
    std::vector<MountedMedium> MountedMedia() override;
};

// The root of the first medium whose label equals `label` without regard to letter case and
// whose serial (either byte order) equals `serial`.
std::optional<std::filesystem::path> FindMediumRoot(std::span<const MountedMedium> media,
                                                    std::string_view label, std::uint32_t serial);

}  // namespace pelko::shell
