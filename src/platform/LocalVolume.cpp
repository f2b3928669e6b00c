#include "platform/LocalVolume.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileCopy.h"
#include "platform/FileDescriptor.h"
#include "platform/FileTime.h"
#include "text/Codec.h"

namespace pelko::platform {

namespace {

struct LinuxDirent64 {
    std::uint64_t d_ino;
    std::int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

std::string ZeroTerminated(std::string_view name) { return std::string(name); }

bool IsDirectoryAt(int dirFd, const char* name) {
    struct statx st {};
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE, &st) != 0) return false;
    return S_ISDIR(st.stx_mode);
}

// Puts a folder's read position back to its start when it goes out of scope.
class RewindOnExit {
public:
    explicit RewindOnExit(int fd) : m_fd(fd) {}
    ~RewindOnExit() { ::lseek(m_fd, 0, SEEK_SET); }
    RewindOnExit(const RewindOnExit&) = delete;
    RewindOnExit& operator=(const RewindOnExit&) = delete;

private:
    int m_fd;
};

class LocalFolder final : public VolumeFolder {
public:
    explicit LocalFolder(FileDescriptor fd) : m_fd(std::move(fd)) {}

    void Enumerate(const std::function<bool(const VolumeEntry&)>& visit) override {
        // Read through the folder's own descriptor and rewound to its start afterwards, so that
        // it can be enumerated again; a scan enumerates tens of thousands of folders, and a
        // second descriptor for each would cost an open and a close apiece.
        const RewindOnExit rewind(m_fd.get());
        constexpr std::size_t kBufferWords = 32 * 1024 / sizeof(std::uint64_t);  // 8-byte aligned records
        const auto buffer = std::make_unique_for_overwrite<std::uint64_t[]>(kBufferWords);
        auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.get());
        std::string name;
        for (;;) {
            const long got =
                ::syscall(SYS_getdents64, m_fd.get(), bytes, kBufferWords * sizeof(std::uint64_t));
            if (got <= 0) return;
            for (long pos = 0; pos < got;) {
                const auto* entry = reinterpret_cast<const LinuxDirent64*>(bytes + pos);
                pos += entry->d_reclen;
                const std::string_view raw(entry->d_name);
                bool isDir = entry->d_type == DT_DIR;
                if (entry->d_type == DT_UNKNOWN) isDir = IsDirectoryAt(m_fd.get(), entry->d_name);
                name = text::FromUtf8(raw);
                if (!visit(VolumeEntry{name, raw, isDir})) return;
            }
        }
    }

    std::optional<EntryInfo> Stat(std::string_view rawName) override {
        struct statx st {};
        const std::string name = ZeroTerminated(rawName);
        if (::statx(m_fd.get(), name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC,
                    STATX_SIZE | STATX_BTIME | STATX_MTIME, &st) != 0)
            return std::nullopt;
        const struct statx_timestamp& t = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
        return EntryInfo{st.stx_size, FileTimeFromUnix(t.tv_sec, t.tv_nsec)};
    }

    std::unique_ptr<VolumeFolder> OpenChild(std::string_view rawName) override {
        const std::string name = ZeroTerminated(rawName);
        FileDescriptor fd(
            ::openat(m_fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd.valid()) return nullptr;
        return std::make_unique<LocalFolder>(std::move(fd));
    }

    std::optional<std::size_t> ReadAt(std::string_view rawName, std::uint64_t offset,
                                      std::span<std::uint8_t> out) override {
        const std::string name = ZeroTerminated(rawName);
        FileDescriptor fd(::openat(m_fd.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (!fd.valid()) return std::nullopt;
        return ReadFullyAt(fd.get(), offset, out);
    }

    bool CopyTo(std::string_view rawName, const std::filesystem::path& destination) override {
        const std::string name = ZeroTerminated(rawName);
        FileDescriptor in(::openat(m_fd.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (!in.valid()) return false;
        struct stat st {};
        if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
        AtomicFile out(destination);
        if (!out.Create()) return false;
        if (!CopyDescriptor(in.get(), out.Descriptor())) return false;
        return out.Commit();
    }

private:
    FileDescriptor m_fd;
};

}  // namespace

std::unique_ptr<VolumeFolder> LocalVolume::OpenFolder(std::string_view path) {
    const std::string raw = RawName(path);
    FileDescriptor fd(::open(raw.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return nullptr;
    return std::make_unique<LocalFolder>(std::move(fd));
}

std::string LocalVolume::RawName(std::string_view name) const { return text::ToUtf8(name); }

}  // namespace pelko::platform
