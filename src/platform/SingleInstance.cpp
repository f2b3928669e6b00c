#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

#include "text/Codec.h"

namespace pelko::platform {

namespace fs = std::filesystem;

std::optional<SingleInstanceLock> SingleInstanceLock::Acquire(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path path = folder / (std::string(kSingleInstanceName) + ".lock");
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) return std::nullopt;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return std::nullopt;
    // The holder's process id, for people looking at the file; the lock itself is the flock.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd.get(), 0) == 0) {
        const ssize_t written = ::pwrite(fd.get(), pid.data(), pid.size(), 0);
        static_cast<void>(written);
    }
    return SingleInstanceLock(std::move(fd), path);
}

fs::path SingleInstanceFolder(const fs::path& fallback) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    return fallback;
}

std::string AlreadyRunningText() { return text::Local("Pelko－光盘管理工具正在运行！"); }

}  // namespace pelko::platform
