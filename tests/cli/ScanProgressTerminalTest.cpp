// pelko-cli itself under a pseudo-terminal: the live progress line of a scan appears on standard
// error, fits the terminal and is erased before the closing messages; through a pipe there is none.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/TerminalWidth.h"
#include "support/Pictures.h"
#include "support/TempDir.h"

extern char** environ;

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kErase = "\x1b[K";

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs pelko-cli with standard output on a pipe and standard error on a pseudo-terminal `columns`
// wide (or on a pipe too when `columns` is 0), reading both until it ends.
ProgramRun RunPelkoCli(const std::vector<std::string>& args, int columns) {
    ProgramRun run;
    int outPipe[2];
    if (::pipe(outPipe) != 0) return run;
    int errRead = -1;
    int errWrite = -1;
    if (columns > 0) {
        struct winsize size {};
        size.ws_col = static_cast<unsigned short>(columns);
        size.ws_row = 24;
        if (::openpty(&errRead, &errWrite, nullptr, nullptr, &size) != 0) return run;
    } else {
        int errPipe[2];
        if (::pipe(errPipe) != 0) return run;
        errRead = errPipe[0];
        errWrite = errPipe[1];
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errWrite, 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errRead);
    std::vector<std::string> argv_storage{PELKO_CLI_PROGRAM};
    argv_storage.insert(argv_storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_storage) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, PELKO_CLI_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errWrite);
    if (spawned != 0) {
        ::close(outPipe[0]);
        ::close(errRead);
        return run;
    }
    // A pseudo-terminal reports EIO instead of end of file once the program has closed it.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errRead, POLLIN, 0}};
    std::string* into[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, 60000) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                into[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& p : fds)
        if (p.fd >= 0) ::close(p.fd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class ScanProgressTerminalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PELKO_SETTINGS_FILE", (settingsDir / "Pelko.conf").c_str(), 1);
        // Thumbnails of large pictures make the walk last well over the first redraw.
        const std::vector<std::uint8_t> jpeg = test::JpegOf(test::MakePicture(1800, 1800, [](int x, int y) {
            return test::Rgb{static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(x ^ y),
                             static_cast<std::uint8_t>(y * 3)};
        }));
        for (int folder = 0; folder < 4; ++folder)
            for (int i = 0; i < 8; ++i)
                test::WriteFileBytes(source / ("相册 " + std::to_string(folder) + "/一张很长名字的照片 " +
                                               std::to_string(i) + ".jpg"),
                                     jpeg);
    }
    void TearDown() override { ::unsetenv("PELKO_SETTINGS_FILE"); }

    test::TempDir tree;
    const fs::path source = tree / "a rather long folder name to need shortening/光盘资料的文件夹";
    test::TempDir catalogDir;
    test::TempDir settingsDir;
};

TEST_F(ScanProgressTerminalTest, LiveLineOnATerminalAndNoneThroughAPipe) {
    constexpr int kColumns = 50;
    const ProgramRun onTerminal = RunPelkoCli({"scan-folder", source.native(), "--catalog", catalogDir.path()}, kColumns);
    ASSERT_EQ(onTerminal.status, 0) << onTerminal.err;
    const std::string& err = onTerminal.err;

    // Each drawing: "\r", the status, erase to the end of the line.
    std::vector<std::string> drawn;
    for (std::size_t at = err.find('\r'); at != std::string::npos; at = err.find('\r', at + 1)) {
        const std::size_t end = err.find(kErase, at);
        if (end != std::string::npos && end > at + 1 && err.find('\n', at) > end)
            drawn.push_back(err.substr(at + 1, end - at - 1));
    }
    ASSERT_FALSE(drawn.empty()) << err;
    for (const std::string& line : drawn) {
        EXPECT_LE(DisplayColumns(line), kColumns - 1) << line;
        EXPECT_NE(line.find(" folder"), std::string::npos) << line;
    }
    EXPECT_NE(drawn.back().find("..."), std::string::npos) << "the path is shortened: " << drawn.back();
    EXPECT_NE(drawn.back().find(" files, "), std::string::npos) << drawn.back();

    // Erased before the closing message: what the terminal row shows is the message alone.
    const std::size_t filed = err.find("成功地把文件夹");
    ASSERT_NE(filed, std::string::npos) << err;
    const std::size_t lastErase = err.rfind(kErase, filed);
    ASSERT_NE(lastErase, std::string::npos);
    ASSERT_GE(lastErase, 1u);
    EXPECT_EQ(err[lastErase - 1], '\r') << "an erase of the whole line";
    const std::size_t rowStart = lastErase + kErase.size();
    const std::string row = err.substr(rowStart, err.find('\n', filed) - rowStart);
    EXPECT_EQ(row.find(" folders, "), std::string::npos) << row;
    EXPECT_EQ(row.find('\x1b'), std::string::npos) << row;
    EXPECT_EQ(err.find(" folders, ", lastErase), std::string::npos) << "nothing drawn after the end";
    EXPECT_EQ(onTerminal.out.find('\r'), std::string::npos) << "standard output has none of it";

    test::TempDir otherCatalog;
    const ProgramRun piped = RunPelkoCli({"--catalog", otherCatalog.path(), "scan-folder", source.native()}, 0);
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.err.find('\r'), std::string::npos) << piped.err;
    EXPECT_EQ(piped.err.find(kErase), std::string::npos) << piped.err;
    EXPECT_NE(piped.err.find("成功地把文件夹"), std::string::npos) << piped.err;
}

}  // namespace
}  // namespace pelko::cli
