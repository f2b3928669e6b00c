#include "cli/ScanProgressLine.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <sstream>
#include <thread>

#include "cli/LiveLine.h"
#include "cli/TerminalLog.h"
#include "cli/TerminalWidth.h"
#include "text/Codec.h"

namespace pelko::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kErase = "\x1b[K";

// A pseudo-terminal of a given width, for the line to ask; what is drawn goes to a string.
class NarrowTerminal {
public:
    explicit NarrowTerminal(int columns) {
        struct winsize size {};
        size.ws_col = static_cast<unsigned short>(columns);
        size.ws_row = 24;
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, &size) != 0) m_master = m_slave = -1;
    }
    ~NarrowTerminal() {
        if (m_master >= 0) ::close(m_master);
        if (m_slave >= 0) ::close(m_slave);
    }
    int fd() const { return m_slave; }

private:
    int m_master = -1;
    int m_slave = -1;
};

class NoCancel final : public scan::CScanProgress {
public:
    bool IsCancelled() override { return false; }
    void ShowFolderPath(std::string_view) override {}
};

// The texts drawn: what stands between a "\r" and the erase that ends each drawing.
std::vector<std::string> Drawings(const std::string& out) {
    std::vector<std::string> drawn;
    for (std::size_t at = out.find('\r'); at != std::string::npos; at = out.find('\r', at + 1)) {
        const std::size_t end = out.find(kErase, at);
        if (end != std::string::npos && end > at + 1) drawn.push_back(out.substr(at + 1, end - at - 1));
    }
    return drawn;
}

TEST(ScanProgressLineTest, StatusTextFitsTheWidth) {
    const ScanCounts counts{12, 340, 1536 * 1024};
    const std::string path = "/media/cdrom/光盘资料/Setup Files/说明文件.txt";
    EXPECT_EQ(ScanProgressText(counts, path, 200), "12 folders, 340 files, 1.5 MiB  " + path);
    EXPECT_EQ(ScanProgressText(counts, path, 78), "12 folders, 340 files, 1.5 MiB  " + path);
    EXPECT_EQ(ScanProgressText({1, 1, 1023}, "/a", 80), "1 folder, 1 file, 1023 B  /a");
    EXPECT_EQ(ScanProgressText({}, "", 80), "0 folders, 0 files, 0 B");
    EXPECT_EQ(ScanProgressText({0, 0, 5ull << 40}, "", 80), "0 folders, 0 files, 5.0 TiB");
    for (const int columns : {77, 60, 45, 40, 20, 5, 0}) {
        SCOPED_TRACE(columns);
        const std::string line = ScanProgressText(counts, path, columns);
        EXPECT_LE(DisplayColumns(line), columns);
        if (columns >= 45 && columns < 78) {  // the whole line takes 78
            EXPECT_EQ(line.rfind("12 folders, 340 files, 1.5 MiB  /me", 0), 0u) << line;
            EXPECT_NE(line.find("...") , std::string::npos) << line;
            EXPECT_TRUE(line.ends_with(".txt")) << line;
        }
    }
    EXPECT_EQ(ScanProgressText(counts, path, 35), "12 folders, 340 files, 1.5 MiB")
        << "too narrow for a path: the counts alone";
}

// Ticks draw at most every 100 ms and only what changed; a message erases the line first and the
// next tick draws it again; after Finish the line is gone and stays gone.
TEST(ScanProgressLineTest, DrawsThrottledMakesRoomForMessagesAndClearsAtTheEnd) {
    const NarrowTerminal terminal(60);
    ASSERT_GE(terminal.fd(), 0);
    std::ostringstream out;
    LiveLine line(out, terminal.fd());
    TerminalLog log(out);
    log.SetLiveLine(&line);
    NoCancel inner;
    ScanProgressLine progress(inner, line);
    const Clock::time_point t0 = Clock::now();

    progress.ShowFolderPath(text::FromUtf8("/media/cd/一个很长很长的文件夹名字/再深一层"));
    progress.FileRecorded(2048);
    progress.Tick(t0);
    progress.FileRecorded(1);
    progress.Tick(t0 + 50ms);  // too soon
    EXPECT_EQ(Drawings(out.str()).size(), 1u);
    progress.Tick(t0 + 100ms);
    progress.Tick(t0 + 250ms);  // nothing new
    std::vector<std::string> drawn = Drawings(out.str());
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].rfind("1 folder, 1 file, 2.0 KiB  /media", 0), 0u) << drawn[0];
    EXPECT_EQ(drawn[1].rfind("1 folder, 2 files, 2.0 KiB  /media", 0), 0u) << drawn[1];
    for (const std::string& d : drawn) {
        EXPECT_LE(DisplayColumns(d), 59) << "the last column stays free: " << d;
        EXPECT_NE(d.find("..."), std::string::npos) << "the path is shortened: " << d;
    }
    EXPECT_TRUE(drawn[1].ends_with("再深一层")) << drawn[1];

    log.Post(catalog::MessageKind::Error, text::FromUtf8("读不出来"));
    EXPECT_TRUE(out.str().ends_with("\r\x1b[K" + text::ToUtf8(catalog::MessagePrefix(catalog::MessageKind::Error)) +
                                    "读不出来\n"))
        << "the status is erased before the message";
    progress.Tick(t0 + 400ms);
    EXPECT_EQ(Drawings(out.str()).size(), 3u) << "drawn again below the message";

    progress.Finish();
    EXPECT_TRUE(out.str().ends_with("\r\x1b[K"));
    const std::size_t finished = out.str().size();
    progress.FileRecorded(5);
    progress.Tick(t0 + 1s);
    log.Post(catalog::MessageKind::Hint, "done");
    EXPECT_EQ(out.str().substr(finished), text::ToUtf8(catalog::MessagePrefix(catalog::MessageKind::Hint)) + "done\n")
        << "nothing drawn or erased after the end";
}

// The walk reports and logs on its own thread while the command's thread ticks: every message
// comes out whole on a line of its own, never inside the status.
TEST(ScanProgressLineThreads, WorkerReportsWhileTheCommandThreadDraws) {
    const NarrowTerminal terminal(60);
    ASSERT_GE(terminal.fd(), 0);
    std::ostringstream out;
    LiveLine line(out, terminal.fd());
    TerminalLog log(out);
    log.SetLiveLine(&line);
    NoCancel inner;
    ScanProgressLine progress(inner, line);

    constexpr int kFolders = 2000;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        for (int i = 0; i < kFolders; ++i) {
            progress.ShowFolderPath("/media/cd/folder " + std::to_string(i));
            progress.FileRecorded(100);
            if (i % 100 == 0) log.Post(catalog::MessageKind::Warning, "message " + std::to_string(i));
        }
        done = true;
    });
    Clock::time_point now = Clock::now();
    while (!done) {
        now += 100ms;  // a tick as often as the command thread's, with time running fast
        progress.Tick(now);
        std::this_thread::yield();
    }
    worker.join();
    progress.Tick(now + 100ms);
    progress.Finish();
    log.SetLiveLine(nullptr);

    const std::string written = out.str();
    const std::string prefix = text::ToUtf8(catalog::MessagePrefix(catalog::MessageKind::Warning));
    int messages = 0;
    for (std::size_t start = 0, end; (end = written.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string text = written.substr(start, end - start);
        // A message line may only follow an erased status.
        const std::size_t erased = text.rfind(kErase);
        const std::string rest = erased == std::string::npos ? text : text.substr(erased + kErase.size());
        ASSERT_EQ(rest.rfind(prefix + "message ", 0), 0u) << text;
        ++messages;
    }
    EXPECT_EQ(messages, kFolders / 100);
    const std::vector<std::string> drawn = Drawings(out.str());
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().rfind("2000 folders, 2000 files, 195.3 KiB", 0), 0u) << drawn.back();
    EXPECT_TRUE(out.str().ends_with("\r\x1b[K")) << "cleared at the end";
}

}  // namespace
}  // namespace pelko::cli
