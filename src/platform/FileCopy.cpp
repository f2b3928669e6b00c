#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "platform/WriteAll.h"

namespace pelko::platform {

bool CopyDescriptor(int in, int out) {
    std::vector<std::uint8_t> chunk(256 * 1024);
    for (;;) {
        const ssize_t got = ::read(in, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!WriteAll(out, std::span(chunk).first(static_cast<std::size_t>(got)))) return false;
    }
}

CopyResult CopyFileNoReplace(const std::filesystem::path& source, const std::filesystem::path& destination) {
    struct stat existing {};
    if (::lstat(destination.c_str(), &existing) == 0) return CopyResult::Exists;
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!in.valid()) return CopyResult::Failed;
    struct stat st {};
    if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return CopyResult::Failed;
    AtomicFile out(destination);
    if (!out.Create() || !CopyDescriptor(in.get(), out.Descriptor())) return CopyResult::Failed;
    switch (out.CommitNoReplace()) {
        case AtomicFile::NoReplace::Committed:
            return CopyResult::Copied;
        case AtomicFile::NoReplace::Exists:
            return CopyResult::Exists;
        case AtomicFile::NoReplace::Failed:
            break;
    }
    return CopyResult::Failed;
}

}  // namespace pelko::platform
