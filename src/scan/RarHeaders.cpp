#include "scan/RarHeaders.h"

#include <algorithm>
#include <array>
#include <new>

#include "scan/ByteSource.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace {

constexpr std::array<std::uint8_t, 7> kMarker = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
constexpr std::uint8_t kTypeArchive = 0x73;
constexpr std::uint8_t kTypeFile = 0x74;
constexpr std::uint16_t kFlagAddedData = 0x8000;
constexpr std::uint16_t kFlagSplitBefore = 0x01;
constexpr std::uint16_t kFlagSplitAfter = 0x02;
constexpr std::uint16_t kFlagDirectoryMask = 0xE0;
constexpr std::uint16_t kFlagLargeFile = 0x100;
constexpr std::uint64_t kBlockHeaderBytes = 7;
constexpr std::uint64_t kFileFieldsBytes = 25;  // packed size … attributes

// Reads forward through the archive, keeping the count of bytes that remain after the
// position. Header reads are small and close together, so they are served from a window read
// ahead in one request; a failed read means the medium failed, not that the archive ended.
class Cursor {
public:
    explicit Cursor(ByteSource& source) : m_source(source), m_remaining(source.Size()) {}

    std::uint64_t Remaining() const { return m_remaining; }

    // Reads `out.size()` bytes that are known to remain; throws ReadFailed when they cannot be
    // read.
    void Read(std::span<std::uint8_t> out) {
        if (m_position < m_windowAt || m_position + out.size() > m_windowAt + m_window.size()) {
            const std::uint64_t want = std::max<std::uint64_t>(out.size(), kWindowBytes);
            m_window.resize(static_cast<std::size_t>(std::min(want, m_remaining)));
            m_windowAt = m_position;
            if (!m_source.ReadExact(m_windowAt, m_window)) {
                m_window.clear();
                throw ReadFailed{};
            }
        }
        std::copy_n(m_window.begin() + static_cast<std::ptrdiff_t>(m_position - m_windowAt), out.size(),
                    out.begin());
        Skip(out.size());
    }
    void Skip(std::uint64_t bytes) {
        m_position += bytes;
        m_remaining -= bytes;
    }

    struct ReadFailed {};

private:
    static constexpr std::uint64_t kWindowBytes = 16 * 1024;

    ByteSource& m_source;
    std::uint64_t m_position = 0;
    std::uint64_t m_remaining;
    std::uint64_t m_windowAt = 0;
    std::vector<std::uint8_t> m_window;
};

// Reads one file header after its 7-byte block header; false when the walk ends here.
bool ReadFileHeader(Cursor& cursor, std::uint16_t flags, std::uint16_t headerSize,
                    std::vector<RarItem>& items) {
    if (cursor.Remaining() < kFileFieldsBytes) return false;
    std::array<std::uint8_t, kFileFieldsBytes> fields;
    cursor.Read(fields);
    std::uint64_t packedSize = Le32(&fields[0]);
    std::uint64_t unpackedSize = Le32(&fields[4]);
    const std::uint32_t dosDateTime = Le32(&fields[13]);
    const std::uint16_t nameSize = Le16(&fields[19]);
    std::uint64_t consumed = kBlockHeaderBytes + kFileFieldsBytes;

    // Entries of 4 GiB and more keep the high halves of both sizes before the name.
    if (flags & kFlagLargeFile) {
        std::array<std::uint8_t, 8> high;
        if (cursor.Remaining() < high.size()) return false;
        cursor.Read(high);
        packedSize |= static_cast<std::uint64_t>(Le32(&high[0])) << 32;
        unpackedSize |= static_cast<std::uint64_t>(Le32(&high[4])) << 32;
        consumed += high.size();
    }
    if (cursor.Remaining() < nameSize) return false;
    std::string name(nameSize, '\0');
    cursor.Read({reinterpret_cast<std::uint8_t*>(name.data()), name.size()});
    consumed += nameSize;

    // A name with a Unicode part keeps its 8-bit part before a zero byte.
    name.resize(std::min(name.size(), name.find('\0')));
    const std::string_view trimmed = text::Trim(name);
    const bool split = (flags & (kFlagSplitBefore | kFlagSplitAfter)) != 0;
    const bool folder = (flags & kFlagDirectoryMask) == kFlagDirectoryMask;
    if (!split && !folder && !trimmed.empty())
        items.push_back({std::string(trimmed), unpackedSize, dosDateTime});

    // The rest of the header (salt, extended times, comments) and the packed data.
    if (headerSize < consumed) return false;
    const std::uint64_t rest = headerSize - consumed + packedSize;
    if (cursor.Remaining() < rest) return false;
    cursor.Skip(rest);
    return cursor.Remaining() != 0;
}

// Skips a block of another type; false when the walk ends here.
bool SkipOtherBlock(Cursor& cursor, std::uint16_t flags, std::uint16_t headerSize) {
    std::uint64_t skip = 0;
    if (flags & kFlagAddedData) {
        if (cursor.Remaining() < 4) return false;
        std::array<std::uint8_t, 4> added;
        cursor.Read(added);
        if (headerSize < kBlockHeaderBytes + added.size()) return false;
        skip = headerSize - kBlockHeaderBytes - added.size() + Le32(added.data());
    } else {
        if (headerSize < kBlockHeaderBytes) return false;
        skip = headerSize - kBlockHeaderBytes;
    }
    if (cursor.Remaining() < skip) return false;
    cursor.Skip(skip);
    return cursor.Remaining() != 0;
}

}  // namespace

std::optional<std::vector<RarItem>> ReadRarItems(ByteSource& source) {
    std::vector<RarItem> items;
    try {
        Cursor cursor(source);
        std::array<std::uint8_t, 7> marker;
        if (cursor.Remaining() < marker.size()) return std::nullopt;
        cursor.Read(marker);
        if (marker != kMarker) return std::nullopt;
        if (cursor.Remaining() == 0) return items;

        std::array<std::uint8_t, 13> archiveHeader;
        if (cursor.Remaining() < archiveHeader.size()) return std::nullopt;
        cursor.Read(archiveHeader);
        if (archiveHeader[2] != kTypeArchive) return std::nullopt;
        if (cursor.Remaining() == 0) return items;
        const std::uint16_t archiveHeaderSize = Le16(&archiveHeader[5]);
        if (archiveHeaderSize < archiveHeader.size()) return std::nullopt;
        const std::uint64_t archiveRest = archiveHeaderSize - archiveHeader.size();
        if (cursor.Remaining() < archiveRest) return std::nullopt;
        cursor.Skip(archiveRest);

        // Every pass consumes at least the 7 header bytes, so the loop ends.
        while (cursor.Remaining() >= kBlockHeaderBytes) {
            std::array<std::uint8_t, kBlockHeaderBytes> block;
            cursor.Read(block);
            const std::uint8_t type = block[2];
            const std::uint16_t flags = Le16(&block[3]);
            const std::uint16_t headerSize = Le16(&block[5]);
            const bool goOn = type == kTypeFile ? ReadFileHeader(cursor, flags, headerSize, items)
                                                : SkipOtherBlock(cursor, flags, headerSize);
            if (!goOn) break;
        }
    } catch (const Cursor::ReadFailed&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return items;
}

}  // namespace pelko::scan
