#include "platform/Iso9660Reader.h"

#include <algorithm>
#include <array>

#include "platform/DiscDescriptors.h"
#include "platform/FileTime.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::platform {

namespace {

// A folder larger than this is damage, not a disc (a real one holds a few MiB at most).
constexpr std::uint32_t kMaxFolderBytes = 64u << 20;
// Continuation areas followed for one record's Rock Ridge entries.
constexpr int kMaxContinuations = 8;

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int64_t DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// The 7-byte recording date: years since 1900, month, day, hour, minute, second, and the offset
// from GMT in 15-minute steps.
std::uint64_t RecordingTime(const std::uint8_t* d) {
    if (d[1] < 1 || d[1] > 12 || d[2] < 1 || d[2] > 31) return 0;
    const std::int64_t days = DaysFromCivil(1900 + d[0], d[1], d[2]);
    const auto offset = static_cast<std::int8_t>(d[6]);
    const std::int64_t seconds =
        days * 86400 + d[3] * 3600 + d[4] * 60 + d[5] - static_cast<std::int64_t>(offset) * 15 * 60;
    return FileTimeFromUnix(seconds, 0);
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = c < 0x80                 ? 0
                            : c >= 0xC2 && c <= 0xDF ? 1
                            : c >= 0xE0 && c <= 0xEF ? 2
                            : c >= 0xF0 && c <= 0xF4 ? 3
                                                     : 9;
        if (extra == 9 || bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::string PrimaryName(std::string_view recorded) {
    std::string name(recorded.substr(0, recorded.find(';')));
    if (name.size() > 1 && name.back() == '.') name.pop_back();
    return name;
}

std::string JolietName(std::string_view recorded) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < recorded.size(); i += 2)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(recorded[i]) << 8 |
                                             static_cast<unsigned char>(recorded[i + 1])));
    const std::size_t version = wide.find(u';');
    if (version != std::u16string::npos) wide.resize(version);
    if (wide.size() > 1 && wide.back() == u'.') wide.pop_back();
    return text::FromUtf16(wide);
}

// Rock Ridge facts of one record.
struct RockRidge {
    std::string name;
    bool haveName = false;
    bool relocated = false;                  // "RE": shown through its child link instead
    std::optional<std::uint32_t> childLink;  // "CL": a folder moved elsewhere
};

}  // namespace

Iso9660Reader::Iso9660Reader(std::unique_ptr<ByteSource> source, IsoNames names, IsoEntry root,
                             std::size_t suspSkip)
    : m_source(std::move(source)), m_names(names), m_root(std::move(root)), m_suspSkip(suspSkip) {}

std::unique_ptr<Iso9660Reader> Iso9660Reader::Open(std::unique_ptr<ByteSource> source,
                                                   std::uint64_t sessionStart) {
    if (!source) return nullptr;
    const std::optional<IsoDescriptors> descriptors = ReadIsoDescriptors(*source, sessionStart);
    if (!descriptors) return nullptr;

    const auto rootOf = [](const DiscSector& descriptor) {
        IsoEntry root;
        root.name = ".";
        root.isDirectory = true;
        const std::uint8_t* record = descriptor.data() + 156;
        root.extents.push_back({Le32(record + 2), Le32(record + 10)});
        root.size = root.extents.back().length;
        root.fileTime = RecordingTime(record + 18);
        return root;
    };

    IsoEntry primaryRoot = rootOf(*descriptors->primary);
    auto reader = std::unique_ptr<Iso9660Reader>(
        new Iso9660Reader(std::move(source), IsoNames::Primary, primaryRoot, 0));
    // Rock Ridge announces itself with a SUSP "SP" entry in the system use area of the root's
    // "." record.
    std::array<std::uint8_t, 256> first{};
    if (reader->ReadBytes(primaryRoot.extents[0].sector, 0, first)) {
        const std::size_t length = first[0];
        const std::size_t suAt = 33 + first[32] + (first[32] % 2 == 0 ? 1 : 0);
        if (length >= suAt + 7 && first[suAt] == 'S' && first[suAt + 1] == 'P' && first[suAt + 4] == 0xBE &&
            first[suAt + 5] == 0xEF) {
            reader->m_names = IsoNames::RockRidge;
            reader->m_suspSkip = first[suAt + 6];
            return reader;
        }
    }
    if (descriptors->joliet) {
        reader->m_names = IsoNames::Joliet;
        reader->m_root = rootOf(*descriptors->joliet);
    }
    return reader;
}

bool Iso9660Reader::ReadBytes(std::uint64_t sector, std::uint32_t offset, std::span<std::uint8_t> out) {
    const std::uint64_t at = sector * kDiscSectorSize + offset;
    if (at > m_source->Size() || out.size() > m_source->Size() - at) return false;
    return m_source->ReadExact(at, out);
}

std::optional<std::vector<std::uint8_t>> Iso9660Reader::ReadExtent(const IsoExtent& extent) {
    // Checked before allocating, so a damaged length never costs more memory than the image.
    const std::uint64_t at = static_cast<std::uint64_t>(extent.sector) * kDiscSectorSize;
    if (extent.length > kMaxFolderBytes || at > m_source->Size() || extent.length > m_source->Size() - at)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(extent.length);
    if (!ReadBytes(extent.sector, 0, bytes)) return std::nullopt;
    return bytes;
}

std::optional<std::vector<IsoEntry>> Iso9660Reader::ReadFolder(const IsoEntry& folder) {
    std::optional<std::vector<IsoEntry>> entries = ReadFolderRecords(folder, nullptr);
    if (!entries || m_names != IsoNames::RockRidge || folder.extents.empty() ||
        folder.extents.front().sector != m_root.extents.front().sector)
        return entries;
    std::erase_if(*entries, [this](const IsoEntry& entry) { return IsRelocationFolder(entry); });
    return entries;
}

bool Iso9660Reader::IsRelocationFolder(const IsoEntry& entry) {
    if (!entry.isDirectory) return false;
    const std::string name = text::AsciiLower(entry.name);
    if (name != "rr_moved" && name != ".rr_moved") return false;
    std::size_t relocated = 0;
    const std::optional<std::vector<IsoEntry>> inside = ReadFolderRecords(entry, &relocated);
    if (!inside || relocated == 0) return false;
    return std::all_of(inside->begin(), inside->end(),
                       [](const IsoEntry& e) { return e.name == "." || e.name == ".."; });
}

std::optional<std::vector<IsoEntry>> Iso9660Reader::ReadFolderRecords(const IsoEntry& folder,
                                                                      std::size_t* relocatedCount) {
    if (!folder.isDirectory || folder.extents.empty()) return std::nullopt;
    IsoExtent extent = folder.extents.front();
    if (extent.length == 0) {
        // A relocated folder is reached through a child link whose record holds no length: take
        // it from the folder's own "." record.
        std::array<std::uint8_t, 34> dot{};
        if (!ReadBytes(extent.sector, 0, dot)) return std::nullopt;
        extent.length = Le32(dot.data() + 10);
    }
    const std::optional<std::vector<std::uint8_t>> bytes = ReadExtent(extent);
    if (!bytes) return std::nullopt;

    std::vector<IsoEntry> entries;
    bool continuing = false;  // the previous record is a multi-extent part of this file
    for (std::size_t pos = 0; pos < bytes->size();) {
        const std::uint8_t length = (*bytes)[pos];
        if (length == 0) {  // records never cross a sector: the rest of this one is padding
            pos = (pos / kDiscSectorSize + 1) * kDiscSectorSize;
            continue;
        }
        if (length < 34 || pos + length > bytes->size()) break;
        const std::uint8_t* record = bytes->data() + pos;
        pos += length;
        const std::uint8_t nameLength = record[32];
        if (33u + nameLength > length) continue;
        const std::string_view recorded(reinterpret_cast<const char*>(record + 33), nameLength);
        const std::uint8_t flags = record[25];
        const bool multiExtent = (flags & 0x80) != 0 && (flags & 0x02) == 0;

        IsoEntry entry;
        entry.isDirectory = (flags & 0x02) != 0;
        entry.fileTime = RecordingTime(record + 18);
        const IsoExtent data{Le32(record + 2), Le32(record + 10)};
        if (nameLength == 1 && (recorded[0] == '\0' || recorded[0] == '\1')) {
            entry.name = recorded[0] == '\0' ? "." : "..";
        } else if (m_names == IsoNames::Joliet) {
            entry.name = JolietName(recorded);
        } else {
            entry.name = PrimaryName(recorded);
        }

        if (m_names == IsoNames::RockRidge) {
            const std::size_t suStart = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0) + m_suspSkip;
            RockRidge rr;
            std::vector<std::uint8_t> area(record + std::min<std::size_t>(suStart, length), record + length);
            for (int hop = 0; hop <= kMaxContinuations && !area.empty(); ++hop) {
                std::optional<IsoExtent> next;
                std::uint32_t nextOffset = 0;
                for (std::size_t at = 0; at + 4 <= area.size();) {
                    const std::uint8_t entryLength = area[at + 2];
                    if (entryLength < 4 || at + entryLength > area.size()) break;
                    const std::uint8_t* e = area.data() + at;
                    if (e[0] == 'N' && e[1] == 'M' && entryLength >= 5 && !(e[4] & 0x06)) {
                        rr.name.append(reinterpret_cast<const char*>(e + 5), entryLength - 5u);
                        rr.haveName = true;
                    } else if (e[0] == 'R' && e[1] == 'E') {
                        rr.relocated = true;
                    } else if (e[0] == 'C' && e[1] == 'L' && entryLength >= 12) {
                        rr.childLink = Le32(e + 4);
                    } else if (e[0] == 'C' && e[1] == 'E' && entryLength >= 28) {
                        next = IsoExtent{Le32(e + 4), Le32(e + 20)};
                        nextOffset = Le32(e + 12);
                    } else if (e[0] == 'S' && e[1] == 'T') {
                        break;
                    }
                    at += entryLength;
                }
                area.clear();
                if (next && next->length <= kDiscSectorSize && nextOffset < kDiscSectorSize) {
                    area.resize(next->length);
                    if (!ReadBytes(next->sector, nextOffset, area)) area.clear();
                }
            }
            if (rr.relocated) {
                if (relocatedCount) ++*relocatedCount;
                continuing = false;
                continue;
            }
            if (rr.haveName && entry.name != "." && entry.name != "..")
                entry.name = IsValidUtf8(rr.name) ? text::FromUtf8(rr.name) : rr.name;
            if (rr.childLink) {
                entry.isDirectory = true;
                entry.extents.push_back({*rr.childLink, 0});
                entries.push_back(std::move(entry));
                continuing = false;
                continue;
            }
        }

        if (continuing && !entries.empty() && entries.back().name == entry.name) {
            entries.back().extents.push_back(data);
            entries.back().size += data.length;
        } else {
            entry.extents.push_back(data);
            entry.size = data.length;
            entries.push_back(std::move(entry));
        }
        continuing = multiExtent;
    }
    return entries;
}

std::optional<std::size_t> Iso9660Reader::ReadFile(const IsoEntry& file, std::uint64_t offset,
                                                   std::span<std::uint8_t> out) {
    std::size_t have = 0;
    std::uint64_t extentStart = 0;
    for (const IsoExtent& extent : file.extents) {
        if (have == out.size()) break;
        const std::uint64_t extentEnd = extentStart + extent.length;
        const std::uint64_t at = offset + have;
        if (at < extentEnd) {
            const std::uint64_t within = at - extentStart;
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(out.size() - have, extentEnd - at));
            const std::uint64_t byte = static_cast<std::uint64_t>(extent.sector) * kDiscSectorSize + within;
            if (byte > m_source->Size() || n > m_source->Size() - byte) return std::nullopt;
            if (!m_source->ReadExact(byte, out.subspan(have, n))) return std::nullopt;
            have += n;
        }
        extentStart = extentEnd;
    }
    return have;
}

}  // namespace pelko::platform
