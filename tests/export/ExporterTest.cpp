#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <set>

#include "ExportFixtures.h"
#include "export/CTransHtmlThread.h"
#include "export/ExportPaths.h"
#include "export/Exporter.h"
#include "export/PageBuilder.h"
#include "support/TempDir.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

// When an export is stopped: as a scan object's file is announced, or halfway through the
// listing of its contents.
enum class StopMoment { Announced, MidListing };

// Records what an export reports; can clear the running flag while a given file is being made.
class RecordingSink final : public ExportSink {
public:
    void ShowPath(const fs::path& file) override {
        shown.push_back(file);
        if (stopAt && file == *stopAt && stopMoment == StopMoment::Announced) running->store(false);
    }
    void SetProgress(int percent) override {
        progress.push_back(percent);
        // Progress above 0 after the announcement comes from inside that file's listing.
        if (stopAt && !shown.empty() && shown.back() == *stopAt && stopMoment == StopMoment::MidListing &&
            percent > 0)
            running->store(false);
    }
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
    StopMoment stopMoment = StopMoment::Announced;
    std::atomic<bool>* running = nullptr;
    std::mutex mutex;
    std::condition_variable done;
};

// Holds the export worker at its first progress report inside a listing until the test lets
// it go on; what it records is read once the worker has been joined.
class PausingSink final : public ExportSink {
public:
    void ShowPath(const fs::path& file) override { shown.push_back(file); }
    void SetProgress(int) override {
        if (shown.empty() || held) return;
        held = true;
        inListing.set_value();
        resume.get_future().wait();
    }
    void FileWritten(const fs::path& file) override { written.push_back(file); }
    void ExportFinished(ExportEnd end) override { finished.push_back(end); }

    std::promise<void> inListing;
    std::promise<void> resume;
    bool held = false;
    std::vector<fs::path> shown;
    std::vector<fs::path> written;
    std::vector<ExportEnd> finished;
};

// Every entry loads as Disc 12, except those named "broken", which cannot be loaded.
std::unique_ptr<catalog::CCD> LoadDisc12(const catalog::CDiskInfo& entry) {
    if (entry.m_strName == "broken") return nullptr;
    return test::Disc12();
}

// A scan object of 30 files, whose listing reports its progress several times.
std::unique_ptr<catalog::CCD> LoadThirtyFiles(const catalog::CDiskInfo&) {
    auto cd = std::make_unique<catalog::CCD>();
    for (int i = 0; i < 30; ++i) test::AddFile(*cd, "f" + std::to_string(100 + i));
    return cd;
}

// The regular files below a folder, by path relative to it.
std::set<std::string> FilesBelow(const fs::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).string());
    return files;
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

// Whenever the stop comes while the third scan object is being made, its file is left as it
// was, nothing of it is written (no partial file, no temporary), and nothing after it either.
TEST_F(ExporterTest, StoppingDuringTheThirdScanObjectKeepsTheFirstTwoAndWritesNoThird) {
    // New entries go before the first lower name, so these are stored D, C, B, A.
    for (const char* name : {"A", "B", "C", "D"}) catalog.Entry("Games", name);
    ASSERT_EQ(catalog.Category("Games").Entries()[2]->m_strName, "B");
    for (const ExportFormat format : {ExportFormat::Text, ExportFormat::Html}) {
        for (const StopMoment moment : {StopMoment::Announced, StopMoment::MidListing}) {
            const std::string ext = format == ExportFormat::Text ? ".txt" : ".htm";
            SCOPED_TRACE(ext + (moment == StopMoment::Announced ? " announced" : " mid-listing"));
            test::TempDir out;
            CreateCategoryFolders(out.path(), catalog.root);
            const fs::path third = out / ("Pelko/Games/B" + ext);
            out.WriteFile("Pelko/Games/B" + ext, "older export");
            std::atomic<bool> on{true};
            RecordingSink stopping;
            stopping.running = &on;
            stopping.stopAt = third;
            stopping.stopMoment = moment;
            options.format = format;
            Exporter exporter(out.path(), LoadThirtyFiles, catalog.log, options, on, stopping);

            EXPECT_EQ(exporter.Export(&catalog.root), ExportEnd::Stopped);
            const fs::path first = out / ("Pelko/Games/D" + ext);
            const fs::path second = out / ("Pelko/Games/C" + ext);
            EXPECT_EQ(stopping.written, (std::vector<fs::path>{first, second}));
            EXPECT_EQ(stopping.shown, (std::vector<fs::path>{first, second, third}));
            if (moment == StopMoment::MidListing) {
                ASSERT_FALSE(stopping.progress.empty());
                EXPECT_GT(stopping.progress.back(), 0) << "the stop came inside the listing";
            }
            EXPECT_EQ(test::ReadFile(third), "older export");
            EXPECT_EQ(
                FilesBelow(out.path()),
                (std::set<std::string>{"Pelko/Games/D" + ext, "Pelko/Games/C" + ext, "Pelko/Games/B" + ext}));
        }
    }
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

    // Stopped from this thread while the worker is inside B's listing: B is not written, and
    // no file is left anywhere but the disc file and its search index.
    fs::remove_all(dir / "Pelko");
    PausingSink paused;
    CTransHtmlThread worker(dir.path(), catalog.log, options, &catalog.root, paused);
    ASSERT_TRUE(worker.Start());
    paused.inListing.get_future().wait();
    worker.Stop();
    paused.resume.set_value();
    worker.Wait();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.End(), ExportEnd::Stopped);
    EXPECT_EQ(paused.finished, std::vector<ExportEnd>{ExportEnd::Stopped});
    EXPECT_EQ(paused.shown, std::vector<fs::path>{dir / "Pelko/B.htm"});
    EXPECT_TRUE(paused.written.empty());
    for (const std::string& file : FilesBelow(dir.path()))
        EXPECT_TRUE(file.starts_with("Disk/") || file.starts_with("Index/"))
            << file << " was written after the stop";
}

}  // namespace
}  // namespace pelko::exporting
