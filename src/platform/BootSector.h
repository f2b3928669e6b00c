#pragma once
// The volume serial of a FAT, exFAT or NTFS file system, read from its boot sector where
// Windows takes it: FAT12/16 at 0x27, FAT32 at 0x43, exFAT at 0x64, NTFS the low half of 0x48.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pelko::platform {

struct BootSectorFacts {
    std::string fileSystem;  // "FAT", "FAT32", "exFAT" or "NTFS", as Windows names them
    std::uint32_t serial = 0;
    std::string label;  // the boot sector's own copy (FAT only); the root folder's entry wins
};

// Facts of a boot sector (its first 512 bytes at least), or nothing when it is none of these.
std::optional<BootSectorFacts> ReadBootSector(std::span<const std::uint8_t> sector);

}  // namespace pelko::platform
