// Writing files: whole buffers, atomic replacement, and the permissions new files get.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileCopy.h"
#include "platform/FileDescriptor.h"
#include "platform/WriteAll.h"
#include "support/TempDir.h"

namespace {

// A descriptor whose writes accept nothing, as some devices and network file systems do.
std::atomic<int> g_stalledFd{-1};

}  // namespace

// Every write() of this test program comes through here (the program's own definition wins over
// the C library's), so that a write making no progress can be staged.
extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
    if (fd >= 0 && fd == g_stalledFd.load()) return 0;
    return ::syscall(SYS_write, fd, buffer, count);
}

namespace pelko::platform {
namespace {

namespace fs = std::filesystem;

class StalledFile {
public:
    explicit StalledFile(const fs::path& path)
        : m_fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {
        g_stalledFd = m_fd.get();
    }
    ~StalledFile() { g_stalledFd = -1; }
    int get() const { return m_fd.get(); }

private:
    FileDescriptor m_fd;
};

TEST(WriteAllTest, AWriteThatMakesNoProgressIsAnErrorNotALoop) {
    test::TempDir dir;
    const StalledFile out(dir / "stalled");
    const std::vector<std::uint8_t> bytes(100, 7);
    errno = 0;
    EXPECT_FALSE(WriteAll(out.get(), bytes));
    EXPECT_EQ(errno, EIO);

    const FileDescriptor in(::open(dir.WriteFile("source", "content").c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_FALSE(CopyDescriptor(in.get(), out.get()));
}

TEST(WriteAllTest, ReplacingAFileLeavesTheOldOneWhenTheNewCannotBeWritten) {
    test::TempDir dir;
    const fs::path file = dir.WriteFile("a.txt", "old");
    EXPECT_TRUE(ReplaceFileContent(file, std::string_view("new")));
    EXPECT_EQ(test::ReadFile(file), "new");

    // A symbolic link at the name is replaced, never written through.
    const fs::path outside = dir.WriteFile("outside.txt", "keep");
    fs::create_symlink(outside, dir / "link.txt");
    EXPECT_TRUE(ReplaceFileContent(dir / "link.txt", std::string_view("thumb"), Durability::ProcessCrash));
    EXPECT_EQ(test::ReadFile(outside), "keep");
    EXPECT_FALSE(fs::is_symlink(dir / "link.txt"));

    // A folder where the file goes: nothing is replaced and no temporary file stays.
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(ReplaceFileContent(dir / "folder", std::string_view("x")));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(AtomicFileTest, NoFileOfAnotherThreadEverEscapesTheUmask) {
    test::TempDir dir;
    const mode_t learned = ProcessUmask();
    const mode_t saved = ::umask(022);
    EXPECT_EQ(learned, saved);

    std::atomic<bool> done{false};
    std::atomic<int> exposed{0};
    std::thread creator([&] {
        const fs::path probe = dir / "probe";
        while (!done) {
            const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) continue;
            struct stat st {};
            if (::fstat(fd, &st) == 0 && (st.st_mode & 022) != 0) ++exposed;
            ::close(fd);
            ::unlink(probe.c_str());
        }
    });
    for (int i = 0; i < 4000; ++i) {
        AtomicFile file(dir / "atomic", Durability::ProcessCrash);
        ASSERT_TRUE(file.Create());
    }
    done = true;
    creator.join();
    ::umask(saved);
    EXPECT_EQ(exposed, 0) << "files created while the umask was cleared";

    AtomicFile file(dir / "made", Durability::ProcessCrash);
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Commit());
    struct stat st {};
    ASSERT_EQ(::stat((dir / "made").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~learned) << "a committed file gets the permissions of a new file";
}

}  // namespace
}  // namespace pelko::platform
