// Ctrl+C while scan-folder reads a folder below the one named: the user is told, what was read
// is filed, and the exit status says the scan is incomplete.

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "cli/CliRun.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

// True while this process holds `folder` open, as the walker does while it reads that folder
// or anything below it.
bool HoldsOpen(const fs::path& folder) {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        if (fs::read_symlink(fd.path(), linkError) == folder) return true;
    }
    return false;
}

extern "C" void IgnoreInterrupt(int) {}

// Presses Ctrl+C again and again, from the moment the walk is inside `folder` until the object
// goes: SIGINT to the thread that runs the command. Outside the command's own handler the
// signal is ignored, so a late one never ends the test program.
class CtrlCInside {
public:
    explicit CtrlCInside(fs::path folder) : m_target(::pthread_self()), m_folder(std::move(folder)) {
        struct sigaction ignore {};
        ignore.sa_handler = IgnoreInterrupt;
        ignore.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &ignore, &m_previous);
        m_presser = std::thread([this] {
            while (!m_done) {
                if (m_pressed || HoldsOpen(m_folder)) {
                    m_pressed = true;
                    ::pthread_kill(m_target, SIGINT);
                }
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
    }
    ~CtrlCInside() {
        m_done = true;
        m_presser.join();
        ::sigaction(SIGINT, &m_previous, nullptr);
    }
    CtrlCInside(const CtrlCInside&) = delete;
    CtrlCInside& operator=(const CtrlCInside&) = delete;

private:
    pthread_t m_target;
    fs::path m_folder;
    struct sigaction m_previous {};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_pressed{false};
    std::thread m_presser;
};

std::uint32_t FilesIn(const catalog::CDir& dir) {
    std::uint32_t count = static_cast<std::uint32_t>(dir.Files().size());
    for (const auto& sub : dir.Subdirs()) count += FilesIn(*sub);
    return count;
}

TEST(ScanInterruptCliTest, CtrlCBelowTheNamedFolderIsReportedAndWhatWasReadIsFiled) {
    test::TempDir tree;
    test::TempDir settingsDir;
    ::setenv("PELKO_SETTINGS_FILE", (settingsDir / "Pelko.conf").c_str(), 1);
    // The named folder holds one sub-folder only, so Ctrl+C reaches the walk two and three
    // levels down, where a cancel used to end just that folder's walk and go unreported.
    tree.WriteFile("top/first.txt", "1");
    fs::create_directories(tree / "top/deep/deeper");
    for (int i = 0; i < 3000; ++i) {
        std::ofstream(tree / "top/deep" / ("f" + std::to_string(i)));
        std::ofstream(tree / "top/deep/deeper" / ("g" + std::to_string(i)));
    }
    const fs::path deep = fs::canonical(tree / "top/deep");

    // Ctrl+C is pressed once the walk is seen inside the folder; on a busy machine the walk may
    // leave it first, and that run is a complete scan. Another run then tries again.
    bool interrupted = false;
    for (int attempt = 0; attempt < 5 && !interrupted; ++attempt) {
        const test::TempDir catalogDir;
        test::CliResult run;
        {
            const CtrlCInside ctrlC(deep);
            run = test::RunCliAsIs({"--catalog", catalogDir.path(), "scan-folder", tree.path()});
        }
        if (run.status == 0) continue;
        interrupted = true;
        EXPECT_EQ(run.status, 3) << run.err;
        EXPECT_NE(run.err.find("pelko-cli: scan interrupted; keeping what was read\n"), std::string::npos)
            << run.err;
        ASSERT_FALSE(run.out.empty()) << "the scan is filed";
        const fs::path zip = run.out.substr(0, run.out.size() - 1);
        test::RecordingLog log;
        catalog::DiscStore store(catalogDir.path(), log);
        const auto cd = store.OpenPath(zip);
        ASSERT_NE(cd, nullptr);
        ASSERT_EQ(cd->Subdirs().size(), 1u);
        const catalog::CDir& top = *cd->Subdirs()[0];
        ASSERT_EQ(top.Files().size(), 1u) << "read before the interrupt";
        EXPECT_LT(FilesIn(*cd), 6001u);
    }
    ::unsetenv("PELKO_SETTINGS_FILE");
    EXPECT_TRUE(interrupted) << "no run was reported as interrupted";
}

}  // namespace
}  // namespace pelko::cli
