#pragma once
// Reader of the central directory of a ZIP archive: per entry, in directory order, the raw
// name, the uncompressed size (the 32-bit field), the DOS date and time and what marks a name
// as UTF-8 or an entry as a folder. Nothing is decompressed; the local headers are not read.
//
// The directory is found through the end-of-central-directory record (and its ZIP64 form),
// and located by its size counted back from that record, so archives with bytes in front
// (self-extractors) are read the same way. The whole directory is read with one request.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "scan/ByteSource.h"

namespace pelko::scan {

struct ZipEntry {
    std::string_view name;  // a view into the directory's bytes
    // The 32-bit field; for an entry of 4 GiB or more, which keeps 0xFFFFFFFF there, the
    // 64-bit size of its ZIP64 extra field.
    std::uint64_t uncompressedSize = 0;
    std::uint16_t dosDate = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t flags = 0;  // general-purpose bits
    std::uint32_t externalAttributes = 0;

    bool HasUtf8Name() const { return (flags & 0x0800) != 0; }
    // The MS-DOS folder attribute, which archivers set whatever the host system.
    bool IsFolderByAttributes() const { return (externalAttributes & 0x10) != 0; }
};

class ZipDirectory {
public:
    // The directory of the archive, or nullopt when the bytes are not a ZIP archive or cannot
    // be read. A directory that breaks off keeps the entries before the break.
    static std::optional<ZipDirectory> Read(ByteSource& source);

    const std::vector<ZipEntry>& Entries() const { return m_entries; }

    ZipDirectory(ZipDirectory&&) = default;
    ZipDirectory& operator=(ZipDirectory&&) = default;

private:
    ZipDirectory() = default;

    std::vector<char> m_bytes;  // the central directory; the entries' names point into it
    std::vector<ZipEntry> m_entries;
};

}  // namespace pelko::scan
