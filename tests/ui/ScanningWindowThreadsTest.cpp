// The scanning window fed by a scan worker on another thread while the window's thread runs its
// event loop: what it ends up showing, cancelling, and the keys and close requests it ignores.
// The window is never put on screen here: painting runs Qt's own drawing threads, which the
// ThreadSanitizer build of these tests cannot see into. What it would show is asked with
// isVisibleTo. Keys and close requests, which need the window on screen, are tried in
// ScanDialogsTest.
#include "ui/dialogs/ScanningWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/Pictures.h"
#include "support/TempDir.h"
#include "text/Codec.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using text::Local;

// Writes a w x h picture, red on the left and blue on the right, as JPEG or BMP; returns its path.
std::filesystem::path WritePicture(const test::TempDir& dir, std::string_view name, int width, int height) {
    const imaging::Image picture = test::MakePicture(width, height, [](int x, int) {
        return x < 10 ? test::Rgb{200, 0, 0} : test::Rgb{0, 0, 200};
    });
    const std::vector<std::uint8_t> bytes = name.ends_with(".jpg") ? test::JpegOf(picture) : test::BmpOf(picture);
    return dir.WriteFile(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Runs `work` on a worker thread while this thread turns the event loop, then gives the window
// one refresh period more to catch up.
template <typename Work>
void RunWorker(ScanningWindow& window, Work work) {
    std::atomic<bool> done{false};
    std::thread worker([&window, &done, &work] {
        work(static_cast<scan::CScanProgress&>(window));
        done = true;
    });
    while (!done.load()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 4 * ScanningWindow::kRefreshMilliseconds) QCoreApplication::processEvents();
}

std::string FolderPath(int i) { return Local("/media/光盘/文件夹") + std::to_string(i); }

TEST(ScanningWindowThreads, EndsShowingTheLastFolderOrPictureTheWorkerReported) {
    test::TempDir dir;
    const std::filesystem::path first = WritePicture(dir, "a.bmp", 40, 20);
    const std::filesystem::path last = WritePicture(dir, "b.jpg", 20, 40);  // thumbnails are mostly JPEG
    constexpr int kCalls = 20000;

    const struct {
        const char* name;
        bool endWithPicture;
    } rows[] = {{"ends-with-folder", false}, {"ends-with-picture", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScanningWindow window;
        const bool endWithPicture = row.endWithPicture;
        RunWorker(window, [&first, &last, endWithPicture](scan::CScanProgress& progress) {
            for (int i = 0; i < kCalls; ++i) {
                progress.ShowFolderPath(FolderPath(i));
                if (i % 50 == 0) progress.ShowPicture(Local("/media/光盘/图片.jpg"), i % 100 ? last : first);
            }
            if (endWithPicture) progress.ShowPicture(Local("/media/光盘/最后.bmp"), last);
        });

        EXPECT_EQ(window.PathField()->isVisibleTo(&window), !endWithPicture);
        EXPECT_EQ(window.FileHint()->isVisibleTo(&window), !endWithPicture);
        EXPECT_EQ(window.PictureField()->isVisibleTo(&window), endWithPicture);
        EXPECT_EQ(window.PictureHint()->isVisibleTo(&window), endWithPicture);
        if (endWithPicture) {
            EXPECT_EQ(window.ShownPicture(), last);
            const QPixmap shown = window.PictureField()->pixmap();
            ASSERT_FALSE(shown.isNull());
            // A 20 x 40 picture fitted to the box keeps its shape and fills its height.
            EXPECT_LE(shown.width(), ScanningWindow::kPictureWidth);
            EXPECT_LE(shown.height(), ScanningWindow::kPictureHeight);
            EXPECT_NEAR(shown.height(), 2 * shown.width(), 2);
            EXPECT_GE(shown.height(), ScanningWindow::kPictureHeight - 10);
            EXPECT_EQ(window.PictureField()->toolTip(), Tr("/media/光盘/最后.bmp"));
        } else {
            EXPECT_EQ(window.ShownPath(), ToQt(FolderPath(kCalls - 1)));
            EXPECT_EQ(window.PathField()->text(), ToQt(FolderPath(kCalls - 1)));
        }
    }
}

TEST(ScanningWindowThreads, ALongPathIsShortenedInTheMiddleAndAMissingThumbnailLeavesTheBoxEmpty) {
    ScanningWindow window;
    std::string longPath = "/media/disc";
    for (int i = 0; i < 40; ++i) longPath += Local("/很长的文件夹名称") + std::to_string(i);
    scan::PictureAreaSize area;
    RunWorker(window, [&longPath, &area](scan::CScanProgress& progress) {
        area = progress.PictureArea();
        progress.ShowFolderPath(longPath);
    });
    EXPECT_EQ(area.width, ScanningWindow::kPictureWidth);
    EXPECT_EQ(area.height, ScanningWindow::kPictureHeight);
    EXPECT_EQ(window.ShownPath(), ToQt(longPath));
    const QString shown = window.PathField()->text();
    EXPECT_LT(shown.size(), window.ShownPath().size());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/media/"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("39"))) << shown.toStdString();

    RunWorker(window, [](scan::CScanProgress& progress) {
        progress.ShowPicture("/media/disc/x.jpg", "/nonexistent/thumbnail.jpg");
    });
    EXPECT_TRUE(window.PictureField()->isVisibleTo(&window));
    EXPECT_TRUE(window.PictureField()->pixmap().isNull());
    EXPECT_TRUE(window.ShownPicture().empty());
}

TEST(ScanningWindowThreads, CancelStopsTheWorkerPollingIt) {
    ScanningWindow window;
    QSignalSpy cancels(&window, &ScanningWindow::cancelRequested);
    std::atomic<int> polls{0};
    std::thread worker([&window, &polls] {
        while (!window.IsCancelled()) {
            window.ShowFolderPath("/media/disc/a");
            ++polls;
        }
    });
    while (polls.load() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(window.IsCancelled());
    window.CancelButton()->click();
    worker.join();  // ends only once the worker sees the cancel
    EXPECT_TRUE(window.IsCancelled());
    EXPECT_FALSE(window.CancelButton()->isEnabled());
    EXPECT_EQ(cancels.count(), 1);
}

}  // namespace
}  // namespace pelko::ui
