#include "catalog/StaleTemporaries.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "catalog/CPelkoDoc.h"
#include "platform/AtomicFile.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;

// Sets a file's modification time `seconds` into the past.
void MakeOlder(const fs::path& file, int seconds) {
    struct timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << file;
}

TEST(StaleTemporariesTest, OnlyOurOwnTemporaryNames) {
    const struct {
        const char* name;
        TemporaryPlace place;
        bool ours;
    } cases[] = {
        {"光盘A12345678.pkb.zip.tmpAb3dE9", TemporaryPlace::DiskFolder, true},
        {"LABEL12345678.pkb.tmpzzzzzz", TemporaryPlace::DiskFolder, true},
        {"OLD.ZIP.tmp000000", TemporaryPlace::DiskFolder, true},
        {"fdisk.bmp.tmpQWERTY", TemporaryPlace::DiskFolder, true},
        {"LABEL12345678.pkb.idx.tmpAb3dE9", TemporaryPlace::IndexFolder, true},
        {"LABEL12345678.pkb.idx.tmpAb3dE9", TemporaryPlace::DiskFolder, false},
        {"LABEL12345678.pkb.zip.tmpAb3dE9", TemporaryPlace::IndexFolder, false},
        {"tnk.dat.tmpPOISON", TemporaryPlace::CatalogFolder, true},
        {"help.htm.tmp123abc", TemporaryPlace::CatalogFolder, true},
        {"x.pkb.zip.tmpABC", TemporaryPlace::DiskFolder, false},       // five letters short
        {"x.pkb.zip.tmpABCDEFG", TemporaryPlace::DiskFolder, false},   // one too many
        {"x.pkb.zip.tmpAB-DEF", TemporaryPlace::DiskFolder, false},    // not mkstemp's letters
        {"photo.tmp123456", TemporaryPlace::DiskFolder, false},        // not a file we write
        {"photo.jpg.tmp123456", TemporaryPlace::DiskFolder, false},
        {".pkb.tmp123456", TemporaryPlace::DiskFolder, false},         // no disc file is named so
        {"tnk.dat.tmpABCDEF", TemporaryPlace::DiskFolder, false},      // the catalog is not in Disk
        {"x.pkb.zip.tmpABCDEF", TemporaryPlace::CatalogFolder, false}, // nor disc files beside it
        {"tnk.dat.bak.tmpABCDEF", TemporaryPlace::CatalogFolder, false},
        {"x.pkb.zip", TemporaryPlace::DiskFolder, false},
        {".tmpABCDEF", TemporaryPlace::DiskFolder, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsOwnTemporaryName(c.name, c.place), c.ours) << c.name;
}

// The catalog is loaded beside temporary files of interrupted saves, a save running now and
// files that only look like ours: only the stale ones of ours go, each with a hint.
TEST(StaleTemporariesTest, LoadingTheCatalogRemovesOnlyStaleTemporariesOfOurs) {
    const test::TempDir folder;
    constexpr int kHour = 3600;
    const fs::path staleZip = folder.WriteFile("Disk/光盘12345678.pkb.zip.tmpA1b2C3", "torn");
    const fs::path stalePlain = folder.WriteFile("Disk/CD12345678.pkb.tmpx9Y8z7", "torn");
    const fs::path staleCatalog = folder.WriteFile("tnk.dat.tmpQ1w2E3", "torn");
    const fs::path freshZip = folder.WriteFile("Disk/NEW12345678.pkb.zip.tmpFRESH1", "being written");
    const fs::path lockedZip = folder.WriteFile("Disk/BUSY12345678.pkb.zip.tmpLOCKED", "being written");
    const std::vector<fs::path> lookAlikes = {
        folder.WriteFile("Disk/photo.tmp123456", "user's"),
        folder.WriteFile("Disk/x.pkb.zip.tmpABC", "user's"),
        folder.WriteFile("photo.tmp123456", "user's"),
        folder.WriteFile("Disk/CD.pkb.pic/a.jpg.tmpABCDEF", "not in Disk itself"),
        folder.WriteFile("sub/tnk.dat.tmpABCDEF", "not in the catalog folder itself"),
    };
    for (const fs::path& file : {staleZip, stalePlain, staleCatalog, lockedZip}) MakeOlder(file, kHour);
    for (const fs::path& file : lookAlikes) MakeOlder(file, kHour);
    MakeOlder(freshZip, 60);
    // A symbolic link of that name is not a file we wrote: the link and its target stay.
    const fs::path target = folder.WriteFile("elsewhere.txt", "kept");
    const fs::path link = folder / "Disk/LINK12345678.pkb.tmpABCDEF";
    fs::create_symlink(target, link);

    // Another copy of the program writing that file holds its lock.
    const int busy = ::open(lockedZip.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    test::RecordingLog log;
    test::ScriptedUi ui;
    CPelkoDoc doc(folder.path(), log, ui);
    ASSERT_TRUE(doc.LoadCatalog());
    ::close(busy);

    for (const fs::path& gone : {staleZip, stalePlain, staleCatalog}) EXPECT_FALSE(fs::exists(gone)) << gone;
    for (const fs::path& kept : lookAlikes) EXPECT_TRUE(fs::exists(kept)) << kept;
    EXPECT_TRUE(fs::exists(freshZip)) << "changed in the last ten minutes";
    EXPECT_TRUE(fs::exists(lockedZip)) << "its writer holds the lock";
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadFile(target), "kept");

    const std::vector<std::string> hints = log.Utf8Lines(MessageKind::Hint);
    ASSERT_EQ(hints.size(), 3u);
    for (const fs::path& gone : {staleZip, stalePlain, staleCatalog}) {
        const std::string line = "删除了上次保存中断时留下的临时文件 " + gone.native();
        EXPECT_NE(std::find(hints.begin(), hints.end(), line), hints.end()) << line;
    }
    EXPECT_TRUE(log.Utf8Lines(MessageKind::Error).empty());
}

// A save in progress through AtomicFile holds the lock the cleaning respects, even when its
// file is old (a writer stopped for a long time).
TEST(StaleTemporariesTest, ASaveInProgressIsNeverRemoved) {
    const test::TempDir folder;
    fs::create_directories(folder / "Disk");
    platform::AtomicFile save(folder / "Disk/CD12345678.pkb.zip");
    ASSERT_TRUE(save.Create());
    MakeOlder(save.TemporaryPath(), 3600);
    test::RecordingLog log;
    EXPECT_TRUE(RemoveStaleTemporaries(folder.path(), log).empty());
    EXPECT_TRUE(fs::exists(save.TemporaryPath()));
    ASSERT_TRUE(save.Commit());
    EXPECT_TRUE(fs::exists(folder / "Disk/CD12345678.pkb.zip"));
}

}  // namespace
}  // namespace pelko::catalog
