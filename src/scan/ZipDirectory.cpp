#include "scan/ZipDirectory.h"

#include <algorithm>
#include <new>

#include "scan/ByteSource.h"

namespace pelko::scan {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kFileHeaderSignature = 0x02014b50;
constexpr std::size_t kEndBytes = 22;
constexpr std::size_t kZip64EndBytes = 56;
constexpr std::size_t kZip64LocatorBytes = 20;
constexpr std::size_t kFileHeaderBytes = 46;
constexpr std::size_t kMaxCommentBytes = 0xFFFF;

struct DirectoryPlace {
    std::uint64_t end = 0;   // where the directory ends: the (ZIP64) end record
    std::uint64_t size = 0;  // its size in bytes
};

// The ZIP64 end record that the locator in front of the end record at `endAt` points to.
std::optional<DirectoryPlace> FindZip64Place(ByteSource& source, std::uint64_t endAt) {
    if (endAt < kZip64LocatorBytes) return std::nullopt;
    std::uint8_t locator[kZip64LocatorBytes];
    if (!source.ReadExact(endAt - kZip64LocatorBytes, locator) || Le32(locator) != kZip64LocatorSignature)
        return std::nullopt;
    // The stored offset does not count bytes in front of the archive; the record normally sits
    // right before the locator, so look there too.
    const std::uint64_t candidates[] = {Le64(locator + 8), endAt - kZip64LocatorBytes - kZip64EndBytes};
    for (std::uint64_t at : candidates) {
        std::uint8_t record[kZip64EndBytes];
        if (at > endAt || !source.ReadExact(at, record) || Le32(record) != kZip64EndSignature) continue;
        return DirectoryPlace{at, Le64(record + 40)};
    }
    return std::nullopt;
}

// Looks for the end record backwards from the end of the file, over an archive comment of up
// to 64 KiB.
std::optional<DirectoryPlace> FindDirectory(ByteSource& source) {
    const std::uint64_t fileSize = source.Size();
    if (fileSize < kEndBytes) return std::nullopt;
    const std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndBytes + kMaxCommentBytes));
    std::vector<std::uint8_t> tail(tailSize);
    const std::uint64_t tailAt = fileSize - tailSize;
    if (!source.ReadExact(tailAt, tail)) return std::nullopt;

    for (std::size_t i = tailSize - kEndBytes + 1; i-- > 0;) {
        const std::uint8_t* p = tail.data() + i;
        if (Le32(p) != kEndSignature) continue;
        const std::uint64_t endAt = tailAt + i;
        const std::uint16_t diskNumber = Le16(p + 4);
        const std::uint32_t size = Le32(p + 12);
        const std::uint32_t offset = Le32(p + 16);
        if (size == 0xFFFFFFFF || offset == 0xFFFFFFFF || Le16(p + 10) == 0xFFFF) {
            if (std::optional<DirectoryPlace> place = FindZip64Place(source, endAt)) return place;
        }
        // Archives spanning several disks are not read.
        if (diskNumber != 0 && diskNumber != 0xFFFF) return std::nullopt;
        if (size <= endAt) return DirectoryPlace{endAt, size};
    }
    return std::nullopt;
}

// The uncompressed size from a ZIP64 extended-information field (id 1), which holds it first
// when the 32-bit field is 0xFFFFFFFF.
std::optional<std::uint64_t> Zip64Size(const std::uint8_t* extra, std::size_t size) {
    for (std::size_t at = 0; size - at >= 4;) {
        const std::uint16_t id = Le16(extra + at);
        const std::size_t length = Le16(extra + at + 2);
        if (size - at - 4 < length) break;
        if (id == 0x0001 && length >= 8) return Le64(extra + at + 4);
        at += 4 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ZipDirectory> ZipDirectory::Read(ByteSource& source) {
    try {
        const std::optional<DirectoryPlace> place = FindDirectory(source);
        if (!place || place->size > place->end) return std::nullopt;

        ZipDirectory directory;
        directory.m_bytes.resize(static_cast<std::size_t>(place->size));
        if (!source.ReadExact(
                place->end - place->size,
                {reinterpret_cast<std::uint8_t*>(directory.m_bytes.data()), directory.m_bytes.size()}))
            return std::nullopt;

        const char* base = directory.m_bytes.data();
        const std::size_t total = directory.m_bytes.size();
        directory.m_entries.reserve(total / kFileHeaderBytes);
        for (std::size_t at = 0; total - at >= kFileHeaderBytes;) {
            const auto* h = reinterpret_cast<const std::uint8_t*>(base + at);
            if (Le32(h) != kFileHeaderSignature) break;
            const std::size_t nameSize = Le16(h + 28);
            const std::size_t extraSize = Le16(h + 30);
            const std::size_t commentSize = Le16(h + 32);
            const std::size_t recordSize = kFileHeaderBytes + nameSize + extraSize + commentSize;
            if (total - at < kFileHeaderBytes + nameSize) break;
            ZipEntry entry;
            entry.name = std::string_view(base + at + kFileHeaderBytes, nameSize);
            entry.flags = Le16(h + 8);
            entry.dosTime = Le16(h + 12);
            entry.dosDate = Le16(h + 14);
            entry.uncompressedSize = Le32(h + 24);
            entry.externalAttributes = Le32(h + 38);
            const bool extraPresent = total - at >= kFileHeaderBytes + nameSize + extraSize;
            if (entry.uncompressedSize == 0xFFFFFFFF && extraPresent) {
                if (std::optional<std::uint64_t> size = Zip64Size(h + kFileHeaderBytes + nameSize, extraSize))
                    entry.uncompressedSize = *size;
            }
            directory.m_entries.push_back(entry);
            if (total - at < recordSize) break;
            at += recordSize;
        }
        if (directory.m_entries.empty() && total != 0) return std::nullopt;
        directory.m_entries.shrink_to_fit();
        return directory;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace pelko::scan
