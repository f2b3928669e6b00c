#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace pelko::platform {

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target)) {}

AtomicFile::~AtomicFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_committed && !m_temp.empty()) ::unlink(m_temp.c_str());
}

bool AtomicFile::Create() {
    std::string pattern = m_target.string() + ".tmpXXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_fd = ::mkstemp(buffer.data());
    if (m_fd < 0) return false;
    m_temp = buffer.data();
    // mkstemp makes the file private; give it the permissions a normally created file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return true;
}

bool AtomicFile::FlushTemporary() {
    if (m_temp.empty()) return false;
    if (m_fd >= 0) {
        const bool synced = ::fsync(m_fd) == 0;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        return synced && closed;
    }
    // Written by a library through its own handle: reopen to flush it to the disk.
    const int fd = ::open(m_temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void AtomicFile::FlushFolder() const {
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

bool AtomicFile::Commit() {
    if (!FlushTemporary()) return false;
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) return false;
    m_committed = true;
    FlushFolder();
    return true;
}

AtomicFile::NoReplace AtomicFile::CommitNoReplace() {
    if (!FlushTemporary()) return NoReplace::Failed;
    // link() refuses an existing name, which rename() would replace.
    if (::link(m_temp.c_str(), m_target.c_str()) != 0) {
        return errno == EEXIST ? NoReplace::Exists : NoReplace::Failed;
    }
    ::unlink(m_temp.c_str());
    m_committed = true;
    FlushFolder();
    return NoReplace::Committed;
}

}  // namespace pelko::platform
