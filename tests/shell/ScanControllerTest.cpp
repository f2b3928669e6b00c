#include "shell/ScanController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "platform/LocalVolume.h"
#include "scan/CScanProgress.h"
#include "scan/StandardExtras.h"
#include "shell/BusyState.h"
#include "support/FakeDrivePort.h"
#include "support/RecordingLog.h"
#include "support/ScanSupport.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::CCD;
using test::GateSink;
using test::TaskQueue;
using catalog::MessageKind;
using namespace std::chrono_literals;

class ScanControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.LoadCatalog());
        top = doc.Root()->AddNewSubcategory(text::Local("测试"), log, ui);
        ASSERT_NE(top, nullptr);
        dir.WriteFile("src/r.txt", "r");
        dir.WriteFile("src/a/x.txt", "xx");
        dir.WriteFile("src/b/y.txt", "yyy");
    }

    std::string Root() const { return text::FromUtf8((dir / "src").native()); }

    // A new scan of the folder "src", filed under `place` when it ends.
    ScanRequest FolderScan(NewObjectPlace place) {
        ScanRequest request;
        request.volume = std::make_unique<platform::LocalVolume>();
        request.cd = std::make_unique<CCD>();
        request.cd->m_nKind = CCD::kKindFixedDir;
        request.cd->m_strVolumeLabel = "src";
        request.cd->m_dwVolumeSerial = 7;
        request.cd->m_strFolderPath = Root();
        request.cd->m_strName = Root();
        request.placeNewObject = [place](const CCD&) { return place; };
        return request;
    }
    NewObjectPlace IntoTop() { return {CategoryPath::Of(*top), "src", ""}; }

    // Starts `request` and, once the posted end has run, gives what the run reported.
    std::optional<ScanOutcome> RunToEnd(ScanRequest request, GateSink& sink,
                                        const std::function<void()>& whileHeld = {}) {
        std::optional<ScanOutcome> outcome;
        if (!controller.Start(std::move(request), sink, [&](const ScanOutcome& o) { outcome = o; }))
            return {};
        if (whileHeld) {
            EXPECT_TRUE(sink.WaitUntilHeld());
            whileHeld();
        }
        sink.Open();
        EXPECT_TRUE(queue.RunNext());
        return outcome;
    }

    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{dir.path(), log, ui};
    catalog::DiscStore discs{dir.path(), log};
    BusyState busy;
    TaskQueue queue;
    test::FakeDrivePort drives;
    ScanController controller{
        busy, {doc, discs, log, ui}, [this](std::function<void()> t) { queue.Post(std::move(t)); }, &drives};
    catalog::CCategory* top = nullptr;
};

TEST_F(ScanControllerTest, HoldsTheBusyStateForTheRunAndGivesItBackBeforeReporting) {
    GateSink sink(Root(), "src");
    bool idleWhenReported = false;
    ASSERT_TRUE(controller.Start(FolderScan(IntoTop()), sink,
                                 [&](const ScanOutcome&) { idleWhenReported = busy.IsIdle(); }));
    ASSERT_TRUE(sink.WaitUntilHeld());
    EXPECT_TRUE(busy.IsScanning());

    // A second scan is refused with the running scan's kind; it must not disturb the first.
    GateSink other(Root(), "");
    EXPECT_FALSE(controller.Start(FolderScan(IntoTop()), other, {}));
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error),
              std::vector<std::string>{"正在读取一个文件夹中的信息，不能扫描新的光盘"});
    EXPECT_TRUE(busy.IsScanning());

    sink.Open();
    ASSERT_TRUE(queue.RunNext());
    EXPECT_TRUE(idleWhenReported);
    EXPECT_FALSE(controller.IsScanning());
    const catalog::CDiskInfo* entry = top->FindEntry("src");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_nFileCount, 3);
    EXPECT_TRUE(fs::exists(discs.ZipPath("src", 7)));
}

// The destination chosen before the walk is looked up again at its end: a category that is gone
// from where it was is reported, and nothing is filed or written.
TEST_F(ScanControllerTest, CategoryDeletedOrMovedDuringTheWalkIsNotUsed) {
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"deleted", [this] { doc.Root()->RemoveSubcategory(top); }},
        {"moved",
         [this] {
             catalog::CCategory* other = doc.Root()->AddNewSubcategory("other", log, ui);
             ASSERT_TRUE(doc.Root()->MoveSubcategoryTo(top, *other, log));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!doc.Root()->HasSubcategory(text::Local("测试")))
            top = doc.Root()->AddNewSubcategory(text::Local("测试"), log, ui);
        GateSink sink(Root(), "src");
        const std::optional<ScanOutcome> outcome = RunToEnd(FolderScan(IntoTop()), sink, c.change);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->end, ScanEnd::CategoryGone);
        EXPECT_EQ(doc.Root()->FindEntryByFolderPath(Root()), nullptr);
        EXPECT_FALSE(fs::exists(discs.ZipPath("src", 7)));
        EXPECT_THAT(
            log.Utf8Lines(MessageKind::Error),
            testing::Contains("类别 [ 测试 ] 在扫描期间已被删除或移动，这次扫描的结果没有加入光盘库"));
        EXPECT_TRUE(busy.IsIdle());
        doc.Root()->RemoveSubcategory(doc.Root()->FindSubcategory("other"));
    }
}

TEST_F(ScanControllerTest, RescanOfAnEntryDeletedDuringTheWalkKeepsItsStoredFile) {
    GateSink first(Root(), "");
    ASSERT_TRUE(RunToEnd(FolderScan(IntoTop()), first));
    catalog::CDiskInfo* entry = top->FindEntry("src");
    ASSERT_NE(entry, nullptr);
    const std::string stored = test::ReadFile(discs.ZipPath("src", 7));
    dir.WriteFile("src/new.txt", "n");

    ScanRequest again = FolderScan(IntoTop());
    again.cd = discs.Open(*entry);
    ASSERT_NE(again.cd, nullptr);
    again.cd->m_strName = Root();
    again.rescanOf = entry;
    GateSink sink(Root(), "src");
    const std::optional<ScanOutcome> outcome =
        RunToEnd(std::move(again), sink, [&] { top->RemoveEntry(entry); });
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->end, ScanEnd::EntryGone);
    EXPECT_EQ(test::ReadFile(discs.ZipPath("src", 7)), stored);
    EXPECT_EQ(doc.Root()->FindEntryByFolderPath(Root()), nullptr);
    EXPECT_THAT(log.Utf8Lines(MessageKind::Error),
                testing::ElementsAre("[ src ] 在扫描期间已从光盘库中删除，这次扫描的结果没有保存"));
}

// A cancel or a disc taken out ends the walk early; what was read is still filed.
TEST_F(ScanControllerTest, InterruptedWalkDeliversWhatWasRead) {
    {
        SCOPED_TRACE("cancelled in folder a");
        GateSink sink(Root(), "a");
        const std::optional<ScanOutcome> outcome =
            RunToEnd(FolderScan(IntoTop()), sink, [&] { controller.Cancel(); });
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->walked, scan::WalkResult::Cancelled);
        ASSERT_EQ(outcome->end, ScanEnd::Filed);
        EXPECT_GE(outcome->entry->m_nFileCount, 1);  // r.txt was read before folder a
        EXPECT_LT(outcome->entry->m_nFileCount, 3);
    }
    {
        SCOPED_TRACE("disc taken out");
        top->RemoveEntry(top->FindEntry("src"));
        drives.mediumChecksLeft = 0;
        ScanRequest request = FolderScan({CategoryPath::Of(*top), "disc", ""});
        request.cd->m_dwVolumeSerial = 8;
        request.device = "/dev/sr9";
        GateSink sink(Root(), "");
        const std::optional<ScanOutcome> outcome = RunToEnd(std::move(request), sink);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->walked, scan::WalkResult::MediumGone);
        EXPECT_EQ(outcome->end, ScanEnd::Filed);
        EXPECT_EQ(drives.calls, (std::vector<std::string>{"lock /dev/sr9", "unlock /dev/sr9"}));
    }
}

TEST_F(ScanControllerTest, EveryProgressCallReachesTheSinkInOrder) {
    dir.WriteFile("src/a/p.jpg", "not really a picture");
    ScanRequest request = FolderScan(IntoTop());
    request.settings.bPicScan = true;
    auto extras = std::make_unique<scan::StandardExtras>(request.settings, scan::Mp3Options{});
    extras->SetThumbnailMaker([](catalog::CDir&, platform::VolumeFolder&, std::string_view folderPath,
                                 const fs::path& thumbnails, scan::ScanState&,
                                 scan::CScanProgress* progress) {
        progress->PictureArea();
        progress->ShowPicture(std::string(folderPath) + "\\p.jpg", thumbnails / "p.jpg");
        return scan::WalkResult::Finished;
    });
    request.extras = std::move(extras);
    GateSink sink(Root(), "");
    const std::optional<ScanOutcome> outcome = RunToEnd(std::move(request), sink);
    ASSERT_TRUE(outcome);
    ASSERT_EQ(outcome->end, ScanEnd::Filed);

    // Folder a's picture calls come after its path and before the next folder's; the medium
    // decides whether a or b is walked first.
    const std::vector<std::string> aFirst = {"path ", "path /a", "area", "picture /a\\p.jpg p.jpg",
                                             "path /b"};
    const std::vector<std::string> bFirst = {"path ", "path /b", "path /a", "area",
                                             "picture /a\\p.jpg p.jpg"};
    EXPECT_THAT(sink.Calls(), testing::AnyOf(testing::Eq(aFirst), testing::Eq(bFirst)));
}

}  // namespace
}  // namespace pelko::shell
