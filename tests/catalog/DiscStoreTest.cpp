#include "catalog/DiscStore.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <chrono>
#include <filesystem>

#include "catalog/CArchive.h"
#include "catalog/CDiskInfo.h"
#include "catalog/ZipStore.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;

class DiscStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::RecordingLog log;
    DiscStore store{dir.path(), log};

    std::unique_ptr<CCD> SampleDisc(std::string label = "DATA", std::uint32_t serial = 3735928559u) {
        auto cd = std::make_unique<CCD>();
        cd->m_strVolumeLabel = std::move(label);
        cd->m_dwVolumeSerial = serial;
        cd->m_strName = "D:";
        auto file = std::make_unique<CFileInfo>();
        file->m_strName = text::Local("文件.txt");
        file->m_strMemo = "memo";
        file->SetSize(42);
        cd->InsertFile(std::move(file));
        cd->m_bModified = true;
        return cd;
    }

    CDiskInfo EntryFor(const std::string& label, std::uint32_t serial) {
        CDiskInfo entry;
        entry.m_strName = "entry";
        entry.m_strVolumeLabel = label;
        entry.m_dwVolumeSerial = serial;
        return entry;
    }

    std::vector<std::string> Errors() {
        std::vector<std::string> out;
        for (const auto& [kind, text] : log.Lines())
            if (kind == MessageKind::Error) out.push_back(text::ToUtf8(text));
        return out;
    }

    std::vector<std::string> DiskFiles() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(store.DiskFolder())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A ZIP holding `content` under the entry name `entryName`.
    void WriteZip(const fs::path& zip, const std::string& entryName, const std::string& content) {
        const fs::path source = dir / "source.bin";
        test::TempDir scratch;
        scratch.WriteFile("x", content);
        fs::create_directories(zip.parent_path());
        ASSERT_TRUE(WriteZipWithFile(zip, entryName, scratch / "x"));
    }
};

TEST_F(DiscStoreTest, ReleaseLeavesOnlyTheZipAndOpenReadsItBack) {
    auto sample = SampleDisc();
    ASSERT_TRUE(store.Release(sample));
    EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(DiskFiles(), (std::vector<std::string>{"DATA3735928559.pkb.zip"}));

    auto cd = store.Open(EntryFor("DATA", 3735928559u));
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_strDisplayName, "entry");
    EXPECT_EQ(cd->m_strName, "") << "the stored root name is not used after loading";
    ASSERT_EQ(cd->Files().size(), 1u);
    EXPECT_EQ(cd->Files()[0]->m_strName, text::Local("文件.txt"));
    EXPECT_EQ(cd->Files()[0]->Size(), 42u);
    EXPECT_TRUE(Errors().empty());

    // Opened but unchanged: releasing writes nothing and leaves only the ZIP.
    ASSERT_TRUE(store.Release(cd));
    EXPECT_EQ(DiskFiles(), (std::vector<std::string>{"DATA3735928559.pkb.zip"}));
}

TEST_F(DiscStoreTest, NewerPlainFileWinsOverTheZipAndReachesItOnRelease) {
    auto first = SampleDisc();
    ASSERT_TRUE(store.Release(first));
    // A save that was never compressed (the program stopped in between).
    auto changed = SampleDisc();
    changed->m_strReadme = "newer";
    ASSERT_TRUE(store.Save(*changed));
    EXPECT_FALSE(changed->m_bModified);
    EXPECT_TRUE(changed->m_bSaved);

    auto cd = store.Open(EntryFor("DATA", 3735928559u));
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_strReadme, "newer");
    ASSERT_TRUE(store.Release(cd)) << "released unchanged";
    EXPECT_EQ(DiskFiles(), (std::vector<std::string>{"DATA3735928559.pkb.zip"}));
    auto again = store.Open(EntryFor("DATA", 3735928559u));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_strReadme, "newer") << "the newer content must survive an unchanged release";
    EXPECT_TRUE(Errors().empty());
}

TEST_F(DiscStoreTest, PlainFileOlderThanTheZipIsNotRead) {
    const fs::path plain = store.PlainPath("DATA", 3735928559u);
    const fs::path zip = store.ZipPath("DATA", 3735928559u);
    auto current = SampleDisc();
    current->m_strReadme = "current";
    ASSERT_TRUE(store.Save(*current));
    ASSERT_TRUE(WriteZipWithFile(zip, "DATA3735928559.pkb", plain));
    // A copy the ZIP has replaced (its removal did not happen).
    auto stale = SampleDisc();
    stale->m_strReadme = "stale";
    ASSERT_TRUE(store.Save(*stale));
    fs::last_write_time(plain, fs::last_write_time(zip) - std::chrono::hours(1));

    auto cd = store.Open(EntryFor("DATA", 3735928559u));
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_strReadme, "current");
    ASSERT_TRUE(store.Release(cd));
    EXPECT_EQ(DiskFiles(), (std::vector<std::string>{"DATA3735928559.pkb.zip"}));
    EXPECT_EQ(store.Open(EntryFor("DATA", 3735928559u))->m_strReadme, "current");
}

TEST_F(DiscStoreTest, OpenFailuresReportTheirReason) {
    fs::create_directories(store.DiskFolder());
    EXPECT_EQ(store.Open(EntryFor("NONE", 1)), nullptr);
    EXPECT_TRUE(Errors().empty()) << "a missing disc file is reported by the caller";

    dir.WriteFile("Disk/BAD1.pkb", std::string("\x05hello rest", 11));
    EXPECT_EQ(store.Open(EntryFor("BAD", 1)), nullptr);

    std::vector<std::uint8_t> truncated;
    {
        CArchive ar(truncated, CArchive::Mode::Store);
        ar.WriteString(CCD::kSignature);
        ar.WriteString("label");
    }
    dir.WriteFile("Disk/CUT2.pkb", std::string(truncated.begin(), truncated.end()));
    EXPECT_EQ(store.Open(EntryFor("CUT", 2)), nullptr);

    const std::string plain = (store.DiskFolder() / "BAD1.pkb").string();
    const std::string cut = (store.DiskFolder() / "CUT2.pkb").string();
    EXPECT_EQ(Errors(), (std::vector<std::string>{
                            "文件 " + plain + " 并非真正的扫描后对象文件",
                            "打开这个扫描对象文件 " + cut + " 失败，或这个文件并非真正的扫描后的对象文件",
                        }));
}

TEST_F(DiscStoreTest, ZipWithoutTheEntryOrWithDamagedDataFails) {
    WriteZip(store.ZipPath("OTHER", 3), "unrelated.pkb", "x");
    EXPECT_EQ(store.Open(EntryFor("OTHER", 3)), nullptr);
    const std::string plain = (store.DiskFolder() / "OTHER3.pkb").string();
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0], "这个扫描对象文件 " + plain + " 打开失败，原因可能是文件不存在");

    // Flip a byte of the compressed data: the CRC no longer matches.
    auto crc = SampleDisc("CRC", 4);
    ASSERT_TRUE(store.Release(crc));
    const fs::path zip = store.ZipPath("CRC", 4);
    std::string bytes = test::ReadFile(zip);
    bytes[30 + std::string("CRC4.pkb").size() + 5] ^= 0x55;
    dir.WriteFile("Disk/CRC4.pkb.zip", bytes);
    EXPECT_EQ(store.Open(EntryFor("CRC", 4)), nullptr);
    EXPECT_EQ(Errors().size(), 2u);
}

TEST_F(DiscStoreTest, ZipEntryNamesNeverReachTheDisk) {
    // An entry named with folders is matched by its last component only, and nothing is
    // extracted, so "../" cannot write outside the Disk folder.
    auto cd = SampleDisc("EVIL", 5);
    ASSERT_TRUE(store.Save(*cd));
    const fs::path plain = store.PlainPath("EVIL", 5);
    const fs::path zip = store.ZipPath("EVIL", 5);
    ASSERT_TRUE(WriteZipWithFile(zip, "../../EVIL5.pkb", plain));
    fs::remove(plain);
    auto opened = store.Open(EntryFor("EVIL", 5));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Files().size(), 1u);
    EXPECT_EQ(DiskFiles(), (std::vector<std::string>{"EVIL5.pkb.zip"}));
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "EVIL5.pkb"));
}

TEST_F(DiscStoreTest, FailedReleaseKeepsTheOldFileAndHandsTheDiscBack) {
    auto first = SampleDisc();
    ASSERT_TRUE(store.Release(first));
    const std::string before = test::ReadFile(store.ZipPath("DATA", 3735928559u));
    // A folder standing where the plain file must go makes the final rename fail.
    const fs::path blocker = store.PlainPath("DATA", 3735928559u) / "blocker";
    fs::create_directories(blocker);
    auto cd = SampleDisc();
    cd->m_strReadme = "scanned";
    EXPECT_FALSE(store.Release(cd));
    EXPECT_EQ(test::ReadFile(store.ZipPath("DATA", 3735928559u)), before);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("保存光盘文件"), std::string::npos);
    for (const auto& e : fs::directory_iterator(store.DiskFolder()))
        EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << "temporary file left: " << e.path();

    // The scan is still there, changes and all, and goes to the disk once there is room.
    ASSERT_NE(cd, nullptr);
    EXPECT_TRUE(cd->m_bModified);
    fs::remove_all(blocker.parent_path());
    ASSERT_TRUE(store.Release(cd));
    EXPECT_EQ(store.Open(EntryFor("DATA", 3735928559u))->m_strReadme, "scanned");
}

TEST_F(DiscStoreTest, OldEntryIsRefreshedFromItsDisc) {
    auto cd = SampleDisc();
    CDiskInfo entry = EntryFor("DATA", 3735928559u);
    ASSERT_TRUE(RefreshOldEntry(*cd, entry));
    EXPECT_EQ(entry.m_nFileCount, 1u);
    EXPECT_EQ(entry.m_dCurrentBytes, 42.0);
    EXPECT_TRUE(cd->m_bModified);
    EXPECT_FALSE(RefreshOldEntry(*cd, entry)) << "a disc with totals is left alone";
}

TEST_F(DiscStoreTest, UnsafeLabelsMakeSafeFileNames) {
    EXPECT_EQ(store.PlainPath("a/b", 1).filename(), "a_b1.pkb");
    EXPECT_EQ(store.PlainPath(text::Local("光盘"), 0).filename(), "光盘0.pkb");
    EXPECT_EQ(store.PlainPath("", 0).filename(), "0.pkb");
}

}  // namespace
}  // namespace pelko::catalog
