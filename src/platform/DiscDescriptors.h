#pragma once
// The descriptors that name a disc: the ISO 9660 volume descriptors (primary and Joliet) and the
// UDF anchor, logical volume and file set descriptors. Label and serial are computed from them
// the way Windows does, so that a disc catalogued there is recognised here.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/ByteSource.h"

namespace pelko::platform {

constexpr std::size_t kDiscSectorSize = 2048;
using DiscSector = std::array<std::uint8_t, kDiscSectorSize>;

struct IsoDescriptors {
    std::optional<DiscSector> primary;  // type 1
    std::optional<DiscSector> joliet;   // type 2 with a Joliet escape sequence
    int jolietLevel = 0;                // 1 to 3, 0 without Joliet

    // Windows reads the Joliet descriptor when there is one, else the primary one.
    const DiscSector* Active() const { return joliet ? &*joliet : primary ? &*primary : nullptr; }
};

// The volume descriptors of the session that starts at `sessionStart` (a sector number; 0 for an
// image or a single-session disc). Nothing when there is no ISO 9660 primary descriptor.
std::optional<IsoDescriptors> ReadIsoDescriptors(ByteSource& source, std::uint64_t sessionStart = 0);

// Byte k of the result (from the top) is the sum, modulo 256, of the bytes at positions i with
// i mod 4 == k: the serial of a descriptor as Windows computes it.
std::uint32_t DescriptorChecksum(std::span<const std::uint8_t> bytes);

// The volume identifier of a descriptor as model bytes, trailing blanks removed: UCS-2 big-endian
// in a Joliet descriptor, the recorded bytes in a primary one.
std::string IsoVolumeLabel(const DiscSector& descriptor, bool joliet);

// Joliet level (1-3) of a supplementary descriptor's escape sequence, 0 when it has none.
int JolietLevel(const DiscSector& descriptor);

struct UdfVolumeFacts {
    std::string label;  // logical volume identifier, model bytes
    std::uint32_t serial = 0;
};

// Label and serial of a UDF medium (the serial is the checksum of its file set descriptor), or
// nothing when the medium holds no readable UDF structures.
std::optional<UdfVolumeFacts> ReadUdfVolume(ByteSource& source);

// Text of an OSTA compressed dstring field (compression 8 or 16, length in the last byte).
std::string UdfDString(std::span<const std::uint8_t> field);

}  // namespace pelko::platform
