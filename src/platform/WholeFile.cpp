#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor.h"

namespace pelko::platform {

WholeFileRead ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return errno == ENOENT ? WholeFileRead::Missing : WholeFileRead::Unreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return WholeFileRead::Unreadable;
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    while (have < out.size()) {
        const ssize_t got = ::read(fd.get(), out.data() + have, out.size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return WholeFileRead::Unreadable;
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    out.resize(have);
    return WholeFileRead::Ok;
}

}  // namespace pelko::platform
