#pragma once
// What Windows calls a volume's information: label, serial, longest name, file-system flags and
// file-system name, read here from the medium itself so that the label and serial match those a
// Windows machine reads from the same disc or partition.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ByteSource.h"

namespace pelko::platform {

// File-system flag bits as Windows reports them.
inline constexpr std::uint32_t kCaseSensitiveSearch = 0x1;
inline constexpr std::uint32_t kCasePreservedNames = 0x2;
inline constexpr std::uint32_t kUnicodeOnDisk = 0x4;
inline constexpr std::uint32_t kPersistentAcls = 0x8;
inline constexpr std::uint32_t kReadOnlyVolume = 0x80000;

struct VolumeInformation {
    std::string label;  // model bytes
    std::uint32_t serial = 0;
    // The same checksum in the other byte order, for media whose Windows serial has not been
    // confirmed in one order (UDF); a disc is recognised by either.
    std::optional<std::uint32_t> alternateSerial;
    std::uint32_t maxComponentLength = 255;
    std::uint32_t fileSystemFlags = 0;
    std::string fileSystem;
};

// From the medium's own structures (UDF, ISO 9660, FAT, exFAT, NTFS boot sectors); `sessionStart`
// is the first sector of the disc's last session. Nothing for any other file system.
std::optional<VolumeInformation> ReadMediumInformation(ByteSource& source, std::uint64_t sessionStart = 0);

// For a device node, an image file or a folder (the volume mounted there). Other file systems
// are read through libblkid or udev, with the serial taken from their UUID. Nothing when the path
// does not exist or holds no medium.
std::optional<VolumeInformation> ReadVolumeInformation(const std::filesystem::path& path);

// A stable 32-bit serial from a file-system UUID: its first eight hex digits ("ABCD-1234", the
// form libblkid gives FAT serials, reads as 0xABCD1234).
std::uint32_t SerialFromUuid(std::string_view uuid);

// "%04X-%04X", the way Windows shows a serial.
std::string FormatSerial(std::uint32_t serial);

}  // namespace pelko::platform
