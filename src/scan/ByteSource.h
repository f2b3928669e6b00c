#pragma once
// Random access to the bytes of one file, wherever it lives: a file on a scanned medium, a
// buffer in memory. The readers of archive directories, tags, program resources and pictures
// take this instead of a path, so the same code serves local folders, disc images, tests and
// fuzz targets.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::platform {
class VolumeFolder;
}

namespace pelko::scan {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to out.size() bytes at `offset`; the number read (short only at the end or on
    // an error).
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;

    // Fills `out` from `offset`; false when the bytes are not all there or cannot be read.
    bool ReadExact(std::uint64_t offset, std::span<std::uint8_t> out);

    // The whole content, or nothing when it is larger than `limit` or cannot be read.
    std::optional<std::vector<std::uint8_t>> ReadAll(std::uint64_t limit);
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::span<const std::uint8_t> m_bytes;
};

// A file of a folder of the medium, by the name the medium gives it.
class VolumeFileSource final : public ByteSource {
public:
    // Nothing when the entry cannot be looked at.
    static std::optional<VolumeFileSource> Open(platform::VolumeFolder& folder, std::string_view rawName);
    std::uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

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
