#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "ExportFixtures.h"
#include "export/CTransHtmlThread.h"
#include "export/ExportPaths.h"
#include "export/Exporter.h"
#include "export/PageBuilder.h"
#include "support/TempDir.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

// Records what an export reports; can clear the running flag when a given file is announced.
class RecordingSink final : public ExportSink {
public:
    void ShowPath(const fs::path& file) override {
        shown.push_back(file);
        if (stopAt && file == *stopAt) running->store(false);
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void FileWritten(const fs::path& file) override { written.push_back(file); }
    void ExportFinished(ExportEnd end) override {
        const std::lock_guard lock(mutex);
        finished.push_back(end);
        done.notify_all();
    }
    void WaitFinished() {
        std::unique_lock lock(mutex);
        done.wait(lock, [this] { return !finished.empty(); });
    }

    std::vector<fs::path> shown;
    std::vector<int> progress;
    std::vector<fs::path> written;
    std::vector<ExportEnd> finished;
    std::optional<fs::path> stopAt;
    std::atomic<bool>* running = nullptr;
    std::mutex mutex;
    std::condition_variable done;
};

// Every entry loads as Disc 12, except those named "broken", which cannot be loaded.
std::unique_ptr<catalog::CCD> LoadDisc12(const catalog::CDiskInfo& entry) {
    if (entry.m_strName == "broken") return nullptr;
    return test::Disc12();
}

class ExporterTest : public ::testing::Test {
protected:
    ExporterTest() { sink.running = &running; }

    ExportEnd Run(ExportTarget target, ExportFormat format = ExportFormat::Text) {
        options.format = format;
        Exporter exporter(dir.path(), LoadDisc12, catalog.log, options, running, sink);
        return exporter.Export(target);
    }

    test::TestCatalog catalog;
    test::TempDir dir;
    ExportOptions options;
    std::atomic<bool> running{true};
    RecordingSink sink;
};

TEST_F(ExporterTest, ACategoryExportWritesEveryScanObjectIntoTheMirroredFolders) {
    const catalog::CDiskInfo& one = catalog.Entry("", "Disc 1");
    catalog.Entry("", "broken");
    const catalog::CDiskInfo& two = catalog.Entry("Software\\Tools", "Disc 2");
    CreateCategoryFolders(dir.path(), catalog.root);

    EXPECT_EQ(Run(&catalog.root), ExportEnd::Finished);
    const fs::path first = dir / "Pelko/Disc 1.txt";
    const fs::path second = dir / "Pelko/Software/Tools/Disc 2.txt";
    EXPECT_EQ(sink.written, (std::vector<fs::path>{first, second}));
    EXPECT_EQ(sink.shown, sink.written);
    const std::atomic<bool> on{true};
    EXPECT_EQ(test::ReadFile(first), BuildEntryFile(one, *test::Disc12(), options, on, nullptr).value());
    EXPECT_EQ(test::ReadFile(second).rfind(text::Local("Pelko\\Software\\Tools\\Disc 2\r\n\r\n"), 0), 0u);
    EXPECT_FALSE(fs::exists(dir / "Pelko/broken.txt"));

    // One scan object alone, as a page; the folder is made when missing.
    fs::remove_all(dir / "Pelko");
    EXPECT_EQ(Run(&two, ExportFormat::Html), ExportEnd::Finished);
    EXPECT_TRUE(fs::exists(dir / "Pelko/Software/Tools/Disc 2.htm"));
    EXPECT_FALSE(fs::exists(dir / "Pelko/Disc 1.htm"));
}

TEST_F(ExporterTest, StoppingDuringTheThirdScanObjectKeepsTheFirstTwoAndWritesNoThird) {
    // New entries go before the first lower name, so these are stored D, C, B, A.
    for (const char* name : {"A", "B", "C", "D"}) catalog.Entry("Games", name);
    ASSERT_EQ(catalog.Category("Games").Entries()[2]->m_strName, "B");
    CreateCategoryFolders(dir.path(), catalog.root);
    const fs::path third = dir / "Pelko/Games/B.txt";
    dir.WriteFile("Pelko/Games/B.txt", "older export");
    sink.stopAt = third;

    EXPECT_EQ(Run(&catalog.root), ExportEnd::Stopped);
    EXPECT_EQ(sink.written, (std::vector<fs::path>{dir / "Pelko/Games/D.txt", dir / "Pelko/Games/C.txt"}));
    EXPECT_TRUE(fs::exists(dir / "Pelko/Games/D.txt"));
    EXPECT_TRUE(fs::exists(dir / "Pelko/Games/C.txt"));
    EXPECT_EQ(test::ReadFile(third), "older export") << "the stopped scan object's file is not touched";
    EXPECT_FALSE(fs::exists(dir / "Pelko/Games/A.txt"));
    for (const auto& entry : fs::directory_iterator(dir / "Pelko/Games"))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(ExporterTest, AFileThatCannotBeWrittenEndsTheExportWithAnErrorLine) {
    for (const char* name : {"A", "B", "C"}) catalog.Entry("", name);  // stored C, B, A
    dir.MakeFolder("Pelko/B.txt");                                     // a folder where the file should go
    EXPECT_EQ(Run(&catalog.root), ExportEnd::CannotWrite);
    EXPECT_EQ(sink.written, std::vector<fs::path>{dir / "Pelko/C.txt"});
    EXPECT_FALSE(fs::exists(dir / "Pelko/A.txt"));
    const auto lines = catalog.log.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].first, catalog::MessageKind::Error);
    EXPECT_NE(lines[0].second.find(text::FromUtf8((dir / "Pelko/B.txt").native())), std::string::npos);
}

TEST_F(ExporterTest, HostileNamesStayInsideTheRootCategoryFolder) {
    catalog.Entry("..", "..");
    catalog.Entry("..\\..", "../../escaped");
    catalog.Entry("", "");
    EXPECT_EQ(Run(&catalog.root), ExportEnd::Finished);
    ASSERT_EQ(sink.written.size(), 3u);
    const fs::path inside = fs::weakly_canonical(dir / "Pelko");
    for (const fs::path& file : sink.written) {
        const fs::path real = fs::weakly_canonical(file);
        EXPECT_EQ(real.string().rfind(inside.string() + "/", 0), 0u) << real;
        EXPECT_TRUE(fs::exists(real));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "only Pelko/";
}

TEST_F(ExporterTest, WithoutProgressOnlyFinishedFilesAreReported) {
    catalog::CDiskInfo& entry = catalog.Entry("", "Many");
    options.showProgress = false;
    Exporter exporter(
        dir.path(),
        [](const catalog::CDiskInfo&) {
            auto cd = std::make_unique<catalog::CCD>();
            for (int i = 0; i < 30; ++i) test::AddFile(*cd, "f" + std::to_string(100 + i));
            return cd;
        },
        catalog.log, options, running, sink);
    EXPECT_EQ(exporter.Export(&entry), ExportEnd::Finished);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(sink.progress.empty());
    EXPECT_EQ(sink.written.size(), 1u);

    options.showProgress = true;
    EXPECT_EQ(exporter.Export(&entry), ExportEnd::Finished);
    EXPECT_EQ(sink.progress, (std::vector<int>{0, 16, 33, 50, 66, 83}));
}

TEST(TransHtmlThread, RunsOnItsOwnThreadAndCanBeStoppedThere) {
    test::TestCatalog catalog;
    for (const char* name : {"A", "B", "C"}) catalog.Entry("", name);
    test::TempDir dir;
    // Only B has a disc file; the others are skipped.
    catalog::DiscStore discs(dir.path(), catalog.log);
    std::unique_ptr<catalog::CCD> disc = test::Disc12();
    disc->m_strVolumeLabel = "B";
    disc->m_dwVolumeSerial = 7;
    disc->m_bModified = true;
    fs::create_directories(discs.DiskFolder());
    ASSERT_TRUE(discs.Release(disc));
    catalog::CDiskInfo& b = *catalog.root.FindEntry("B");
    b.m_strVolumeLabel = "B";
    b.m_dwVolumeSerial = 7;
    ExportOptions options;
    options.format = ExportFormat::Html;

    RecordingSink sink;
    {
        CTransHtmlThread worker(dir.path(), catalog.log, options, &catalog.root, sink);
        ASSERT_TRUE(worker.Start());
        sink.WaitFinished();
        worker.Wait();
        EXPECT_FALSE(worker.IsRunning());
        EXPECT_EQ(worker.End(), ExportEnd::Finished);
    }
    EXPECT_EQ(sink.finished, std::vector<ExportEnd>{ExportEnd::Finished});
    EXPECT_EQ(sink.written, std::vector<fs::path>{dir / "Pelko/B.htm"});
    EXPECT_NE(test::ReadFile(dir / "Pelko/B.htm").find("setup.exe"), std::string::npos);

    // Stopped before it starts: it ends at its first check and writes nothing.
    RecordingSink stopped;
    CTransHtmlThread worker(dir.path(), catalog.log, options, &catalog.root, stopped);
    ASSERT_TRUE(worker.Start());
    worker.Stop();
    stopped.WaitFinished();
    worker.Wait();
    EXPECT_EQ(stopped.finished.size(), 1u);
}

}  // namespace
}  // namespace pelko::exporting
