#include "scan/StandardExtras.h"

#include <gtest/gtest.h>

#include "ExtrasBuilders.h"
#include "ExtrasTestSupport.h"
#include "WalkResultPrinter.h"
#include "catalog/CCD.h"
#include "settings/SettingsStore.h"
#include "scan/DirectoryWalker.h"
#include "support/FakeVolume.h"
#include "support/TempDir.h"

namespace pelko::scan {
namespace {

using catalog::CCD;
using catalog::CDir;
using catalog::CFileInfo;
using namespace test;

const CFileInfo* FileOf(const CDir& dir, std::string_view name) {
    for (const auto& f : dir.Files())
        if (f->m_strName == name) return f.get();
    return nullptr;
}

const CDir* ArchiveOf(const CDir& dir, std::string_view name) {
    for (const auto& d : dir.Subdirs())
        if (d->m_strName == name && d->m_nDirKind == CDir::kKindArchive) return d.get();
    return nullptr;
}

std::string ProgramWithIcon() {
    const std::string image =
        BuildDibIcon(16, 4, {0, 0xFF0000}, std::vector<std::uint32_t>(256, 1), std::vector<bool>(256, false));
    return BuildPe({{3, {{1, image}}}, {14, {{1, BuildIconGroup({{16, 4, 1, 0}})}}}});
}

class StandardExtrasTest : public ::testing::Test {
protected:
    StandardExtrasTest() {
        Add("", "TOOL.EXE", ProgramWithIcon());
        Add("", "lib.dll", ProgramWithIcon());
        Add("", "run.com", ProgramWithIcon());
        Add("", "broken.exe", "MZ but nothing after it");
        Add("", "song.mp3", std::string(500, 'a') + BuildId3v1({"Title", "Artist"}));
        Add("", "Pack.ZIP", BuildZip({{"docs/read.me", 12}}));
        Add("", "old.rar", RarStart() + RarFile({"a\\b.txt", 3, 3}) + RarEnd());
        Add("", "fake.zip", "not an archive");
        volume.AddFolder("", "pics");
        Add("pics", "photo.jpg", "jpeg bytes");
        cd.m_strName = "/media/disc";
        cd.m_strVolumeLabel = "disc";
        cd.m_dwVolumeSerial = 1;
        cd.m_nKind = CCD::kKindFixedDir;
    }

    // A file whose recorded size is its content's.
    void Add(std::string_view folder, std::string_view name, std::string content) {
        const std::uint64_t size = content.size();
        volume.AddFile(folder, name, size, 0, std::move(content));
    }

    WalkResult Scan() {
        const ScanSettings settings = ScanSettings::Load(store);
        StandardExtras extras(settings, Mp3Options::Load(store));
        extras.SetThumbnailMaker([&](CDir& dir, platform::VolumeFolder&, std::string_view folderPath,
                                     const std::filesystem::path& thumbnailFolder, ScanState&,
                                     CScanProgress*) {
            thumbnailCalls.push_back(dir.m_strName.str() + " " + std::string(folderPath) + " " +
                                     thumbnailFolder.filename().string());
            return WalkResult::Finished;
        });
        return DirectoryWalker(volume, settings, catalogDir / "Disk", &extras).Scan(cd, nullptr);
    }

    pelko::test::FakeVolume volume{"/media/disc"};
    settings::MemorySettingsStore store;
    pelko::test::TempDir catalogDir;
    CCD cd;
    std::vector<std::string> thumbnailCalls;
};

TEST_F(StandardExtrasTest, ScanRecordsListingsMemosIconsAndCallsTheThumbnailer) {
    store.WriteInt("Mp3Op", 0x03);
    store.WriteInt("g_bPicScan", 1);
    ASSERT_EQ(Scan(), WalkResult::Finished);

    EXPECT_TRUE(FileOf(cd, "TOOL.EXE")->HasIcon());
    EXPECT_EQ(FileOf(cd, "TOOL.EXE")->m_nFlags & CFileInfo::kFlagIcon, CFileInfo::kFlagIcon);
    ASSERT_TRUE(FileOf(cd, "TOOL.EXE")->m_icon);
    EXPECT_EQ(FileOf(cd, "TOOL.EXE")->m_icon->pixels[0], 0xFFFF0000u);
    for (const char* name : {"lib.dll", "run.com", "broken.exe"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(FileOf(cd, name)->HasIcon());
        EXPECT_EQ(FileOf(cd, name)->m_nFlags, 0);
    }
    EXPECT_EQ(FileOf(cd, "song.mp3")->m_strMemo, "Artist+Title");

    ASSERT_TRUE(ArchiveOf(cd, "Pack.ZIP"));
    EXPECT_EQ(Rendered(*ArchiveOf(cd, "Pack.ZIP")),
              std::vector<std::string>{"docs\\|read.me|12|2020-01-02 03:04:10"});
    ASSERT_TRUE(ArchiveOf(cd, "old.rar"));
    EXPECT_EQ(Rendered(*ArchiveOf(cd, "old.rar")),
              std::vector<std::string>{"a\\|b.txt|3|2011-06-26 14:53:46"});
    ASSERT_TRUE(ArchiveOf(cd, "fake.zip"));
    EXPECT_TRUE(ArchiveOf(cd, "fake.zip")->Files().empty());

    EXPECT_EQ(thumbnailCalls, std::vector<std::string>{"pics /media/disc/pics pics"});
}

TEST_F(StandardExtrasTest, SwitchedOffExtrasRecordNothingExtra) {
    store.WriteInt("ExtractZip", 0);
    store.WriteInt("ExtractMp3", 0);
    store.WriteInt("ExtractExeIcon", 0);
    store.WriteInt("g_bPicScan", 0);
    ASSERT_EQ(Scan(), WalkResult::Finished);
    EXPECT_FALSE(FileOf(cd, "TOOL.EXE")->HasIcon());
    EXPECT_TRUE(FileOf(cd, "song.mp3")->m_strMemo.empty());
    EXPECT_FALSE(ArchiveOf(cd, "Pack.ZIP"));
    EXPECT_TRUE(thumbnailCalls.empty());
}

TEST_F(StandardExtrasTest, ArchiveEntriesCountAgainstTheWholeScanLimit) {
    store.WriteInt("g_bCheckFileLimitDisk", 1);
    store.WriteInt("g_nFileLimitTotal", 9);  // the root's 8 files and one archive entry
    EXPECT_EQ(Scan(), WalkResult::LimitReached) << "passed inside an archive, reported by the scan";
    const CDir* zip = ArchiveOf(cd, "Pack.ZIP");
    const CDir* rar = ArchiveOf(cd, "old.rar");
    ASSERT_TRUE(zip && rar);
    // Sub-folders are walked in name order: old.rar, then Pack.ZIP (case-insensitive).
    EXPECT_EQ(rar->Files().size(), 1u);
    EXPECT_TRUE(zip->Files().empty());
}

}  // namespace
}  // namespace pelko::scan
