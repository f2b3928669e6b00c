#include "platform/DiscDescriptors.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "text/Codec.h"

namespace pelko::platform {

namespace {

// A session holds its descriptors from sector 16 on; a set this long is not a real disc.
constexpr int kMaxDescriptors = 64;

constexpr std::uint16_t kTagAnchor = 2;
constexpr std::uint16_t kTagPartition = 5;
constexpr std::uint16_t kTagLogicalVolume = 6;
constexpr std::uint16_t kTagTerminating = 8;
constexpr std::uint16_t kTagFileSet = 256;
constexpr std::size_t kFileSetDescriptorSize = 512;
constexpr std::uint64_t kAnchorSector = 256;
constexpr std::uint32_t kMaxSequenceSectors = 64;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::u16string TrimTrailingBlanks(std::u16string text) {
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\0')) text.pop_back();
    return text;
}

// A descriptor tag is valid when its checksum (the sum of bytes 0-3 and 5-15) matches.
bool TagChecksumMatches(const DiscSector& sector) {
    std::uint8_t sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4) sum = static_cast<std::uint8_t>(sum + sector[i]);
    return sum == sector[4];
}

bool ReadSector(ByteSource& source, std::uint64_t sector, DiscSector& out) {
    if (sector > source.Size() / kDiscSectorSize) return false;
    return source.ReadExact(sector * kDiscSectorSize, out);
}

std::optional<std::uint16_t> TagOf(const DiscSector& sector) {
    if (!TagChecksumMatches(sector)) return std::nullopt;
    return Le16(sector.data());
}

}  // namespace

int JolietLevel(const DiscSector& descriptor) {
    if (descriptor[88] != '%' || descriptor[89] != '/') return 0;
    switch (descriptor[90]) {
        case '@':
            return 1;
        case 'C':
            return 2;
        case 'E':
            return 3;
        default:
            return 0;
    }
}

std::optional<IsoDescriptors> ReadIsoDescriptors(ByteSource& source, std::uint64_t sessionStart) {
    IsoDescriptors found;
    DiscSector sector{};
    for (int i = 0; i < kMaxDescriptors; ++i) {
        if (!ReadSector(source, sessionStart + 16 + static_cast<std::uint64_t>(i), sector)) break;
        if (std::memcmp(sector.data() + 1, "CD001", 5) != 0) break;
        const std::uint8_t type = sector[0];
        if (type == 255) break;
        if (type == 1 && !found.primary) {
            found.primary = sector;
        } else if (type == 2 && !found.joliet) {
            if (const int level = JolietLevel(sector); level > 0) {
                found.joliet = sector;
                found.jolietLevel = level;
            }
        }
    }
    if (!found.primary) return std::nullopt;
    return found;
}

std::uint32_t DescriptorChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t lanes[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        lanes[i % 4] = static_cast<std::uint8_t>(lanes[i % 4] + bytes[i]);
    return static_cast<std::uint32_t>(lanes[0]) << 24 | static_cast<std::uint32_t>(lanes[1]) << 16 |
           static_cast<std::uint32_t>(lanes[2]) << 8 | lanes[3];
}

std::string IsoVolumeLabel(const DiscSector& descriptor, bool joliet) {
    const std::uint8_t* field = descriptor.data() + 40;
    if (joliet) {
        std::u16string label;
        for (int i = 0; i + 1 < 32; i += 2)
            label.push_back(static_cast<char16_t>(field[i] << 8 | field[i + 1]));
        return text::FromUtf16(TrimTrailingBlanks(std::move(label)));
    }
    std::string label(reinterpret_cast<const char*>(field), 32);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    return label;
}

std::string UdfDString(std::span<const std::uint8_t> field) {
    if (field.size() < 2) return {};
    const std::size_t used = std::min<std::size_t>(field.back(), field.size() - 1);
    if (used < 1) return {};
    const std::uint8_t compression = field[0];
    std::u16string out;
    if (compression == 8) {
        for (std::size_t i = 1; i < used; ++i) out.push_back(field[i]);
    } else if (compression == 16) {
        for (std::size_t i = 1; i + 1 < used; i += 2)
            out.push_back(static_cast<char16_t>(field[i] << 8 | field[i + 1]));
    } else {
        return {};
    }
    return text::FromUtf16(TrimTrailingBlanks(std::move(out)));
}

std::optional<UdfVolumeFacts> ReadUdfVolume(ByteSource& source) {
    DiscSector sector{};
    if (!ReadSector(source, kAnchorSector, sector) || TagOf(sector) != kTagAnchor) return std::nullopt;
    const std::uint32_t sequenceLength = Le32(sector.data() + 16);
    const std::uint32_t sequenceStart = Le32(sector.data() + 20);
    const std::uint32_t sequenceSectors =
        std::min<std::uint32_t>(kMaxSequenceSectors, sequenceLength / kDiscSectorSize);

    std::optional<std::string> label;
    std::optional<std::uint32_t> fileSetBlock;
    std::uint16_t fileSetPartition = 0;
    struct Partition {
        std::uint16_t number;
        std::uint32_t start;
    };
    std::vector<Partition> partitions;
    std::vector<std::uint16_t> partitionMaps;  // partition number by reference number
    for (std::uint32_t i = 0; i < sequenceSectors; ++i) {
        if (!ReadSector(source, static_cast<std::uint64_t>(sequenceStart) + i, sector)) break;
        const std::optional<std::uint16_t> tag = TagOf(sector);
        if (!tag || *tag == kTagTerminating) break;
        if (*tag == kTagPartition) {
            partitions.push_back({Le16(sector.data() + 22), Le32(sector.data() + 188)});
        } else if (*tag == kTagLogicalVolume && !label) {
            if (Le32(sector.data() + 212) != kDiscSectorSize) return std::nullopt;
            label = UdfDString({sector.data() + 84, 128});
            fileSetBlock = Le32(sector.data() + 252);
            fileSetPartition = Le16(sector.data() + 256);
            // Partition maps: type 1 maps name a partition number; other types keep their slot.
            const std::uint32_t mapBytes = std::min<std::uint32_t>(Le32(sector.data() + 264), 2048 - 440);
            for (std::uint32_t at = 440; at + 2 <= 440 + mapBytes;) {
                const std::uint8_t type = sector[at];
                const std::uint8_t length = sector[at + 1];
                if (length < 2 || at + length > kDiscSectorSize) break;
                partitionMaps.push_back(type == 1 && length >= 6 ? Le16(sector.data() + at + 4) : 0xFFFF);
                at += length;
            }
        }
    }
    if (!label || !fileSetBlock || partitions.empty()) return std::nullopt;
    const std::uint16_t wanted =
        fileSetPartition < partitionMaps.size() ? partitionMaps[fileSetPartition] : partitions.front().number;
    const Partition* partition = &partitions.front();
    for (const Partition& p : partitions)
        if (p.number == wanted) partition = &p;
    if (!ReadSector(source, static_cast<std::uint64_t>(partition->start) + *fileSetBlock, sector) ||
        TagOf(sector) != kTagFileSet)
        return std::nullopt;
    return UdfVolumeFacts{*label, DescriptorChecksum({sector.data(), kFileSetDescriptorSize})};
}

}  // namespace pelko::platform
