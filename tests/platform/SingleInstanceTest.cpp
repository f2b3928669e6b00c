#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SingleInstance.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::platform {
namespace {

TEST(SingleInstanceTest, SecondOpenIsRefusedUntilTheFirstLetsGo) {
    test::TempDir dir;
    std::optional<SingleInstanceLock> first = SingleInstanceLock::Acquire(dir / "run");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Path().filename(), "D89D02AE-F73D-46c8-8976-69283410A6DE.lock");
    EXPECT_FALSE(SingleInstanceLock::Acquire(dir / "run"));
    first.reset();
    EXPECT_TRUE(SingleInstanceLock::Acquire(dir / "run"));
}

// Another process holds the lock; once it ends (a crash included) the lock is taken over.
TEST(SingleInstanceTest, LockOfAnEndedProcessIsTakenOver) {
    test::TempDir dir;
    int ready[2];
    int finish[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(finish), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(finish[1]);
        const auto lock = SingleInstanceLock::Acquire(dir.path());  // held by this process until it dies
        const char answer = lock ? 'y' : 'n';
        static_cast<void>(::write(ready[1], &answer, 1));
        char wait;
        static_cast<void>(::read(finish[0], &wait, 1));
        ::_exit(0);  // without unlocking: the kernel releases the lock
    }
    ::close(ready[1]);
    ::close(finish[0]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'y');
    EXPECT_FALSE(SingleInstanceLock::Acquire(dir.path()));
    ::close(finish[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(SingleInstanceLock::Acquire(dir.path()));
}

TEST(SingleInstanceTest, RuntimeFolderAndMessage) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(SingleInstanceFolder("/catalog"), "/run/user/1000");
    ::setenv("XDG_RUNTIME_DIR", "relative", 1);
    EXPECT_EQ(SingleInstanceFolder("/catalog"), "/catalog");
    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    EXPECT_EQ(AlreadyRunningText(), text::Local("Pelko－光盘管理工具正在运行！"));
}

}  // namespace
}  // namespace pelko::platform
