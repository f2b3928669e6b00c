#pragma once
// Random access to the bytes of one file, for the readers of archive directories, tags and
// program resources. The scanner reads through the medium's folder interface so that the same
// readers work on a local disk and on a disc image; tests and fuzz targets read from memory.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelko::platform {
class VolumeFolder;
}

namespace pelko::scan {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `out` from `offset`; false when the bytes are not all there or cannot be read.
    virtual bool ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::span<const std::uint8_t> m_bytes;
};

// A file of a medium's folder. The size is taken once when the source is made.
class VolumeFileSource final : public ByteSource {
public:
    // Null when the file cannot be looked at.
    static std::optional<VolumeFileSource> Open(platform::VolumeFolder& folder, std::string_view rawName);

    std::uint64_t Size() const override { return m_size; }
    bool ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    VolumeFileSource(platform::VolumeFolder& folder, std::string_view rawName, std::uint64_t size)
        : m_folder(&folder), m_rawName(rawName), m_size(size) {}

    platform::VolumeFolder* m_folder;
    std::string m_rawName;
    std::uint64_t m_size;
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
