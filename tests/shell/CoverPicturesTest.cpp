#include "shell/CoverPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::MessageKind;

class CoverPicturesTest : public ::testing::Test {
protected:
    CoverPicturesTest() {
        entry.m_strVolumeLabel = "DISC";
        entry.m_dwVolumeSerial = 42;
    }

    fs::path Jpeg() const { return covers.CoverPath(entry, ".jpg"); }
    fs::path Bitmap() const { return covers.CoverPath(entry, ".bmp"); }

    test::TempDir dir;
    test::RecordingLog log;
    catalog::DiscStore discs{dir.path(), log};
    CoverPictures covers{discs, log};
    catalog::CDiskInfo entry;
};

TEST_F(CoverPicturesTest, CoversLieBesideTheDiscFileAndTheJpegIsShownFirst) {
    EXPECT_EQ(Jpeg(), dir / "Disk" / "DISC42.jpg");
    EXPECT_EQ(covers.CoverOf(entry), std::nullopt);
    dir.WriteFile("Disk/DISC42.bmp", "bmp");
    EXPECT_EQ(covers.CoverOf(entry), Bitmap());
    dir.WriteFile("Disk/DISC42.jpg", "jpg");
    EXPECT_EQ(covers.CoverOf(entry), Jpeg());
}

TEST_F(CoverPicturesTest, ImportReplacesTheCoverOfEitherKind) {
    // No Disk folder yet: it is made.
    EXPECT_TRUE(covers.Import(entry, dir.WriteFile("pics/old.JPG", "old jpeg")));
    EXPECT_EQ(test::ReadFile(Jpeg()), "old jpeg");

    EXPECT_TRUE(covers.Import(entry, dir.WriteFile("pics/new.bmp", "new bitmap")));
    EXPECT_FALSE(fs::exists(Jpeg())) << "only the bitmap is left";
    EXPECT_EQ(test::ReadFile(Bitmap()), "new bitmap");

    EXPECT_TRUE(covers.Import(entry, dir.WriteFile("pics/newer.bmp", "newer bitmap")));
    EXPECT_EQ(test::ReadFile(Bitmap()), "newer bitmap");

    // Choosing the cover itself keeps it.
    EXPECT_TRUE(covers.Import(entry, Bitmap()));
    EXPECT_EQ(test::ReadFile(Bitmap()), "newer bitmap");
    EXPECT_EQ(std::distance(fs::directory_iterator(discs.DiskFolder()), fs::directory_iterator()), 1);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CoverPicturesTest, AFailedImportKeepsTheOldCover) {
    dir.WriteFile("Disk/DISC42.jpg", "only cover");
    EXPECT_FALSE(covers.Import(entry, dir / "missing.bmp"));
    EXPECT_FALSE(covers.Import(entry, dir.WriteFile("picture.png", "png")));
    EXPECT_FALSE(covers.Import(entry, dir.MakeFolder("folder.bmp")));
    EXPECT_EQ(test::ReadFile(Jpeg()), "only cover");
    EXPECT_FALSE(fs::exists(Bitmap()));
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error).size(), 3u);
}

TEST_F(CoverPicturesTest, DeleteRemovesBothCovers) {
    dir.WriteFile("Disk/DISC42.jpg", "j");
    dir.WriteFile("Disk/DISC42.bmp", "b");
    dir.WriteFile("Disk/DISC42.pkb.zip", "disc");
    EXPECT_TRUE(covers.Delete(entry));
    EXPECT_EQ(covers.CoverOf(entry), std::nullopt);
    EXPECT_TRUE(fs::exists(dir / "Disk/DISC42.pkb.zip"));
    EXPECT_TRUE(covers.Delete(entry)) << "nothing left to delete";
}

}  // namespace
}  // namespace pelko::shell
