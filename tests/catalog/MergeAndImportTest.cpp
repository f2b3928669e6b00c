#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CatalogMerge.h"
#include "catalog/DiscFileImport.h"
#include "catalog/DiscStore.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;
using text::Local;

// A catalog folder with its own document, log and script.
struct Catalog {
    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    CPelkoDoc doc{dir.path(), log, ui};

    Catalog() { EXPECT_TRUE(doc.LoadCatalog()); }
    CRootCategory& Root() { return *doc.Root(); }
    CDiskInfo* Entry(CCategory& category, std::string_view name, std::uint32_t serial) {
        CDiskInfo* entry = category.AddNewEntry(name, log);
        entry->m_strVolumeLabel = "L";
        entry->m_dwVolumeSerial = serial;
        entry->m_nFileCount = serial;
        return entry;
    }
};

TEST(MergeTest, TreesMergeByNameKeepingThisSidesMemos) {
    Catalog here;
    Catalog other;
    CCategory* shared = here.Root().AddNewSubcategory("Shared", here.log, here.ui);
    shared->m_strMemo = "ours";
    here.Entry(*shared, "X", 1);

    CCategory* theirs = other.Root().AddNewSubcategory("Shared", other.log, other.ui);
    theirs->m_strMemo = "theirs";
    other.Entry(*theirs, "X", 99)->m_strMemo = "another disc of the same name";
    CDiskInfo* y = other.Entry(*theirs, "Y", 2);
    y->m_strMemo = "y memo";
    y->m_reserved = {1, 2, 3, 4, 5, 6, 7, 8};
    CCategory* only = other.Root().AddNewSubcategory("OnlyThere", other.log, other.ui);
    only->m_strMemo = "only memo";
    CCategory* deep = only->AddNewSubcategory("Deep", other.log, other.ui);
    other.Entry(*deep, "Z", 3);
    ASSERT_TRUE(other.doc.SaveCatalog());

    auto loaded = LoadOtherCatalog(other.dir.path());
    ASSERT_NE(loaded, nullptr);
    here.doc.SetModified(false);
    MergeCounts counts;
    MergeCategory(*loaded, here.Root(), here.log, here.ui, {}, counts);

    EXPECT_TRUE(here.doc.IsModified());
    EXPECT_EQ(shared->m_strMemo, "ours");
    EXPECT_EQ(shared->FindEntry("X")->m_dwVolumeSerial, 1u);  // matched by name alone
    const CDiskInfo* mergedY = shared->FindEntry("Y");
    ASSERT_NE(mergedY, nullptr);
    EXPECT_EQ(mergedY->m_strMemo, "y memo");
    EXPECT_EQ(mergedY->m_nFileCount, 2u);
    EXPECT_EQ(mergedY->m_reserved, (std::array<std::uint8_t, 8>{}));
    const CCategory* mergedOnly = here.Root().FindSubcategory("OnlyThere");
    ASSERT_NE(mergedOnly, nullptr);
    EXPECT_EQ(mergedOnly->m_strMemo, "only memo");
    ASSERT_NE(mergedOnly->FindSubcategory("Deep"), nullptr);
    EXPECT_TRUE(mergedOnly->FindSubcategory("Deep")->HasEntry("Z"));
    EXPECT_EQ(counts.entries, 2);
    EXPECT_EQ(counts.categories, 2);
}

TEST(MergeTest, MergingACatalogIntoItselfAddsNothing) {
    Catalog here;
    here.Entry(*here.Root().AddNewSubcategory("A", here.log, here.ui), "X", 1);
    ASSERT_TRUE(here.doc.SaveCatalog());
    here.dir.WriteFile("Disk/L1.pkb.zip", "zip");
    auto self = LoadOtherCatalog(here.dir.path());
    ASSERT_NE(self, nullptr);
    MergeCounts counts;
    MergeCategory(*self, here.Root(), here.log, here.ui, {}, counts);
    EXPECT_FALSE(here.doc.IsModified());
    const DiskFolderCopy copy = CopyOtherDiskFolder(here.dir / "Disk", here.dir / "Disk", here.log);
    EXPECT_EQ(copy.copied, 0u);
    EXPECT_TRUE(copy.failed.empty());
}

TEST(MergeTest, OtherCatalogFilesAreReadByTheirOwnRules) {
    Catalog source;
    source.Root().AddNewSubcategory("Mark", source.log, source.ui);
    const std::vector<std::uint8_t> withHeader = CatalogBytes(source.Root(), source.doc.History());
    std::vector<std::uint8_t> headerless;  // the old file had no header
    {
        CArchive ar(headerless, CArchive::Mode::Store);
        source.Root().CCategory::Serialize(ar);
        ar.Close();
    }
    auto write = [](const fs::path& file, const std::vector<std::uint8_t>& bytes) {
        test::WriteFileBytes(file, bytes);
    };
    test::TempDir dir;
    write(dir / "a/tnk.dat", withHeader);
    write(dir / "b/tnk.dat", headerless);  // a tnk.dat without its header is read without it
    write(dir / "c/pelko.pkb", headerless);
    write(dir / "d/tnk.dat", {1, 2, 3});
    for (const char* folder : {"a", "b", "c"}) {
        SCOPED_TRACE(folder);
        EXPECT_TRUE(HoldsCatalogFile(dir / folder));
        auto root = LoadOtherCatalog(dir / folder);
        ASSERT_NE(root, nullptr);
        EXPECT_TRUE(root->HasSubcategory("Mark"));
    }
    EXPECT_EQ(LoadOtherCatalog(dir / "d"), nullptr);
    EXPECT_FALSE(HoldsCatalogFile(dir / "e"));
    EXPECT_EQ(LoadOtherCatalog(dir / "e"), nullptr);
}

TEST(MergeTest, DiskFolderCopyRules) {
    test::TempDir other;
    test::TempDir here;
    other.WriteFile("Disk/New1.pkb", "new plain");
    other.WriteFile("Disk/New2.pkb.zip", "new zip");
    other.WriteFile("Disk/Have1.pkb", "their plain");
    other.WriteFile("Disk/Have2.pkb", "their plain");
    other.WriteFile("Disk/Have3.pkb.zip", "their zip");
    other.WriteFile("Disk/cover.jpg", "cover");
    other.WriteFile("Disk/.pkb", "no name");
    other.WriteFile("Disk/New3.pkb.pic/a.jpg", "thumb");
    other.WriteFile("Disk/Have4.pkb.pic/b.jpg", "thumb");
    other.WriteFile("secret.pkb", "outside");
    ASSERT_EQ(::symlink((other / "secret.pkb").c_str(), (other / "Disk/Link.pkb").c_str()), 0);
    ASSERT_EQ(::symlink(other.path().c_str(), (other / "Disk/Linked.pic").c_str()), 0);
    here.WriteFile("Disk/Have1.pkb", "ours");
    here.WriteFile("Disk/Have2.pkb.zip", "ours");
    here.WriteFile("Disk/Have3.pkb", "ours");
    here.WriteFile("Disk/Have4.pkb.pic/c.jpg", "ours");

    // Their Have3.pkb.zip stays behind: beside our plain Have3.pkb it would be the newer copy
    // and replace our content.
    test::RecordingLog log;
    const DiskFolderCopy copy = CopyOtherDiskFolder(other / "Disk", here / "Disk", log);
    EXPECT_EQ(copy.copied, 3u);
    EXPECT_TRUE(copy.failed.empty());
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(test::ReadFile(here / "Disk/Have3.pkb"), "ours");
    EXPECT_EQ(test::ReadFile(here / "Disk/New1.pkb"), "new plain");
    EXPECT_EQ(test::ReadFile(here / "Disk/New2.pkb.zip"), "new zip");
    EXPECT_EQ(test::ReadFile(here / "Disk/New3.pkb.pic/a.jpg"), "thumb");
    EXPECT_EQ(test::ReadFile(here / "Disk/Have1.pkb"), "ours");
    for (const char* absent :
         {"Have1.pkb.zip", "Have2.pkb", "Have3.pkb.zip", "Have4.pkb.pic/b.jpg", "cover.jpg", ".pkb", "Link.pkb",
          "Linked.pic"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(here / "Disk" / absent))) << absent;
}

TEST(MergeTest, EntriesWhoseDiscFilesCannotBeCopiedAreLeftOutAndReported) {
    Catalog here;
    Catalog other;
    CCategory* theirs = other.Root().AddNewSubcategory("Theirs", other.log, other.ui);
    other.Entry(*theirs, "Big", 1);
    other.Entry(*theirs, "Small", 2);
    ASSERT_TRUE(other.doc.SaveCatalog());
    other.dir.WriteFile("Disk/L1.pkb.zip", std::string(64 * 1024, 'b'));
    other.dir.WriteFile("Disk/L1.pkb.pic/t.jpg", "thumb");
    other.dir.WriteFile("Disk/L2.pkb.zip", "small");

    const fs::path thisDisk = here.dir / "Disk";
    DiskFolderCopy copy;
    {
        const test::FileSizeLimit diskFull(16 * 1024);  // room for all but the big disc file
        copy = CopyOtherDiskFolder(other.dir / "Disk", thisDisk, here.log);
    }
    ASSERT_EQ(copy.failed, std::vector<fs::path>{thisDisk / "L1.pkb.zip"});
    EXPECT_EQ(copy.MissingDiscFiles(thisDisk), std::set<std::string>{"L1.pkb"});
    auto loaded = LoadOtherCatalog(other.dir.path());
    ASSERT_NE(loaded, nullptr);
    MergeCounts counts;
    MergeCategory(*loaded, here.Root(), here.log, here.ui, copy.MissingDiscFiles(thisDisk), counts);

    const CCategory* merged = here.Root().FindSubcategory("Theirs");
    ASSERT_NE(merged, nullptr);
    EXPECT_FALSE(merged->HasEntry("Big")) << "it would point at a disc file that is not there";
    EXPECT_TRUE(merged->HasEntry("Small"));
    EXPECT_EQ(counts.entries, 1);
    EXPECT_EQ(counts.leftOut, 1);
    EXPECT_FALSE(fs::exists(thisDisk / "L1.pkb.zip")) << "no torn copy is left";
    std::vector<std::string> errors;
    for (const auto& [kind, line] : here.log.Lines())
        if (kind == MessageKind::Error) errors.push_back(text::ToUtf8(line));
    EXPECT_EQ(errors, (std::vector<std::string>{"复制文件 " + (thisDisk / "L1.pkb.zip").string() + " 失败",
                                                "光盘 Big 的光盘文件没能复制过来，这张光盘没有合并"}));
}

// A disc file header of a given version, followed by an empty folder.
std::vector<std::uint8_t> DiscFileBytes(std::uint8_t version, std::string_view signature,
                                        std::string_view label, std::uint32_t serial) {
    std::vector<std::uint8_t> bytes;
    CArchive ar(bytes, CArchive::Mode::Store);
    ar.WriteString(signature);
    ar.WriteString(label);
    ar.WriteDword(serial);
    ar.WriteDword(255);
    ar.WriteDword(0);
    ar.WriteString("CDFS");
    ar.WriteByte(version);
    if (version >= 0x23) {
        ar.WriteByte(CCD::kKindFixedDir);
        ar.WriteString("readme");
    }
    if (version >= 0x25) ar.WriteString("/media/x");
    if (version >= 0x31) {
        ar.WriteDouble(1000);
        ar.WriteDouble(900);
        ar.WriteDword(12);
        ar.WriteDword(3);
    }
    CDir folder;
    folder.Serialize(ar);
    ar.Close();
    return bytes;
}

class ImportTest : public ::testing::Test {
protected:
    fs::path Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
        const fs::path file = outside / relative;
        test::WriteFileBytes(file, bytes);
        return file;
    }
    int Add(std::vector<fs::path> files) {
        DiscFileImport import(here.Root(), discs, here.log, here.ui);
        return import.AddFiles(files);
    }
    NewObjectAnswer Answer(CCategory* category, std::string name) {
        return NewObjectAnswer{category, name, "memo"};
    }

    Catalog here;
    test::TempDir outside;
    DiscStore discs{here.dir.path(), here.log};
};

TEST_F(ImportTest, NewAndOldVersionFilesBecomeEntries) {
    const fs::path current = Write("Cur123.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "Cur", 123));
    const fs::path old = Write("Old7.pkb", DiscFileBytes(0x30, CCD::kSignature, "", 7));
    here.ui.newObjects = {Answer(&here.Root(), "Current"), Answer(&here.Root(), "Old")};
    EXPECT_EQ(Add({current, old}), 2);

    EXPECT_EQ(here.ui.presets, (std::vector<std::string>{"Cur", "7"}));
    EXPECT_EQ(text::ToUtf8(here.ui.prompts[0]), "加入光盘文件Cur123.pkb");
    const CDiskInfo* added = here.Root().FindEntry("Current");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->m_nKind, CCD::kKindFixedDir);
    EXPECT_EQ(added->m_strFolderPath, "/media/x");
    EXPECT_EQ(added->m_dScanBytes, 1000);
    EXPECT_EQ(added->m_nFileCount, 12u);
    EXPECT_EQ(added->m_strMemo, "memo");
    EXPECT_FALSE(added->IsOldVersion());
    EXPECT_TRUE(here.Root().FindEntry("Old")->IsOldVersion());
    EXPECT_TRUE(fs::exists(discs.DiskFolder() / "Cur123.pkb"));
    EXPECT_TRUE(fs::exists(discs.DiskFolder() / "Old7.pkb"));
}

TEST_F(ImportTest, EachFileIsCheckedInTurn) {
    here.Entry(*here.Root().AddNewSubcategory("Cat", here.log, here.ui), "Known", 5);
    const fs::path notPkb = Write("list.txt", DiscFileBytes(CCD::kVersion, CCD::kSignature, "A", 1));
    const fs::path forged = Write("Forged.pkb", DiscFileBytes(CCD::kVersion, "not the signature", "A", 1));
    std::vector<std::uint8_t> cut = DiscFileBytes(CCD::kVersion, CCD::kSignature, "T", 1);
    cut.resize(45);  // the signature and a little more
    const fs::path torn = Write("Torn.pkb", cut);
    const fs::path known = Write("L5.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "L", 5));
    const fs::path cancelled = Write("C1.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "C", 1));
    EXPECT_EQ(Add({notPkb, forged, torn, known, cancelled}), 0);

    const std::string shown = text::ToUtf8(text::FromUtf8(outside.path().native()));
    EXPECT_EQ(here.log.Utf8Lines(MessageKind::Error),
              (std::vector<std::string>{
                  "不是光盘文件，光盘文件的扩展名为pkb", "文件 " + shown + "/Forged.pkb 并非真正的光盘文件",
                  "打开光盘文件 " + shown + "/Torn.pkb 失败，或这个文件并非真正的光盘文件",
                  "该光盘已经存在，路径为 Pelko\\Cat\\Known"}));
    EXPECT_EQ(here.ui.presets, std::vector<std::string>{"C"});   // only the last got as far as the dialog
    EXPECT_TRUE(fs::exists(discs.DiskFolder() / "Forged.pkb"));  // the copy made before the checks stays
    EXPECT_FALSE(fs::exists(discs.DiskFolder() / "list.txt"));
}

TEST_F(ImportTest, ConfirmingWithoutACategoryStopsTheCommand) {
    const fs::path a = Write("A1.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "A", 1));
    const fs::path b = Write("B2.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "B", 2));
    here.ui.newObjects = {Answer(nullptr, "A"), Answer(&here.Root(), "B")};
    EXPECT_EQ(Add({a, b}), 0);
    EXPECT_EQ(here.ui.presets.size(), 1u);
}

TEST_F(ImportTest, AFileAlreadyInTheDiskFolderIsNotCopiedAgain) {
    const std::vector<std::uint8_t> bytes = DiscFileBytes(CCD::kVersion, CCD::kSignature, "D", 4);
    const fs::path inside = discs.DiskFolder() / "D4.pkb";
    test::WriteFileBytes(inside, bytes);
    // A different file of the same name elsewhere never replaces the one here either.
    const fs::path elsewhere = Write("E/D4.pkb", DiscFileBytes(CCD::kVersion, CCD::kSignature, "E", 4));
    here.ui.newObjects = {Answer(&here.Root(), "D"), Answer(&here.Root(), "E")};
    EXPECT_EQ(Add({inside, elsewhere}), 2);
    const std::string kept = test::ReadFile(inside);
    EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()), bytes);
}

}  // namespace
}  // namespace pelko::catalog
