#pragma once
// The lock that keeps a second copy of the program from running: an exclusive flock on a file
// named with the program's identifier in the user's runtime folder. The kernel drops the lock
// when its holder ends, so a lock left by a crashed copy is simply taken over.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/FileDescriptor.h"

namespace pelko::platform {

inline constexpr std::string_view kSingleInstanceName = "D89D02AE-F73D-46c8-8976-69283410A6DE";

class SingleInstanceLock {
public:
    // Takes the lock in `folder` (created if missing); nothing while another process or another
    // open of the same file holds it, or when the file cannot be made.
    static std::optional<SingleInstanceLock> Acquire(const std::filesystem::path& folder);

    const std::filesystem::path& Path() const { return m_path; }

private:
    SingleInstanceLock(FileDescriptor fd, std::filesystem::path path)
        : m_fd(std::move(fd)), m_path(std::move(path)) {}
    FileDescriptor m_fd;  // the lock lives as long as this descriptor
    std::filesystem::path m_path;
};

// $XDG_RUNTIME_DIR when it is set and absolute, else `fallback` (the catalog folder).
std::filesystem::path SingleInstanceFolder(const std::filesystem::path& fallback);

// What the second copy shows before it exits (model bytes).
std::string AlreadyRunningText();

}  // namespace pelko::platform
