#include "scan/DirectoryWalker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "WalkResultPrinter.h"
#include "catalog/CCD.h"
#include "settings/SettingsStore.h"
#include "platform/Volume.h"
#include "scan/CScanProgress.h"
#include "scan/ScanExtras.h"
#include "support/FakeVolume.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::scan {
namespace {

namespace fs = std::filesystem;
using catalog::CCD;
using catalog::CDir;
using test::FakeVolume;

// Counts the cancellation polls and cancels once a given number has been made.
class CountingProgress final : public CScanProgress {
public:
    explicit CountingProgress(int cancelAfter = -1) : m_cancelAfter(cancelAfter) {}
    bool IsCancelled() override {
        ++polls;
        return m_cancelAfter >= 0 && polls > m_cancelAfter;
    }
    void ShowFolderPath(std::string_view path) override { shown.emplace_back(path); }
    int polls = 0;
    std::vector<std::string> shown;

private:
    int m_cancelAfter;
};

std::vector<std::string> FileNames(const CDir& dir) {
    std::vector<std::string> names;
    for (const auto& f : dir.Files()) names.push_back(f->m_strName.str());
    return names;
}

std::vector<std::string> DirNames(const CDir& dir) {
    std::vector<std::string> names;
    for (const auto& d : dir.Subdirs()) names.push_back(d->m_strName.str());
    return names;
}

const CDir& Sub(const CDir& dir, std::string_view name) {
    for (const auto& d : dir.Subdirs())
        if (d->m_strName == name && d->m_nDirKind == CDir::kKindFolder) return *d;
    throw std::logic_error("no such sub-folder");
}

class WalkerTest : public ::testing::Test {
protected:
    FakeVolume volume{"/media/disc"};
    settings::MemorySettingsStore store;
    test::TempDir catalogDir;
    CCD cd;

    WalkerTest() {
        cd.m_strName = "/media/disc";
        cd.m_strVolumeLabel = "disc";
        cd.m_dwVolumeSerial = 1;
        cd.m_nKind = CCD::kKindFixedDir;
    }

    WalkResult Walk(CScanProgress* progress = nullptr, ScanExtras* extras = nullptr) {
        const ScanSettings settings = ScanSettings::Load(store);
        DirectoryWalker walker(volume, settings, catalogDir / "Disk", extras);
        const WalkResult result = walker.Scan(cd, progress);
        state = walker.State();
        return result;
    }

    // A fresh scan with the current settings; the fixture's own disc stays as it is.
    struct Scanned {
        std::unique_ptr<CCD> cd;
        WalkResult result;
    };
    Scanned ScanOf(platform::Volume& medium, std::string_view root, std::uint8_t kind = CCD::kKindFixedDir,
                   ScanExtras* extras = nullptr, CScanProgress* progress = nullptr) {
        auto scan = std::make_unique<CCD>();
        scan->m_strName = root;
        scan->m_strVolumeLabel = "disc";
        scan->m_dwVolumeSerial = 1;
        scan->m_nKind = kind;
        const ScanSettings settings = ScanSettings::Load(store);
        const WalkResult result =
            DirectoryWalker(medium, settings, catalogDir / "Disk", extras).Scan(*scan, progress);
        return {std::move(scan), result};
    }
    Scanned ScanAgain(std::uint8_t kind = CCD::kKindFixedDir, ScanExtras* extras = nullptr) {
        return ScanOf(volume, "/media/disc", kind, extras);
    }
    ScanState state;
};

TEST_F(WalkerTest, RecordsNamesSizesAndTimesSorted) {
    volume.AddFile("", "b.txt", 5, 1000);
    volume.AddFile("", "A.txt", (1ull << 32) + 1, 2000);
    volume.AddFolder("", "sub");
    volume.AddFile("sub", "inner.bin", 7, 3000);
    EXPECT_EQ(Walk(), WalkResult::Finished);
    EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"A.txt", "b.txt"}));
    EXPECT_EQ(cd.Files()[0]->Size(), (1ull << 32) + 1);
    EXPECT_EQ(cd.Files()[0]->m_ftTime, 2000u);
    EXPECT_EQ(FileNames(Sub(cd, "sub")), (std::vector<std::string>{"inner.bin"}));
    EXPECT_EQ(Sub(cd, "sub").m_pParent, &cd);
}

TEST_F(WalkerTest, CancellationIsPolledPerFolderAndEveryFifthEntry) {
    for (int i = 0; i < 10; ++i) volume.AddFile("", "f" + std::to_string(i));  // 12 entries with "." and ".."
    CountingProgress progress;
    EXPECT_EQ(Walk(&progress), WalkResult::Finished);
    // Once at the folder's start, then before entries 1, 6 and 11.
    EXPECT_EQ(progress.polls, 4);
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"/media/disc"}));
}

TEST_F(WalkerTest, CancelledWalkKeepsWhatWasRecordedAndUnwinds) {
    for (int i = 0; i < 8; ++i) volume.AddFile("", "f" + std::to_string(i));
    volume.AddFolder("", "sub");
    volume.AddFile("sub", "never");
    CountingProgress progress(2);  // the start and the first entry poll pass, the second cancels
    EXPECT_EQ(Walk(&progress), WalkResult::Cancelled);
    EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"f0", "f1", "f2"}));
    EXPECT_TRUE(cd.Subdirs().empty());
}

// Stops the walk once a given folder is shown, as the user's Cancel does or as a medium that
// leaves its drive does.
class StopInFolder final : public CScanProgress {
public:
    StopInFolder(std::string folder, bool mediumGone)
        : m_folder(std::move(folder)), m_mediumGone(mediumGone) {}
    bool IsCancelled() override { return m_stopped; }
    bool MediumGone() const override { return m_stopped && m_mediumGone; }
    void ShowFolderPath(std::string_view path) override { m_stopped = m_stopped || path == m_folder; }

private:
    std::string m_folder;
    bool m_mediumGone;
    bool m_stopped = false;
};

// However deep the walk is when it is stopped, the scan says so and why; no folder is walked
// after the stop, and what was read before it stays.
TEST_F(WalkerTest, StopBelowTheRootEndsTheScanWithItsReason) {
    volume.AddFolder("", "a");
    volume.AddFile("a", "a.txt");
    volume.AddFolder("a", "b");
    for (int i = 0; i < 6; ++i) volume.AddFile("a/b", "b" + std::to_string(i));
    volume.AddFolder("a/b", "c");
    volume.AddFile("a/b/c", "c.txt");
    volume.AddFolder("", "z");
    volume.AddFile("z", "z.txt");
    struct Case {
        const char* where;
        const char* folder;
        bool mediumGone;
        WalkResult expected;
        std::uint32_t filesKept;
    };
    const Case cases[] = {
        {"cancel in a sub-folder", "/media/disc/a", false, WalkResult::Cancelled, 0},
        {"cancel in a sub-sub-folder", "/media/disc/a/b", false, WalkResult::Cancelled, 1},
        {"cancel three levels down", "/media/disc/a/b/c", false, WalkResult::Cancelled, 7},
        {"medium gone in a sub-sub-folder", "/media/disc/a/b", true, WalkResult::MediumGone, 1},
        {"medium gone three levels down", "/media/disc/a/b/c", true, WalkResult::MediumGone, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        StopInFolder progress(c.folder, c.mediumGone);
        const Scanned scan = ScanOf(volume, "/media/disc", CCD::kKindFixedDir, nullptr, &progress);
        EXPECT_EQ(scan.result, c.expected);
        scan.cd->RecomputeTotals();
        EXPECT_EQ(scan.cd->m_nFileCount, c.filesKept);
        EXPECT_TRUE(Sub(*scan.cd, "z").Files().empty()) << "walked after the stop";
    }
}

// The extras' own results: a stop inside an archive listing or a folder's thumbnails ends the
// scan like one in a folder; a limit or a lack of memory there is reported, and the walk goes on.
class ScriptedExtras final : public ScanExtras {
public:
    WalkResult ListArchive(CDir&, platform::VolumeFolder&, std::string_view, ScanState&,
                           CScanProgress*) override {
        return archive;
    }
    std::string ReadMp3Tag(platform::VolumeFolder&, std::string_view) override { return {}; }
    std::unique_ptr<catalog::IconImage> TakeProgramIcon(platform::VolumeFolder&, std::string_view) override {
        return nullptr;
    }
    WalkResult MakeThumbnails(CDir&, platform::VolumeFolder&, std::string_view, const fs::path&, ScanState&,
                              CScanProgress*) override {
        return pictures;
    }
    WalkResult archive = WalkResult::Finished;
    WalkResult pictures = WalkResult::Finished;
};

TEST_F(WalkerTest, ResultsOfTheExtrasReachTheScan) {
    volume.AddFolder("", "a");
    volume.AddFile("a", "pack.zip");
    volume.AddFile("a", "photo.jpg");
    volume.AddFolder("", "z");
    volume.AddFile("z", "z.txt");
    struct Case {
        const char* what;
        WalkResult archive;
        WalkResult pictures;
        WalkResult expected;
        bool walkGoesOn;
    };
    const Case cases[] = {
        {"listing cancelled", WalkResult::Cancelled, WalkResult::Finished, WalkResult::Cancelled, false},
        {"medium gone while listing", WalkResult::MediumGone, WalkResult::Finished, WalkResult::MediumGone,
         false},
        {"listing passed the whole-scan limit", WalkResult::LimitReached, WalkResult::Finished,
         WalkResult::LimitReached, true},
        {"thumbnails cancelled", WalkResult::Finished, WalkResult::Cancelled, WalkResult::Cancelled, false},
        {"memory ran out for thumbnails", WalkResult::Finished, WalkResult::OutOfMemory,
         WalkResult::OutOfMemory, true},
        {"memory ran out, then the limit was passed", WalkResult::LimitReached, WalkResult::OutOfMemory,
         WalkResult::OutOfMemory, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedExtras extras;
        extras.archive = c.archive;
        extras.pictures = c.pictures;
        const Scanned scan = ScanOf(volume, "/media/disc", CCD::kKindFixedDir, &extras);
        EXPECT_EQ(scan.result, c.expected);
        EXPECT_EQ(Sub(*scan.cd, "z").Files().size(), c.walkGoesOn ? 1u : 0u);
    }
}

TEST_F(WalkerTest, DepthLimit) {
    volume.AddFile("", "root.txt");
    volume.AddFolder("", "a");
    volume.AddFile("a", "a.txt");
    volume.AddFolder("a", "b");
    volume.AddFile("a/b", "b.txt");
    for (const int limit : {0, 1, 2}) {
        SCOPED_TRACE(limit);
        store.WriteInt("g_bCheckDirLimit", 1);
        store.WriteInt("g_nDirLimit", limit);
        const auto cdScan = ScanAgain();
        const CCD& cd = *cdScan.cd;
        EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"root.txt"}));
        const CDir& a = Sub(cd, "a");
        if (limit < 2) {
            EXPECT_TRUE(a.Files().empty());
            EXPECT_TRUE(a.Subdirs().empty());
        } else {
            EXPECT_EQ(FileNames(a), (std::vector<std::string>{"a.txt"}));
            EXPECT_EQ(DirNames(a), (std::vector<std::string>{"b"}));
            EXPECT_TRUE(Sub(a, "b").Files().empty());
        }
    }
}

TEST_F(WalkerTest, PerFolderLimitCountsConsideredEntries) {
    volume.AddFile("", "1.txt");
    volume.AddFile("", "2.txt");
    volume.AddFile("", "3.txt");
    volume.AddFolder("", "sub");
    volume.AddFile("sub", "s.txt");
    store.WriteInt("g_bCheckFileLimit", 1);
    store.WriteInt("g_nFileLimit", 0);
    Walk();
    EXPECT_TRUE(cd.Files().empty());
    EXPECT_TRUE(Sub(cd, "sub").Files().empty());
    EXPECT_EQ(DirNames(cd), (std::vector<std::string>{"sub"}));

    store.WriteInt("g_nFileLimit", 2);
    const auto secondScan = ScanAgain();
    const CCD& second = *secondScan.cd;
    EXPECT_EQ(FileNames(second), (std::vector<std::string>{"1.txt", "2.txt"}));
    EXPECT_EQ(FileNames(Sub(second, "sub")), (std::vector<std::string>{"s.txt"}));
}

TEST_F(WalkerTest, WholeScanLimitStopsFilesAndDescent) {
    volume.AddFolder("", "a");
    volume.AddFile("a", "1");
    volume.AddFile("a", "2");
    volume.AddFile("a", "3");
    volume.AddFolder("a", "deep");
    volume.AddFile("a/deep", "x");
    volume.AddFolder("", "b");
    volume.AddFile("b", "4");
    volume.AddFolder("b", "inner");
    volume.AddFile("b/inner", "y");
    store.WriteInt("g_bCheckFileLimitDisk", 1);
    store.WriteInt("g_nFileLimitTotal", 2);
    EXPECT_EQ(Walk(), WalkResult::LimitReached) << "passed in a sub-folder, reported by the whole scan";
    const CDir& a = Sub(cd, "a");
    EXPECT_EQ(FileNames(a), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(Sub(a, "deep").Files().empty()) << "not walked";
    const CDir& b = Sub(cd, "b");
    EXPECT_TRUE(b.Files().empty());
    EXPECT_EQ(DirNames(b), (std::vector<std::string>{"inner"}));
    EXPECT_TRUE(Sub(b, "inner").Files().empty());
    EXPECT_EQ(state.nScanFileCount, 4);
}

TEST_F(WalkerTest, OnlyFoldersMeansNoFileWork) {
    volume.AddFile("", "a.zip");
    volume.AddFile("", "pic.jpg");
    volume.AddFolder("", "sub");
    store.WriteInt("g_bCheckOnlyDir", 1);
    Walk();
    EXPECT_TRUE(cd.Files().empty());
    EXPECT_EQ(DirNames(cd), (std::vector<std::string>{"sub"}));
}

TEST_F(WalkerTest, ZipAndRarFilesAlsoBecomeArchiveFolders) {
    volume.AddFile("", "data.ZIP");
    volume.AddFile("", "music.rar");
    volume.AddFile("", "plain.txt");
    Walk();
    EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"data.ZIP", "music.rar", "plain.txt"}));
    ASSERT_EQ(DirNames(cd), (std::vector<std::string>{"data.ZIP", "music.rar"}));
    EXPECT_EQ(cd.Subdirs()[0]->m_nDirKind, CDir::kKindArchive);

    store.WriteInt("ExtractZip", 0);
    const auto offScan = ScanAgain();
    const CCD& off = *offScan.cd;
    EXPECT_TRUE(off.Subdirs().empty());
}

TEST_F(WalkerTest, NamesEqualWithoutCaseKeepTheFirst) {
    volume.AddFile("", "Read.me", 1);
    volume.AddFile("", "READ.ME", 2);
    volume.AddFolder("", "Dir");
    volume.AddFolder("", "dir");
    volume.AddFile("Dir", "in-first");
    volume.AddFile("dir", "in-second");
    Walk();
    ASSERT_EQ(FileNames(cd), (std::vector<std::string>{"Read.me"}));
    EXPECT_EQ(cd.Files()[0]->Size(), 1u);
    EXPECT_EQ(FileNames(Sub(cd, "Dir")), (std::vector<std::string>{"in-first"}));
}

TEST_F(WalkerTest, SystemFoldersAreNotWalkedOnPartitionsAndFolders) {
    volume.AddFolder("", "System Volume Information");
    volume.AddFile("System Volume Information", "x");
    volume.AddFolder("", "recycler");
    volume.AddFile("recycler", "y");
    for (const std::uint8_t kind : {CCD::kKindDisk, CCD::kKindFixedDisk, CCD::kKindFixedDir}) {
        SCOPED_TRACE(int{kind});
        const auto scanScan = ScanAgain(kind);
        const CCD& scan = *scanScan.cd;
        ASSERT_EQ(scan.Subdirs().size(), 2u);
        const std::size_t expected = kind == CCD::kKindDisk ? 1 : 0;
        EXPECT_EQ(scan.Subdirs()[0]->Files().size(), expected);
        EXPECT_EQ(scan.Subdirs()[1]->Files().size(), expected);
    }
}

TEST_F(WalkerTest, UnreadableFolderStaysEmptyAndSiblingsGoOn) {
    volume.AddFolder("", "a").unreadable = true;
    volume.AddFile("a", "hidden");
    volume.AddFolder("", "b");
    volume.AddFile("b", "seen");
    EXPECT_EQ(Walk(), WalkResult::Finished);
    EXPECT_TRUE(Sub(cd, "a").Files().empty());
    EXPECT_EQ(FileNames(Sub(cd, "b")), (std::vector<std::string>{"seen"}));
}

TEST_F(WalkerTest, Readme) {
    struct Case {
        const char* rule;
        const char* name;
        std::string content;
        std::string expected;
    };
    const std::string unchanged = text::Local("该对象目前没有描述信息");
    const Case cases[] = {
        {"found without regard to case", "Readme.TXT", "hello", "hello"},
        {"an empty readme changes nothing", "readme.txt", "", unchanged},
        {"text stops at a zero byte", "README.txt", std::string("kept\0lost", 9), "kept"},
        {"UTF-8 text is stored as GB18030", "readme.txt", "光盘说明", text::Local("光盘说明")},
        {"GBK text is kept as it is", "readme.txt", text::Local("光盘"), text::Local("光盘")},
        {"no readme leaves the text", "other.txt", "x", unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        FakeVolume fake("/r");
        fake.AddFile("", c.name, c.content.size(), 0, c.content);
        EXPECT_EQ(ScanOf(fake, "/r").cd->m_strReadme, c.expected);
    }
    FakeVolume missing("/elsewhere");
    for (const int readme : {0, 1}) {
        SCOPED_TRACE(readme);
        store.WriteInt("AutoFillReadme", readme);
        EXPECT_EQ(ScanOf(missing, "/r").result, WalkResult::RootUnreadable);
    }
}

TEST_F(WalkerTest, ListsMatchOnTheFirstOccurrence) {
    struct Case {
        const char* list;
        const char* extension;
        bool listed;
    };
    const Case cases[] = {
        {"*.tiff;*.tif", ".tif", false},  // first ".tif" is followed by "f"
        {"*.tif;*.tiff", ".tif", true},
        {"*.tif;*.tiff", ".tiff", true},
        {"*.jpg", ".jpg", true},
        {"*.jpg;", ".jpg", true},
        {"*.jpeg", ".jpg", false},
        {"", "", true},  // a name without extension against an empty list
        {";*.txt", "", true},
        {"*.txt", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " / " + c.extension);
        EXPECT_EQ(IsExtensionListed(c.list, c.extension), c.listed);
    }

    volume.AddFile("", "a.tif");
    volume.AddFile("", "b.tiff");
    volume.AddFile("", "c.jpg");
    store.WriteInt("g_bCheckFileExt2", 1);
    store.WriteString("g_szFileLimit2", "*.TIFF;*.TIF");  // lists are lower-cased when loaded
    Walk();
    EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"b.tiff"}));

    store.WriteInt("g_bCheckFileExt2", 0);
    store.WriteInt("g_bCheckFileExt", 1);
    store.WriteString("g_szFileLimit", "*.jpg");
    const auto excludedScan = ScanAgain();
    const CCD& excluded = *excludedScan.cd;
    EXPECT_EQ(FileNames(excluded), (std::vector<std::string>{"a.tif", "b.tiff"}));
}

TEST_F(WalkerTest, CopyRuleCopiesIntoTheThumbnailFolderInLowerCase) {
    struct Case {
        const char* list;
        const char* name;
        const char* extension;
        bool copied;
    };
    const Case cases[] = {
        {"*.nfo;cover.jpg", "cover.jpg", ".jpg", true},  // whole name
        {"*.nfo;cover.jpg", "back.jpg", ".jpg", false},  // ".jpg" not preceded by "*"
        {"*.nfo;cover.jpg", "info.nfo", ".nfo", true},
        {"x*.nfo", "a.nfo", ".nfo", true},
        {"*.nfox", "a.nfo", ".nfo", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " / " + c.name);
        EXPECT_EQ(MatchesCopyList(c.list, c.name, c.extension), c.copied);
    }

    volume.AddFolder("", "Sub");
    volume.AddFile("Sub", "Cover.JPG", 3, 0, "jpg");
    volume.AddFile("Sub", "other.txt", 3, 0, "txt");
    store.WriteInt("g_bFileCopy", 1);
    store.WriteString("g_szFileCopy", "cover.jpg");
    Walk();
    const fs::path copied = catalogDir / "Disk/disc1.pkb.pic/Sub/cover.jpg";
    EXPECT_EQ(test::ReadFile(copied), "jpg");
    EXPECT_FALSE(fs::exists(catalogDir / "Disk/disc1.pkb.pic/Sub/other.txt"));
}

TEST_F(WalkerTest, RescanKeepsExistingRecordsAndAddsNewOnes) {
    auto kept = std::make_unique<catalog::CFileInfo>();
    kept->m_strName = "old.txt";
    kept->m_strMemo = "user memo";
    kept->SetSize(1);
    cd.InsertFile(std::move(kept));
    auto gone = std::make_unique<CDir>();
    gone->m_strName = "gone";
    cd.InsertSubdir(std::move(gone));
    volume.AddFile("", "old.txt", 99);
    volume.AddFile("", "new.txt", 5);
    Walk();
    EXPECT_EQ(FileNames(cd), (std::vector<std::string>{"new.txt", "old.txt"}));
    EXPECT_EQ(cd.Files()[1]->m_strMemo, "user memo");
    EXPECT_EQ(cd.Files()[1]->Size(), 1u);
    EXPECT_EQ(DirNames(cd), (std::vector<std::string>{"gone"}));
}

// Records what the walker asks of the extras.
class RecordingExtras final : public ScanExtras {
public:
    WalkResult ListArchive(CDir& archive, platform::VolumeFolder&, std::string_view rawName, ScanState& state,
                           CScanProgress*) override {
        listed.emplace_back(rawName);
        auto entry = std::make_unique<catalog::CFileInfo>();
        entry->m_strName = "inside.txt";
        archive.InsertFile(std::move(entry));
        dirFileCountAtList = state.nDirFileCount;
        return WalkResult::Finished;
    }
    std::string ReadMp3Tag(platform::VolumeFolder&, std::string_view rawName) override {
        return rawName == "song.mp3" ? "Title" : "";
    }
    std::unique_ptr<catalog::IconImage> TakeProgramIcon(platform::VolumeFolder&, std::string_view) override {
        return std::make_unique<catalog::IconImage>();
    }
    WalkResult MakeThumbnails(CDir& dir, platform::VolumeFolder&, std::string_view path,
                              const fs::path& folder, ScanState& state, CScanProgress*) override {
        thumbnailed.push_back(std::string(path) + " -> " + folder.filename().string() + " files " +
                              std::to_string(state.nDirFileCount) + "/" + std::to_string(dir.Files().size()));
        return WalkResult::Finished;
    }
    std::vector<std::string> listed;
    std::vector<std::string> thumbnailed;
    int dirFileCountAtList = -1;
};

TEST_F(WalkerTest, ExtrasAreCalledForRecordedFiles) {
    volume.AddFile("", "song.mp3");
    volume.AddFile("", "silent.mp3");
    volume.AddFile("", "tool.exe");
    volume.AddFile("", "pack.zip");
    volume.AddFolder("", "pics");
    volume.AddFile("pics", "a.jpe");
    volume.AddFile("pics", "b.PSD");
    volume.AddFolder("", "nopics");
    volume.AddFile("nopics", "a.jpe");
    RecordingExtras extras;
    EXPECT_EQ(Walk(nullptr, &extras), WalkResult::Finished);
    EXPECT_EQ(cd.Files()[2]->m_strName, "song.mp3");
    EXPECT_EQ(cd.Files()[2]->m_strMemo, "Title");
    EXPECT_EQ(cd.Files()[1]->m_strMemo, "");
    EXPECT_TRUE(cd.Files()[3]->HasIcon());
    EXPECT_EQ(extras.listed, (std::vector<std::string>{"pack.zip"}));
    EXPECT_EQ(extras.dirFileCountAtList, 0);
    EXPECT_EQ(extras.thumbnailed, (std::vector<std::string>{"/media/disc/pics -> pics files 2/2"}));
    EXPECT_TRUE(fs::is_directory(catalogDir / "Disk/disc1.pkb.pic/pics"));

    store.WriteInt("g_bPicScan", 0);
    store.WriteInt("ExtractMp3", 0);
    RecordingExtras quiet;
    const auto noPictures = ScanAgain(CCD::kKindFixedDir, &quiet).cd;
    EXPECT_TRUE(quiet.thumbnailed.empty());
    EXPECT_EQ(noPictures->Files()[2]->m_strMemo, "");
}

}  // namespace
}  // namespace pelko::scan
