#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "platform/WriteAll.h"

namespace pelko::platform {

namespace {

// The "Umask:" line of /proc/self/status (Linux 4.7 and later); the usual 022 where it is absent.
mode_t ReadUmaskFromProc() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0) continue;
        try {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8) & 0777);
        } catch (const std::exception&) {
            break;
        }
    }
    return 022;
}

}  // namespace

mode_t ProcessUmask() {
    static const mode_t mask = ReadUmaskFromProc();
    return mask;
}

AtomicFile::AtomicFile(std::filesystem::path target, Durability durability)
    : m_target(std::move(target)), m_durability(durability) {}

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
    // Held until the file is closed for the rename, so a catalog loaded meanwhile by another
    // copy of the program knows this temporary file is being written and leaves it alone.
    ::flock(m_fd, LOCK_EX);
    // mkstemp makes the file private; give it the permissions a normally created file gets.
    ::fchmod(m_fd, 0666 & ~ProcessUmask());
    return true;
}

bool AtomicFile::FlushTemporary() {
    if (m_temp.empty()) return false;
    const bool durable = m_durability == Durability::Durable;
    if (m_fd >= 0) {
        const bool synced = !durable || ::fsync(m_fd) == 0;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        return synced && closed;
    }
    if (!durable) return true;
    // Written by a library through its own handle: reopen to flush it to the disk.
    const int fd = ::open(m_temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void AtomicFile::FlushFolder() const {
    if (m_durability != Durability::Durable) return;
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

bool ReplaceFileContent(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                        Durability durability) {
    AtomicFile out(file, durability);
    return out.Create() && WriteAll(out.Descriptor(), bytes) && out.Commit();
}

bool ReplaceFileContent(const std::filesystem::path& file, std::string_view bytes, Durability durability) {
    return ReplaceFileContent(
        file, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), durability);
}

}  // namespace pelko::platform
