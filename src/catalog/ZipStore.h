#pragma once
// The compressed form of a disc file at rest: a ZIP archive holding the plain file as its one
// entry. Reading inflates the entry into memory; writing replaces the archive atomically.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pelko::catalog {

struct ZipEntryRead {
    enum class Status { Ok, NotFound, Damaged };
    Status status = Status::NotFound;
    std::vector<std::uint8_t> bytes;
};

// Inflates the entry whose name, without any stored folders, is `entryName` (model bytes;
// entries flagged as UTF-8 are converted first). NotFound when the archive cannot be opened or
// has no such entry; Damaged when the entry does not inflate to its recorded size and CRC, or
// claims a size its compressed data cannot hold. Nothing is written to the disk.
ZipEntryRead ReadZipEntry(const std::filesystem::path& zipPath, std::string_view entryName);

// Writes a new archive at `zipPath` holding `sourceFile` as the entry `entryName` (model
// bytes), deflated at the default level. The old archive is replaced only once the new one is
// complete on the disk; on failure it stays as it was.
bool WriteZipWithFile(const std::filesystem::path& zipPath, std::string_view entryName,
                      const std::filesystem::path& sourceFile);

}  // namespace pelko::catalog
