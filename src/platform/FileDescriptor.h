#pragma once
// Owns a POSIX file descriptor and closes it.

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace pelko::platform {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            if (m_fd >= 0) ::close(m_fd);
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Reads up to out.size() bytes at `offset`, going on after short reads; fewer only at the end of
// the file; nullopt on a read error.
inline std::optional<std::size_t> ReadFullyAt(int fd, std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t have = 0;
    while (have < out.size()) {
        const ssize_t got =
            ::pread(fd, out.data() + have, out.size() - have, static_cast<off_t>(offset + have));
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    return have;
}

}  // namespace pelko::platform
