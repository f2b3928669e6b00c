// The scanning window fed by a scan worker on another thread while the window's thread runs its
// event loop: what it ends up showing, cancelling, and the keys and close requests it ignores.
#include "ui/dialogs/ScanningWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

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

// Writes a w x h BMP and returns its path.
std::filesystem::path WritePicture(const test::TempDir& dir, std::string_view name, int width, int height) {
    const std::vector<std::uint8_t> bytes = test::BmpOf(test::MakePicture(width, height, [](int x, int) {
        return x < 10 ? test::Rgb{200, 0, 0} : test::Rgb{0, 0, 200};
    }));
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
    const std::filesystem::path last = WritePicture(dir, "b.bmp", 20, 40);
    constexpr int kCalls = 20000;

    const struct {
        const char* name;
        bool endWithPicture;
    } rows[] = {{"ends-with-folder", false}, {"ends-with-picture", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScanningWindow window;
        window.show();
        const bool endWithPicture = row.endWithPicture;
        RunWorker(window, [&first, &last, endWithPicture](scan::CScanProgress& progress) {
            for (int i = 0; i < kCalls; ++i) {
                progress.ShowFolderPath(FolderPath(i));
                if (i % 50 == 0) progress.ShowPicture(Local("/media/光盘/图片.jpg"), i % 100 ? last : first);
            }
            if (endWithPicture) progress.ShowPicture(Local("/media/光盘/最后.bmp"), last);
        });

        EXPECT_EQ(window.PathField()->isVisible(), !endWithPicture);
        EXPECT_EQ(window.FileHint()->isVisible(), !endWithPicture);
        EXPECT_EQ(window.PictureField()->isVisible(), endWithPicture);
        EXPECT_EQ(window.PictureHint()->isVisible(), endWithPicture);
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
    window.show();
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
    EXPECT_TRUE(window.PictureField()->isVisible());
    EXPECT_TRUE(window.PictureField()->pixmap().isNull());
    EXPECT_TRUE(window.ShownPicture().empty());
}

TEST(ScanningWindowThreads, CancelStopsTheWorkerOnceAndOnlyCancelDoes) {
    ScanningWindow window;
    window.show();
    QSignalSpy cancels(&window, &ScanningWindow::cancelRequested);
    EXPECT_EQ(window.windowTitle(), Tr("读取信息..."));
    EXPECT_EQ(window.objectName(), QStringLiteral("ScanningWindow"));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    // Escape and the dialog's own reject neither close the window nor stop the scan.
    QTest::keyClick(&window, Qt::Key_Escape);
    window.reject();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.IsCancelled());

    std::atomic<int> polls{0};
    std::thread worker([&window, &polls] {
        while (!window.IsCancelled()) {
            window.ShowFolderPath("/media/disc/a");
            ++polls;
        }
    });
    while (polls.load() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(window.CancelButton()->text(), Tr("取消"));
    window.CancelButton()->click();
    worker.join();  // ends only once the worker sees the cancel
    EXPECT_TRUE(window.IsCancelled());
    EXPECT_FALSE(window.CancelButton()->isEnabled());
    window.Cancel();
    EXPECT_EQ(cancels.count(), 1);
    EXPECT_TRUE(window.isVisible());
}

TEST(ScanningWindowThreads, ACloseRequestIsACancelAndLeavesTheWindowUp) {
    ScanningWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy cancels(&window, &ScanningWindow::cancelRequested);

    window.windowHandle()->close();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.IsCancelled());
    EXPECT_EQ(cancels.count(), 1);

    window.hide();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace pelko::ui
