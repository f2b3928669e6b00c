#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "catalog/ZipStore.h"
#include "cli/CliRun.h"
#include "cli/Command.h"
#include "platform/VolumeInformation.h"
#include "support/DiscImages.h"
#include "support/RecordingLog.h"
#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

using CliRun = test::CliResult;

CliRun Cli(const std::vector<std::string>& args) { return test::RunCliAsIs(args); }

template <typename Record>
const Record* Named(const std::vector<std::unique_ptr<Record>>& list, std::string_view name) {
    for (const auto& item : list)
        if (item->m_strName == name) return item.get();
    return nullptr;
}

class DiscCliTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("PELKO_SETTINGS_FILE", (settingsDir / "Pelko.conf").c_str(), 1); }
    void TearDown() override { ::unsetenv("PELKO_SETTINGS_FILE"); }

    test::TempDir tree;
    test::TempDir images;
    test::TempDir catalogDir;
    test::TempDir settingsDir;
};

// An image scanned without mounting gives its label, its serial and its Joliet names.
TEST_F(DiscCliTest, ScanDiscOfAJolietImageFilesItByLabelAndSerial) {
    REQUIRE_TOOL("genisoimage");
    tree.WriteFile("软件/安装程序.exe", std::string(4097, 'e'));
    tree.WriteFile("软件/说明.txt", "说明");
    tree.WriteFile("README.TXT", "disc readme");
    // The extras read their files from the image as well: an archive and an MP3 tag.
    const fs::path packed = tree.WriteFile("packed.txt", "inside");
    ASSERT_TRUE(catalog::WriteZipWithFile(tree / "包.zip", "packed.txt", packed));
    fs::remove(packed);
    std::string tag = "TAG" + std::string("Song Title").append(20, '\0') + std::string(30, '\0') +
                      std::string(30, '\0') + "1999" + std::string(30, '\0') + std::string(1, '\xff');
    tree.WriteFile("song.mp3", std::string(1000, 'a') + tag);
    const fs::path image = images / "disc.iso";
    ASSERT_TRUE(test::MakeIsoImage(tree.path(), image, {"-J", "-V", "软件光盘"}));
    const std::optional<platform::VolumeInformation> info = platform::ReadVolumeInformation(image);
    ASSERT_TRUE(info);

    const CliRun scan =
        Cli({"--catalog", catalogDir.path(), "--set", "AutoFillReadme=1", "--set", "g_bFileCopy=1", "--set",
             "g_szFileCopy=*.txt", "scan-disc", image, "--memo", "备份"});
    ASSERT_EQ(scan.status, 0) << scan.err;
    const fs::path zip = scan.out.substr(0, scan.out.size() - 1);
    EXPECT_EQ(zip.filename().native(),
              text::ToUtf8(text::Local("软件光盘")) + std::to_string(info->serial) + ".pkb.zip");

    test::RecordingLog log;
    catalog::DiscStore store(catalogDir.path(), log);
    const auto cd = store.OpenPath(zip);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_nKind, catalog::CCD::kKindDisk);
    EXPECT_EQ(cd->m_strVolumeLabel, text::Local("软件光盘"));
    EXPECT_EQ(cd->m_dwVolumeSerial, info->serial);
    EXPECT_EQ(cd->m_strFileSystem, "CDFS");
    EXPECT_EQ(cd->m_dwMaxComponentLength, 110u);
    const catalog::CDir* software = Named(cd->Subdirs(), text::Local("软件"));
    ASSERT_NE(software, nullptr);
    const catalog::CFileInfo* setup = Named(software->Files(), text::Local("安装程序.exe"));
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->Size(), 4097u);
    EXPECT_NE(Named(software->Files(), text::Local("说明.txt")), nullptr);
    const catalog::CDir* archive = Named(cd->Subdirs(), text::Local("包.zip"));
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->m_nDirKind, catalog::CDir::kKindArchive);
    ASSERT_EQ(archive->Files().size(), 1u);
    EXPECT_EQ(archive->Files()[0]->m_strName.view(), "packed.txt");
    const catalog::CFileInfo* song = Named(cd->Files(), "song.mp3");
    ASSERT_NE(song, nullptr);
    EXPECT_NE(song->m_strMemo.view().find("Song Title"), std::string_view::npos) << song->m_strMemo.view();
    // The readme and the listed copies are read from the image like from a mounted disc.
    EXPECT_EQ(cd->m_strReadme, "disc readme");
    const fs::path copies = zip.parent_path() / (zip.stem().native() + ".pic");
    EXPECT_EQ(test::ReadFile(copies / "软件" / "说明.txt"), "说明");

    // The entry is filed under the label with the memo; the same disc again is a re-scan.
    const CliRun tree1 = Cli({"--catalog", catalogDir.path(), "tree"});
    EXPECT_NE(tree1.out.find("软件光盘"), std::string::npos) << tree1.out;
    tree.WriteFile("later.txt", "x");  // not on the disc: the image is unchanged
    const CliRun again = Cli({"--catalog", catalogDir.path(), "scan-disc", image});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, scan.out);
    EXPECT_NE(again.err.find("重新扫描光盘"), std::string::npos) << again.err;
}

TEST_F(DiscCliTest, ScanDiscRefusesWhatIsNoDisc) {
    const fs::path notIso = tree.WriteFile("plain.bin", std::string(100000, 'x'));
    CliRun run = Cli({"--catalog", catalogDir.path(), "scan-disc", notIso});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no ISO 9660 or UDF"), std::string::npos) << run.err;
    run = Cli({"--catalog", catalogDir.path(), "scan-disc", images / "missing.iso"});
    EXPECT_EQ(run.status, 1);
    run = Cli({"--catalog", catalogDir.path(), "scan-drive", notIso});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(fs::exists(catalogDir / "Disk"));
    run = Cli({"--catalog", catalogDir.path(), "scan-disc"});
    EXPECT_EQ(run.status, 2);
}

TEST_F(DiscCliTest, ScanDriveFilesAPartitionFromItsMountPoint) {
    tree.WriteFile("a/b.txt", "b");
    const CliRun scan = Cli({"--catalog", catalogDir.path(), "scan-drive", tree.path(), "--name", "数据盘"});
    ASSERT_EQ(scan.status, 0) << scan.err;
    test::RecordingLog log;
    catalog::DiscStore store(catalogDir.path(), log);
    const auto cd = store.OpenPath(scan.out.substr(0, scan.out.size() - 1));
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_nKind, catalog::CCD::kKindFixedDisk);
    EXPECT_EQ(cd->m_dwVolumeSerial, platform::ReadVolumeInformation(tree.path())->serial);
    EXPECT_NE(Named(cd->Subdirs(), "a"), nullptr);
}

TEST_F(DiscCliTest, DrivesListsTheMachineEvenWithoutAnOpticalDrive) {
    const CliRun run = Cli({"drives"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("optical drives:\n", 0), 0u);
    EXPECT_NE(run.out.find("mounted volumes:\n"), std::string::npos);
}

TEST_F(DiscCliTest, WatchListensForTheGivenTimeAndChecksItsOptions) {
    const CliRun run = Cli({"watch", "--for", "1"});
    REQUIRE_MACHINE(run.status != 1 || run.err.find("cannot listen") == std::string::npos, run.err);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");  // no disc came or went
    EXPECT_EQ(Cli({"watch", "--wait", "soon"}).status, 2);
    EXPECT_EQ(Cli({"watch", "--for"}).status, 2);
}

}  // namespace
}  // namespace pelko::cli
