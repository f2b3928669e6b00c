#pragma once
// Small writers of the file formats the scan extras read: ZIP archives (local headers and
// central directory, no data), RAR 1.5-4.x block chains, ID3v1 tags and PE programs with icon
// resources. Each writes just the fields the readers look at, so a test can state a case in a
// line and make the damage it wants.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pelko::scan::test {

inline void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void Set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

constexpr std::uint16_t DosDate(int year, int month, int day) {
    return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}
constexpr std::uint16_t DosTime(int hour, int minute, int twoSeconds) {
    return static_cast<std::uint16_t>((hour << 11) | (minute << 5) | twoSeconds);
}

struct ZipItem {
    std::string name;
    std::uint32_t size = 0;
    std::uint16_t date = DosDate(2020, 1, 2);
    std::uint16_t time = DosTime(3, 4, 5);
    std::uint16_t flags = 0;
    std::uint32_t externalAttributes = 0;
    std::string extra{};  // extra fields of the central header
};

// `prefix` goes in front of the archive (a self-extractor's program); the directory offsets
// then do not count it, as some writers leave them.
inline std::string BuildZip(const std::vector<ZipItem>& items, const std::string& prefix = {},
                            const std::string& comment = {}) {
    std::string local;
    std::string central;
    for (const ZipItem& item : items) {
        const std::uint32_t localAt = static_cast<std::uint32_t>(local.size());
        for (std::string* out : {&local, &central}) {
            const bool isCentral = out == &central;
            Put32(*out, isCentral ? 0x02014b50 : 0x04034b50);
            if (isCentral) Put16(*out, 20);  // made by
            Put16(*out, 20);                 // needed
            Put16(*out, item.flags);
            Put16(*out, 0);  // stored
            Put16(*out, item.time);
            Put16(*out, item.date);
            Put32(*out, 0);          // crc
            Put32(*out, 0);          // compressed size
            Put32(*out, item.size);  // uncompressed size
            Put16(*out, static_cast<std::uint32_t>(item.name.size()));
            Put16(*out, isCentral ? static_cast<std::uint32_t>(item.extra.size()) : 0);
            if (isCentral) {
                Put16(*out, 0);  // comment
                Put16(*out, 0);  // disk
                Put16(*out, 0);  // internal attributes
                Put32(*out, item.externalAttributes);
                Put32(*out, localAt);
            }
            *out += item.name;
            if (isCentral) *out += item.extra;
        }
    }
    std::string zip = prefix + local + central;
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<std::uint32_t>(items.size()));
    Put16(zip, static_cast<std::uint32_t>(items.size()));
    Put32(zip, static_cast<std::uint32_t>(central.size()));
    Put32(zip, static_cast<std::uint32_t>(local.size()));
    Put16(zip, static_cast<std::uint32_t>(comment.size()));
    return zip + comment;
}

// The 7-byte marker and an archive header of `headerSize` bytes (13 plus extra bytes).
inline std::string RarStart(std::uint16_t headerSize = 13) {
    std::string out("Rar!\x1A\x07\x00", 7);
    Put16(out, 0);  // crc
    out += '\x73';
    Put16(out, 0);  // flags
    Put16(out, headerSize);
    Put16(out, 0);  // reserved
    Put32(out, 0);
    out.append(headerSize - 13, '\0');
    return out;
}

struct RarEntry {
    std::string name;
    std::uint32_t unpackedSize = 0;
    std::uint32_t packedSize = 0;  // this many data bytes follow the header
    std::uint32_t dosDateTime = (std::uint32_t{DosDate(2011, 6, 26)} << 16) | DosTime(14, 53, 23);
    std::uint16_t flags = 0x8000;
    std::uint16_t extraHeaderBytes = 0;  // salt, extended times …
    std::uint32_t highPacked = 0;        // with flag 0x100
    std::uint32_t highUnpacked = 0;
};

inline std::string RarFile(const RarEntry& e) {
    const bool large = (e.flags & 0x100) != 0;
    const std::size_t headerSize = 32 + (large ? 8 : 0) + e.name.size() + e.extraHeaderBytes;
    std::string out;
    Put16(out, 0);
    out += '\x74';
    Put16(out, e.flags);
    Put16(out, static_cast<std::uint32_t>(headerSize));
    Put32(out, e.packedSize);
    Put32(out, e.unpackedSize);
    out += '\x02';  // host
    Put32(out, 0);  // file crc
    Put32(out, e.dosDateTime);
    out += '\x14';  // version
    out += '\x30';  // method: stored
    Put16(out, static_cast<std::uint32_t>(e.name.size()));
    Put32(out, 0x20);  // attributes
    if (large) {
        Put32(out, e.highPacked);
        Put32(out, e.highUnpacked);
    }
    out += e.name;
    out.append(e.extraHeaderBytes, '\0');
    out.append(e.packedSize, 'd');
    return out;
}

inline std::string RarEnd() {
    std::string out;
    Put16(out, 0);
    out += '\x7B';
    Put16(out, 0x4000);
    Put16(out, 7);
    return out;
}

// A 128-byte ID3v1 tag; fields longer than their room are cut, shorter ones zero-padded.
struct Id3Fields {
    std::string title{}, artist{}, album{}, year{}, comment{};
    std::uint8_t genre = 255;
};

inline std::string BuildId3v1(const Id3Fields& f) {
    std::string tag = "TAG";
    for (auto [text, room] :
         {std::pair{&f.title, 30}, {&f.artist, 30}, {&f.album, 30}, {&f.year, 4}, {&f.comment, 30}}) {
        std::string field = text->substr(0, room);
        field.resize(room, '\0');
        tag += field;
    }
    tag += static_cast<char>(f.genre);
    return tag;
}

// A DIB icon image: BITMAPINFOHEADER, palette, bottom-up colour rows, AND mask rows. `colour`
// gives each pixel's palette index (bit counts up to 8) or 0xAARRGGBB value (24 and 32 bits),
// rows top-down; `hidden` marks the pixels the mask hides.
inline std::string BuildDibIcon(int side, int bitCount, const std::vector<std::uint32_t>& palette,
                                const std::vector<std::uint32_t>& colour, const std::vector<bool>& hidden,
                                bool withMask = true) {
    std::string out;
    Put32(out, 40);
    Put32(out, side);
    Put32(out, side * 2);
    Put16(out, 1);
    Put16(out, bitCount);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(palette.size()));  // colours used
    Put32(out, 0);
    for (std::uint32_t p : palette) Put32(out, p & 0xFFFFFF);
    const std::size_t colourRow = ((side * bitCount + 31) / 32) * 4;
    const std::size_t maskRow = ((side + 31) / 32) * 4;
    for (int y = side - 1; y >= 0; --y) {
        std::string row(colourRow, '\0');
        for (int x = 0; x < side; ++x) {
            const std::uint32_t v = colour[y * side + x];
            if (bitCount <= 8) {
                const int perByte = 8 / bitCount;
                const int shift = 8 - bitCount * (x % perByte + 1);
                row[x / perByte] =
                    static_cast<char>(static_cast<unsigned char>(row[x / perByte]) | (v << shift));
            } else {
                const int bytes = bitCount / 8;
                for (int k = 0; k < bytes; ++k) row[x * bytes + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
            }
        }
        out += row;
    }
    if (withMask) {
        for (int y = side - 1; y >= 0; --y) {
            std::string row(maskRow, '\0');
            for (int x = 0; x < side; ++x)
                if (hidden[y * side + x]) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            out += row;
        }
    }
    return out;
}

struct GroupImageEntry {
    int side = 16;  // 256 is written as 0
    int bitCount = 4;
    std::uint16_t iconId = 1;
    std::uint32_t bytes = 0;
};

inline std::string BuildIconGroup(const std::vector<GroupImageEntry>& images) {
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(images.size()));
    for (const GroupImageEntry& g : images) {
        out += static_cast<char>(g.side == 256 ? 0 : g.side);
        out += static_cast<char>(g.side == 256 ? 0 : g.side);
        out += '\0';
        out += '\0';
        Put16(out, 1);
        Put16(out, g.bitCount);
        Put32(out, g.bytes);
        Put16(out, g.iconId);
    }
    return out;
}

// A PE program whose only section holds the resources: type -> id -> data, each under
// language 0x409, types and ids in ascending order as resource compilers write them.
inline std::string BuildPe(const std::map<std::uint32_t, std::map<std::uint32_t, std::string>>& resources,
                           bool pe32Plus = false) {
    constexpr std::uint32_t kSectionRva = 0x1000;
    constexpr std::uint32_t kSectionFileAt = 0x200;
    // The resource tree: root, one directory per type, one language directory per id, then
    // the data entries and the data.
    std::size_t idCount = 0;
    for (const auto& type : resources) idCount += type.second.size();
    const std::size_t rootBytes = 16 + 8 * resources.size();
    std::size_t typeDirsBytes = 0;
    for (const auto& type : resources) typeDirsBytes += 16 + 8 * type.second.size();
    const std::size_t languageDirsBytes = idCount * (16 + 8);
    const std::size_t dataEntriesAt = rootBytes + typeDirsBytes + languageDirsBytes;
    std::size_t dataAt = dataEntriesAt + 16 * idCount;

    std::string tree(dataEntriesAt + 16 * idCount, '\0');
    std::string data;
    const auto directory = [&](std::size_t at, std::size_t count) {
        Set32(tree, at + 12, static_cast<std::uint32_t>(count << 16));  // id entries only
    };
    directory(0, resources.size());
    std::size_t typeAt = rootBytes;
    std::size_t languageAt = rootBytes + typeDirsBytes;
    std::size_t entryAt = dataEntriesAt;
    std::size_t typeIndex = 0;
    for (const auto& [type, ids] : resources) {
        Set32(tree, 16 + 8 * typeIndex, type);
        Set32(tree, 16 + 8 * typeIndex + 4, static_cast<std::uint32_t>(typeAt) | 0x80000000u);
        directory(typeAt, ids.size());
        std::size_t idIndex = 0;
        for (const auto& [id, bytes] : ids) {
            Set32(tree, typeAt + 16 + 8 * idIndex, id);
            Set32(tree, typeAt + 16 + 8 * idIndex + 4, static_cast<std::uint32_t>(languageAt) | 0x80000000u);
            directory(languageAt, 1);
            Set32(tree, languageAt + 16, 0x409);
            Set32(tree, languageAt + 20, static_cast<std::uint32_t>(entryAt));
            Set32(tree, entryAt, static_cast<std::uint32_t>(kSectionRva + dataAt + data.size()));
            Set32(tree, entryAt + 4, static_cast<std::uint32_t>(bytes.size()));
            data += bytes;
            data.append((4 - data.size() % 4) % 4, '\0');
            languageAt += 24;
            entryAt += 16;
            ++idIndex;
        }
        typeAt += 16 + 8 * ids.size();
        ++typeIndex;
    }
    const std::string section = tree + data;

    std::string pe(0x40, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    Set32(pe, 0x3C, 0x40);
    pe += std::string("PE\0\0", 4);
    const std::size_t optionalSize = pe32Plus ? 240 : 224;
    Put16(pe, pe32Plus ? 0x8664 : 0x14C);
    Put16(pe, 1);  // sections
    Put32(pe, 0);
    Put32(pe, 0);
    Put32(pe, 0);
    Put16(pe, static_cast<std::uint32_t>(optionalSize));
    Put16(pe, 0x102);
    std::string optional(optionalSize, '\0');
    optional[0] = '\x0B';
    optional[1] = pe32Plus ? '\x02' : '\x01';
    const std::size_t directoriesAt = pe32Plus ? 112 : 96;
    Set32(optional, directoriesAt - 4, 16);
    Set32(optional, directoriesAt + 2 * 8, kSectionRva);
    Set32(optional, directoriesAt + 2 * 8 + 4, static_cast<std::uint32_t>(section.size()));
    pe += optional;
    std::string header(40, '\0');
    header.replace(0, 5, ".rsrc");
    Set32(header, 8, static_cast<std::uint32_t>(section.size()));
    Set32(header, 12, kSectionRva);
    Set32(header, 16, static_cast<std::uint32_t>(section.size()));
    Set32(header, 20, kSectionFileAt);
    pe += header;
    pe.resize(kSectionFileAt, '\0');
    return pe + section;
}

}  // namespace pelko::scan::test
