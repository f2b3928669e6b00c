#include "platform/ByteSource.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace pelko::platform {

bool ByteSource::ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) {
    const std::uint64_t size = Size();
    if (offset > size || out.size() > size - offset) return false;
    if (out.empty()) return true;
    const std::optional<std::size_t> got = ReadAt(offset, out);
    return got && *got == out.size();
}

std::optional<std::vector<std::uint8_t>> ByteSource::ReadAll(std::uint64_t limit) {
    const std::uint64_t size = Size();
    if (size > limit) return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        if (!ReadExact(0, bytes)) return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::filesystem::path& path) {
    // O_NONBLOCK lets an optical drive without a disc answer at once instead of waiting.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return nullptr;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return nullptr;
    std::uint64_t size = 0;
    if (S_ISBLK(st.st_mode)) {
        if (::ioctl(fd.get(), BLKGETSIZE64, &size) != 0) return nullptr;
    } else if (S_ISREG(st.st_mode)) {
        size = static_cast<std::uint64_t>(st.st_size);
    } else {
        return nullptr;
    }
    return std::make_unique<FileByteSource>(std::move(fd), size);
}

std::optional<std::size_t> FileByteSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    return ReadFullyAt(m_fd.get(), offset, out);
}

std::optional<std::size_t> MemoryByteSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset >= m_bytes.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(out.size(), m_bytes.size() - offset);
    if (n > 0) std::memcpy(out.data(), m_bytes.data() + offset, n);
    return n;
}

}  // namespace pelko::platform
