#pragma once
// Random access to the bytes of a medium: a disc image, a block device or a buffer in memory.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/FileDescriptor.h"

namespace pelko::platform {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to out.size() bytes at `offset`; fewer only at the end of the medium; nullopt on
    // a read error.
    virtual std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    // The medium's size in bytes.
    virtual std::uint64_t Size() const = 0;

    // Reads exactly out.size() bytes; false when the medium is shorter or unreadable there.
    bool ReadExactly(std::uint64_t offset, std::span<std::uint8_t> out) {
        const std::optional<std::size_t> got = ReadAt(offset, out);
        return got && *got == out.size();
    }
};

// A file or block device opened read-only.
class FileByteSource final : public ByteSource {
public:
    // Null when the path cannot be opened or its size cannot be learned.
    static std::unique_ptr<FileByteSource> Open(const std::filesystem::path& path);
    FileByteSource(FileDescriptor fd, std::uint64_t size) : m_fd(std::move(fd)), m_size(size) {}

    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::uint64_t Size() const override { return m_size; }
    int Descriptor() const { return m_fd.get(); }

private:
    FileDescriptor m_fd;
    std::uint64_t m_size;
};

// Bytes held in memory (tests, fuzzing).
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::uint64_t Size() const override { return m_bytes.size(); }

private:
    std::span<const std::uint8_t> m_bytes;
};

}  // namespace pelko::platform
