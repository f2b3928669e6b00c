// scan-folder with the scan extras: archive listings, MP3 memos and program icons reach the
// disc file and come back from it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "cli/Command.h"
#include "scan/ExtrasBuilders.h"
#include "support/Pictures.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;
using namespace scan::test;

class ExtrasCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PELKO_SETTINGS_FILE", (settingsDir / "Pelko.conf").c_str(), 1);
        const std::string image = BuildDibIcon(16, 4, {0, 0x0000FF}, std::vector<std::uint32_t>(256, 1),
                                               std::vector<bool>(256, false));
        tree.WriteFile("bin/SETUP.EXE",
                       BuildPe({{3, {{1, image}}}, {14, {{1, BuildIconGroup({{16, 4, 1, 0}})}}}}));
        tree.WriteFile("music/song.mp3",
                       std::string(1000, '\x55') + BuildId3v1({"Title", "Artist", "Album"}));
        tree.WriteFile("docs.zip", BuildZip({{"manual/intro.txt", 42}, {"manual/"}}));
        test::WriteFileBytes(tree / "photos/beach.jpg", test::JpegOf(test::MakePicture(1000, 800)));
    }
    void TearDown() override { ::unsetenv("PELKO_SETTINGS_FILE"); }

    std::unique_ptr<catalog::CCD> ScanWith(std::vector<std::string> args) {
        args.insert(args.begin(), {"--catalog", catalogDir.path()});
        args.insert(args.end(), {"scan-folder", tree.path()});
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(args, out, err), 0) << err.str();
        const std::string zip = out.str().substr(0, out.str().size() - 1);
        catalog::DiscStore store(catalogDir.path(), log);
        return store.OpenPath(zip);
    }

    const catalog::CDir* Dir(const catalog::CDir& dir, std::string_view name, std::uint8_t kind) {
        for (const auto& d : dir.Subdirs())
            if (d->m_strName == name && d->m_nDirKind == kind) return d.get();
        return nullptr;
    }

    test::TempDir tree;
    test::TempDir catalogDir;
    test::TempDir settingsDir;
    test::RecordingLog log;
};

TEST_F(ExtrasCliTest, ScanFolderRecordsListingsMemosAndIcons) {
    const auto cd = ScanWith({"--set", "Mp3Op=7", "--set", "Mp3Gap=47"});
    ASSERT_TRUE(cd);
    const catalog::CDir* zip = Dir(*cd, "docs.zip", catalog::CDir::kKindArchive);
    ASSERT_TRUE(zip);
    ASSERT_EQ(zip->Files().size(), 1u);
    EXPECT_EQ(zip->Files()[0]->m_strName, "intro.txt");
    EXPECT_EQ(zip->Files()[0]->m_strMemo, "manual\\");
    EXPECT_EQ(zip->Files()[0]->Size(), 42u);

    const catalog::CDir* music = Dir(*cd, "music", catalog::CDir::kKindFolder);
    ASSERT_TRUE(music);
    EXPECT_EQ(music->Files()[0]->m_strMemo, "Artist/Title/Album");

    const catalog::CDir* bin = Dir(*cd, "bin", catalog::CDir::kKindFolder);
    ASSERT_TRUE(bin);
    const catalog::CFileInfo& setup = *bin->Files()[0];
    ASSERT_TRUE(setup.HasIcon());
    EXPECT_EQ(setup.m_icon->pixels[5], 0xFF0000FFu);

    // The picture's thumbnail is in the disc file's thumbnail folder, at the default size.
    const fs::path thumbnail = catalogDir / "Disk" / (cd->DiscFileName() + ".pic") / "photos" / "beach.jpg";
    ASSERT_TRUE(fs::exists(thumbnail));
    const std::vector<std::uint8_t> jpeg = test::FileBytes(thumbnail);
    ASSERT_GE(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
}

TEST_F(ExtrasCliTest, ExtrasSwitchedOffLeaveOnlyNames) {
    const auto cd = ScanWith({"--set", "ExtractZip=0", "--set", "ExtractMp3=0", "--set", "ExtractExeIcon=0"});
    ASSERT_TRUE(cd);
    EXPECT_FALSE(Dir(*cd, "docs.zip", catalog::CDir::kKindArchive));
    EXPECT_TRUE(Dir(*cd, "music", catalog::CDir::kKindFolder)->Files()[0]->m_strMemo.empty());
    EXPECT_FALSE(Dir(*cd, "bin", catalog::CDir::kKindFolder)->Files()[0]->HasIcon());
}

TEST_F(ExtrasCliTest, ThumbnailsSwitchedOffMakeNoPictureFolder) {
    const auto cd = ScanWith({"--set", "g_bPicScan=0"});
    ASSERT_TRUE(cd);
    EXPECT_FALSE(fs::exists(catalogDir / "Disk" / (cd->DiscFileName() + ".pic") / "photos" / "beach.jpg"));
}

}  // namespace
}  // namespace pelko::cli
