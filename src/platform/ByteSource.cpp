#include "platform/ByteSource.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pelko::platform {

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
    std::size_t have = 0;
    while (have < out.size()) {
        const ssize_t got =
            ::pread(m_fd.get(), out.data() + have, out.size() - have, static_cast<off_t>(offset + have));
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    return have;
}

std::optional<std::size_t> MemoryByteSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset >= m_bytes.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(out.size(), m_bytes.size() - offset);
    if (n > 0) std::memcpy(out.data(), m_bytes.data() + offset, n);
    return n;
}

}  // namespace pelko::platform
