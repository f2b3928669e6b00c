#include "platform/BootSector.h"

#include <cstring>
#include <string_view>

namespace pelko::platform {

namespace {

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool IsPowerOfTwo(unsigned v) { return v != 0 && (v & (v - 1)) == 0; }

bool HasName(std::span<const std::uint8_t> sector, std::string_view name) {
    return std::memcmp(sector.data() + 3, name.data(), name.size()) == 0;
}

std::string FatLabel(const std::uint8_t* field) {
    std::string label(reinterpret_cast<const char*>(field), 11);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    return label == "NO NAME" ? std::string() : label;
}

}  // namespace

std::optional<BootSectorFacts> ReadBootSector(std::span<const std::uint8_t> sector) {
    if (sector.size() < 512) return std::nullopt;
    if (HasName(sector, "NTFS    ")) return BootSectorFacts{"NTFS", Le32(sector.data() + 0x48), {}};
    if (HasName(sector, "EXFAT   ")) return BootSectorFacts{"exFAT", Le32(sector.data() + 0x64), {}};

    // FAT: a plausible BIOS parameter block and the boot signature.
    if (sector[510] != 0x55 || sector[511] != 0xAA) return std::nullopt;
    const unsigned bytesPerSector = Le16(sector.data() + 11);
    const unsigned sectorsPerCluster = sector[13];
    const unsigned reservedSectors = Le16(sector.data() + 14);
    const unsigned fatCount = sector[16];
    if (bytesPerSector < 512 || bytesPerSector > 4096 || !IsPowerOfTwo(bytesPerSector) ||
        !IsPowerOfTwo(sectorsPerCluster) || reservedSectors == 0 || fatCount == 0)
        return std::nullopt;
    const bool fat32 = Le16(sector.data() + 0x16) == 0;
    const std::size_t signatureAt = fat32 ? 0x42 : 0x26;
    BootSectorFacts facts{fat32 ? "FAT32" : "FAT", 0, {}};
    if (sector[signatureAt] == 0x29 || sector[signatureAt] == 0x28) {
        facts.serial = Le32(sector.data() + signatureAt + 1);
        if (sector[signatureAt] == 0x29) facts.label = FatLabel(sector.data() + signatureAt + 5);
    }
    return facts;
}

}  // namespace pelko::platform
