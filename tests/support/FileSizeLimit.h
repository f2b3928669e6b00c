#pragma once
// Makes the disk "full" for this process, even for root: while the object lives, no file can
// grow beyond `bytes` (RLIMIT_FSIZE), and a write past it fails with EFBIG instead of raising
// SIGXFSZ. Tests use it to show what a full disk does to a save, a copy or a scan.

#include <signal.h>
#include <sys/resource.h>

namespace pelko::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    sighandler_t m_savedHandler = SIG_DFL;
};

}  // namespace pelko::test
