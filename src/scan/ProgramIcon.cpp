#include "scan/ProgramIcon.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>
#include <vector>

#include "scan/ByteSource.h"
#include "scan/IconBitmap.h"

namespace pelko::scan {

namespace {

constexpr std::uint32_t kResourceIcon = 3;
constexpr std::uint32_t kResourceGroupIcon = 14;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNamedEntryBit = 0x80000000u;
constexpr std::size_t kMaxSections = 96;  // the most a Windows loader accepts
// An icon image of 256 x 256 at 32 bits with its mask takes about 270 KiB; a PNG of that
// size is smaller. Anything far beyond is not an icon.
constexpr std::uint32_t kMaxImageBytes = 4u << 20;
constexpr std::uint32_t kMaxGroupBytes = 6 + 14 * 0xFFFF;

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

struct DirectoryEntry {
    std::uint32_t name = 0;  // an id, or with kNamedEntryBit the offset of a name
    std::uint32_t offset = 0;
};

class PeImage {
public:
    explicit PeImage(ByteSource& source) : m_source(source) {}

    // Reads the headers; false when the file is no PE program or has no resources.
    bool Open() {
        std::uint8_t dos[64];
        if (!m_source.ReadExact(0, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
        const std::uint32_t peAt = Le32(dos + 0x3C);
        std::uint8_t pe[24];
        if (!m_source.ReadExact(peAt, pe) || Le32(pe) != 0x00004550) return false;
        const std::uint16_t sectionCount = Le16(pe + 6);
        const std::uint16_t optionalSize = Le16(pe + 20);
        const std::uint64_t optionalAt = std::uint64_t{peAt} + sizeof pe;

        std::uint8_t magic[2];
        if (!m_source.ReadExact(optionalAt, magic)) return false;
        // The data directories start 96 bytes into a PE32 optional header, 112 into PE32+.
        std::size_t directoriesAt = 0;
        if (Le16(magic) == 0x10B) {
            directoriesAt = 96;
        } else if (Le16(magic) == 0x20B) {
            directoriesAt = 112;
        } else {
            return false;
        }
        constexpr std::size_t kResourceDirectory = 2;
        const std::size_t resourceEntryEnd = directoriesAt + (kResourceDirectory + 1) * 8;
        if (optionalSize < resourceEntryEnd) return false;
        std::uint8_t counts[4];
        if (!m_source.ReadExact(optionalAt + directoriesAt - 4, counts) || Le32(counts) <= kResourceDirectory)
            return false;
        std::uint8_t resource[8];
        if (!m_source.ReadExact(optionalAt + directoriesAt + kResourceDirectory * 8, resource)) return false;
        m_resourceRva = Le32(resource);
        if (m_resourceRva == 0 || Le32(resource + 4) == 0) return false;

        const std::size_t sections = std::min<std::size_t>(sectionCount, kMaxSections);
        std::vector<std::uint8_t> table(sections * 40);
        if (!m_source.ReadExact(optionalAt + optionalSize, table)) return false;
        for (std::size_t i = 0; i < sections; ++i) {
            const std::uint8_t* s = &table[i * 40];
            m_sections.push_back({Le32(s + 12), Le32(s + 8), Le32(s + 16), Le32(s + 20)});
        }
        return true;
    }

    // Reads `out.size()` bytes at a relative virtual address, within one section's file data.
    bool ReadRva(std::uint64_t rva, std::span<std::uint8_t> out) {
        for (const Section& s : m_sections) {
            const std::uint64_t extent = std::max(s.virtualSize, s.rawSize);
            if (rva < s.virtualAddress || rva - s.virtualAddress >= extent) continue;
            const std::uint64_t within = rva - s.virtualAddress;
            if (within + out.size() > s.rawSize) return false;
            return m_source.ReadExact(std::uint64_t{s.rawOffset} + within, out);
        }
        return false;
    }

    // The entries of the resource directory at `offset` from the resource root, named entries
    // first as they are stored.
    std::optional<std::vector<DirectoryEntry>> Directory(std::uint32_t offset) {
        std::uint8_t header[16];
        if (!ReadRva(std::uint64_t{m_resourceRva} + offset, header)) return std::nullopt;
        const std::size_t count = std::size_t{Le16(header + 12)} + Le16(header + 14);
        std::vector<std::uint8_t> raw(count * 8);
        if (!ReadRva(std::uint64_t{m_resourceRva} + offset + sizeof header, raw)) return std::nullopt;
        std::vector<DirectoryEntry> entries(count);
        for (std::size_t i = 0; i < count; ++i) entries[i] = {Le32(&raw[i * 8]), Le32(&raw[i * 8 + 4])};
        return entries;
    }

    // The data of the first language of a resource entry (which points at a language directory).
    std::optional<std::vector<std::uint8_t>> FirstLanguageData(const DirectoryEntry& entry,
                                                               std::uint32_t maxBytes) {
        if (!(entry.offset & kSubdirectoryBit)) return std::nullopt;
        const std::optional<std::vector<DirectoryEntry>> languages =
            Directory(entry.offset & ~kSubdirectoryBit);
        if (!languages || languages->empty() || ((*languages)[0].offset & kSubdirectoryBit))
            return std::nullopt;
        std::uint8_t data[16];
        if (!ReadRva(std::uint64_t{m_resourceRva} + (*languages)[0].offset, data)) return std::nullopt;
        const std::uint32_t size = Le32(data + 4);
        if (size == 0 || size > maxBytes || size > m_source.Size()) return std::nullopt;
        std::vector<std::uint8_t> bytes(size);
        if (!ReadRva(Le32(data), bytes)) return std::nullopt;
        return bytes;
    }

    // The entries of the type directory `type` in the root.
    std::optional<std::vector<DirectoryEntry>> TypeDirectory(std::uint32_t type) {
        const std::optional<std::vector<DirectoryEntry>> root = Directory(0);
        if (!root) return std::nullopt;
        for (const DirectoryEntry& entry : *root) {
            if (entry.name != type || !(entry.offset & kSubdirectoryBit)) continue;
            return Directory(entry.offset & ~kSubdirectoryBit);
        }
        return std::nullopt;
    }

private:
    ByteSource& m_source;
    std::uint32_t m_resourceRva = 0;
    std::vector<Section> m_sections;
};

struct GroupImage {
    int side = 0;  // the larger of width and height; 0 in the group means 256
    int bitCount = 0;
    std::uint16_t id = 0;
};

// The image of the group to use: 16 x 16 of the most colours, else the nearest size (the
// larger on a tie, since scaling down keeps more detail), then the most colours.
std::optional<GroupImage> ChooseImage(std::span<const std::uint8_t> group) {
    if (group.size() < 6 || Le16(&group[2]) != 1) return std::nullopt;
    const std::size_t count = Le16(&group[4]);
    if (group.size() < 6 + count * 14) return std::nullopt;
    std::optional<GroupImage> best;
    const auto better = [](const GroupImage& a, const GroupImage& b) {
        const int da = std::abs(a.side - catalog::IconImage::kSize);
        const int db = std::abs(b.side - catalog::IconImage::kSize);
        if (da != db) return da < db;
        if (a.side != b.side) return a.side > b.side;
        return a.bitCount > b.bitCount;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &group[6 + i * 14];
        const int width = e[0] == 0 ? 256 : e[0];
        const int height = e[1] == 0 ? 256 : e[1];
        int bitCount = Le16(e + 6);
        if (bitCount == 0 && e[2] != 0) {  // older groups give the colour count instead
            bitCount = 1;
            while ((1 << bitCount) < e[2] && bitCount < 8) ++bitCount;
        }
        const GroupImage candidate{std::max(width, height), bitCount, Le16(e + 12)};
        if (!best || better(candidate, *best)) best = candidate;
    }
    return best;
}

}  // namespace

std::unique_ptr<catalog::IconImage> ExtractProgramIcon(ByteSource& source) {
    try {
        PeImage pe(source);
        if (!pe.Open()) return nullptr;
        const std::optional<std::vector<DirectoryEntry>> groups = pe.TypeDirectory(kResourceGroupIcon);
        if (!groups || groups->empty()) return nullptr;
        // Only the first group counts, as the shell shows a program by its first icon.
        const std::optional<std::vector<std::uint8_t>> group =
            pe.FirstLanguageData((*groups)[0], kMaxGroupBytes);
        if (!group) return nullptr;
        const std::optional<GroupImage> chosen = ChooseImage(*group);
        if (!chosen) return nullptr;

        const std::optional<std::vector<DirectoryEntry>> icons = pe.TypeDirectory(kResourceIcon);
        if (!icons) return nullptr;
        for (const DirectoryEntry& entry : *icons) {
            if ((entry.name & kNamedEntryBit) || entry.name != chosen->id) continue;
            const std::optional<std::vector<std::uint8_t>> bytes =
                pe.FirstLanguageData(entry, kMaxImageBytes);
            if (!bytes) return nullptr;
            const std::optional<RgbaImage> image = DecodeIconImage(*bytes);
            if (!image) return nullptr;
            return std::make_unique<catalog::IconImage>(ToSmallIcon(*image));
        }
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}

}  // namespace pelko::scan
