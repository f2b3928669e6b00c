#pragma once
// Random access to bytes: a disc image, a block device, a file on a scanned medium or a buffer in
// memory. Every reader of outside bytes (disc images, archive directories, tags, program
// resources, pictures) takes this, so the same code serves local folders, disc images, tests and
// fuzz targets.

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

    // Reads exactly out.size() bytes; false when the source is shorter or unreadable there.
    bool ReadExact(std::uint64_t offset, std::span<std::uint8_t> out);

    // The whole content, or nothing when it is larger than `limit` or cannot be read.
    std::optional<std::vector<std::uint8_t>> ReadAll(std::uint64_t limit);
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
