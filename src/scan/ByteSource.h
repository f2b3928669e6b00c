#pragma once
// The bytes of the files a scan reads: a file of a folder of the medium as a byte source, a
// buffered front-to-back reader, and the little-endian field readers of the archive and program
// formats.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteSource.h"

namespace pelko::platform {
class VolumeFolder;
}

namespace pelko::scan {

using platform::ByteSource;
using platform::MemoryByteSource;

// A file of a folder of the medium, by the name the medium gives it.
class VolumeFileSource final : public ByteSource {
public:
    // Nothing when the entry cannot be looked at.
    static std::optional<VolumeFileSource> Open(platform::VolumeFolder& folder, std::string_view rawName);
    std::uint64_t Size() const override { return m_size; }
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    VolumeFileSource(platform::VolumeFolder& folder, std::string rawName, std::uint64_t size)
        : m_folder(&folder), m_rawName(std::move(rawName)), m_size(size) {}

    platform::VolumeFolder* m_folder;
    std::string m_rawName;
    std::uint64_t m_size;
};

// Reads a source front to back through a buffer, with big-endian numbers. Every read past the
// end fails and leaves the reader failed.
class SequentialReader {
public:
    explicit SequentialReader(ByteSource& source) : m_source(source) {}

    std::uint64_t Position() const { return m_position; }
    std::uint64_t Remaining() const;
    bool Failed() const { return m_failed; }

    bool Read(std::span<std::uint8_t> out);
    bool Skip(std::uint64_t count);
    std::optional<std::uint8_t> U8();
    std::optional<std::uint16_t> U16();
    std::optional<std::uint32_t> U32();

private:
    bool Fill();

    ByteSource& m_source;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_bufferAt = 0;  // next unread byte of the buffer
    std::uint64_t m_position = 0;
    bool m_failed = false;
};

// Little-endian field readers over bytes already known to be long enough.
inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Le64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}

}  // namespace pelko::scan
