#include "shell/CatalogBrowser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "settings/SettingsStore.h"
#include "shell/AppSettings.h"
#include "shell/CatalogEditor.h"
#include "shell/MediumLocator.h"
#include "support/DiscBuilder.h"
#include "support/RecordingChanges.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using catalog::MessageKind;
using text::Local;

class FakeMedia final : public MediumLocator {
public:
    std::vector<MountedMedium> MountedMedia() override { return media; }
    std::vector<MountedMedium> media;
};

// Music\Disc1 holds Songs\a.mp3, Songs\b.mp3, pack.zip (listed as a folder too) and notes.txt;
// 深淺\淺灘 (names whose second bytes are 0x5C) holds the folder 淺 with x.txt.
class CatalogBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.LoadCatalog());
        editor.ReportChangesTo(&changes);
        music = doc.Root()->AddNewSubcategory("Music", log, ui);
        shallow = doc.Root()->AddNewSubcategory(Local("深淺"), log, ui);
        ASSERT_NE(music, nullptr);
        ASSERT_NE(shallow, nullptr);
        ASSERT_EQ(Local("淺")[1], '\\');
        disc1 = &test::AddDisc(dir.path(), *music, "Disc1", "DISC1", 1, [](catalog::CCD& cd) {
            CDir& songs = test::AddFolder(cd, "Songs");
            test::AddFile(songs, "a.mp3").SetSize(3 << 20);
            test::AddFile(songs, "b.mp3").SetSize(1 << 20);
            test::AddFolder(cd, "pack.zip").m_nDirKind = CDir::kKindArchive;
            test::AddFile(cd, "pack.zip");
            test::AddFile(cd, "notes.txt");
        });
        disc2 = &test::AddDisc(dir.path(), *shallow, Local("淺灘"), "SHALLOW", 2, [](catalog::CCD& cd) {
            test::AddFile(test::AddFolder(cd, Local("淺")), "x.txt");
        });
        doc.SetModified(false);
    }

    std::string Path(const CatalogObject& node) { return text::ToUtf8(browser.NodePath(node)); }
    CDir* OpenDisc() { return editor.Open().cd.get(); }
    CDir* Folder(std::string_view name) {
        for (const auto& sub : OpenDisc()->Subdirs())
            if (sub->m_strName == name) return sub.get();
        return nullptr;
    }
    CFileInfo* File(CDir& folder, std::string_view name) {
        for (const auto& file : folder.Files())
            if (file->m_strName == name) return file.get();
        return nullptr;
    }
    RowOpening OpenFile(CFileInfo* file) {
        const CatalogObject row = file;
        return browser.OpenRow(std::span(&row, 1));
    }

    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{dir.path(), log, ui};
    catalog::DiscStore discs{dir.path(), log};
    BusyState busy;
    settings::MemorySettingsStore store;
    CatalogEditor editor{doc, discs, busy, store, true};
    test::RecordingChanges changes;
    AppSettings settings;
    FakeMedia media;
    std::vector<fs::path> opened;
    CatalogBrowser browser{doc,  discs,    editor, changes,
                           busy, settings, media,  [this](const fs::path& path) { opened.push_back(path); }};
    CCategory* music = nullptr;
    CCategory* shallow = nullptr;
    CDiskInfo* disc1 = nullptr;
    CDiskInfo* disc2 = nullptr;
};

TEST_F(CatalogBrowserTest, ResolvePathWalksCategoriesEntriesAndFolders) {
    struct Row {
        const char* path;
        bool recognised;
        const char* nodePath;  // of the node to select
        const char* row;       // name of the row to select; empty for none
    };
    const Row rows[] = {
        {"Pelko\\Music\\Disc1\\Songs\\a.mp3", true, "Pelko\\Music\\Disc1\\Songs", "a.mp3"},
        {"Software\\Music\\Disc1\\Songs\\a.mp3", false, "", ""},
        {"Music\\Disc1", false, "", ""},
        {" pelko \\ MUSIC\\nowhere\\ disc1 \\\\SONGS \\ A.MP3 ", true, "Pelko\\Music\\Disc1\\Songs", "a.mp3"},
        {"Pelko\\Music\\Disc1\\Songs\\", true, "Pelko\\Music\\Disc1\\Songs", ""},
        {"Pelko\\Music\\Disc1\\notes.txt", true, "Pelko\\Music\\Disc1", "notes.txt"},
        {"Pelko\\Music\\Disc1\\readme", true, "Pelko\\Music\\Disc1", "ReadMe"},
        {"Pelko\\Music\\Disc1\\Songs\\c.mp3", true, "Pelko\\Music\\Disc1\\Songs", ""},
        {"Pelko\\深淺\\淺灘\\淺\\x.txt", true, "Pelko\\深淺\\淺灘\\淺", "x.txt"},
        {"Pelko", true, "Pelko", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        ASSERT_TRUE(browser.CloseOpenScanObject());
        const GoToPathResult result = browser.ResolvePath(Local(row.path));
        EXPECT_EQ(result.recognised, row.recognised);
        if (!row.recognised) {
            EXPECT_EQ(OpenDisc(), nullptr) << "an unrecognised path opens nothing";
            continue;
        }
        EXPECT_EQ(Path(result.node), row.nodePath);
        ASSERT_EQ(result.row.has_value(), *row.row != '\0');
        if (result.row) {
            EXPECT_EQ(text::ToUtf8(test::RecordingChanges::NameOf(*result.row)), row.row);
        }
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CatalogBrowserTest, AnEntryNamedLastIsLeftForTheSelectionToOpen) {
    GoToPathResult result = browser.ResolvePath("Pelko\\Music\\Disc1");
    EXPECT_EQ(result.node, CatalogObject(disc1));
    EXPECT_EQ(OpenDisc(), nullptr);

    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    result = browser.ResolvePath("Pelko\\Music\\Disc1");
    EXPECT_EQ(result.node, CatalogObject(OpenDisc())) << "the open entry's node is its disc";
}

TEST_F(CatalogBrowserTest, ListingScanObjectsOnlyHangsEveryEntryBelowTheRoot) {
    settings.bListDiskOnly = true;
    const GoToPathResult result = browser.ResolvePath(Local("Pelko\\淺灘\\淺\\x.txt"));
    ASSERT_TRUE(result.recognised);
    EXPECT_EQ(Path(result.node), "Pelko\\淺灘\\淺");
    EXPECT_TRUE(result.row.has_value());
    EXPECT_EQ(browser.TreeParent(disc1), CatalogObject(doc.Root()));
    // No category node to walk through: the category's part is skipped like any unknown part.
    EXPECT_EQ(Path(browser.ResolvePath("Pelko\\Music\\Disc1\\Songs\\a.mp3").node), "Pelko\\Disc1\\Songs");
    EXPECT_EQ(text::ToUtf8(browser.StatusLine(doc.Root())).rfind("0 个类别, ", 0), 0u);

    settings.bListDiskOnly = false;
    EXPECT_EQ(Path(disc2), "Pelko\\深淺\\淺灘");
    EXPECT_EQ(browser.TreeParent(disc1), CatalogObject(music));
}

TEST_F(CatalogBrowserTest, OpeningAnOldEntryFillsItsStatisticsOnce) {
    ASSERT_TRUE(disc1->IsOldVersion());
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    EXPECT_EQ(disc1->m_nFileCount, 4u);
    EXPECT_EQ(disc1->m_nFolderCount, 2u);
    EXPECT_EQ(disc1->m_dCurrentBytes, double(4 << 20));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"changed Disc1", "opened Disc1"}));
    EXPECT_EQ(text::ToUtf8(browser.StatusLine(OpenDisc())), "2 个目录,  2 个文件, 占用空间：4.000MB");

    // Closing writes the counted disc back; the second opening finds nothing to fill.
    ASSERT_TRUE(browser.CloseOpenScanObject());
    doc.SetModified(false);
    changes.calls.clear();
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"opened Disc1"}));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CatalogBrowserTest, SelectingAnotherEntryClosesTheOpenOneUnlessItsChangesCannotBeWritten) {
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    OpenDisc()->m_strMemo = "changed";
    OpenDisc()->AsCD()->m_bModified = true;
    changes.calls.clear();

    // A Disk folder that cannot be written to: the disc and its change stay in memory.
    fs::rename(discs.DiskFolder(), dir / "Disk.away");
    dir.WriteFile("Disk", "not a folder");
    EXPECT_FALSE(browser.BeforeSelect(disc2).allowed);
    ASSERT_NE(OpenDisc(), nullptr);
    EXPECT_EQ(OpenDisc()->m_strMemo, "changed");
    EXPECT_TRUE(editor.Open().IsOpen(disc1));
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"closing Disc1", "opened Disc1"}));
    EXPECT_FALSE(log.Utf8Lines(MessageKind::Error).empty());

    fs::remove(dir / "Disk");
    fs::rename(dir / "Disk.away", discs.DiskFolder());
    changes.calls.clear();
    EXPECT_TRUE(browser.BeforeSelect(disc2).allowed);
    EXPECT_EQ(OpenDisc(), nullptr);
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"closing Disc1"}));
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    EXPECT_EQ(OpenDisc()->m_strMemo, "changed");
}

TEST_F(CatalogBrowserTest, AnEntryWithoutDiscFileIsOfferedForDeletionFromItsCategory) {
    ASSERT_EQ(browser.OpenEntry(*disc2), EntryOpening::Opened);
    fs::remove(discs.ZipPath("DISC1", 1));

    const SelectionCheck check = browser.BeforeSelect(disc1);
    EXPECT_FALSE(check.allowed);
    EXPECT_EQ(check.selectInstead, std::optional<CatalogObject>(music));
    EXPECT_EQ(check.offerDeletion, disc1);
    EXPECT_EQ(OpenDisc(), nullptr) << "the open scan object is closed first";
    EXPECT_EQ(log.Utf8Lines(MessageKind::Warning),
              std::vector<std::string>{"这个对象的扫描文件不存在，需要删除"});

    // The list's delete asks before the entry goes.
    ui.answers = {true};
    const CatalogObject row = check.offerDeletion;
    EXPECT_TRUE(editor.DeleteFromList(std::span(&row, 1)));
    EXPECT_EQ(ui.questions, std::vector<std::string>{Local("删除光盘 'Disc1'？")});
    EXPECT_TRUE(music->Entries().empty());

    // A plain disc file alone is enough.
    dir.WriteFile((discs.PlainPath("SHALLOW", 2)).native(), "x");
    fs::remove(discs.ZipPath("SHALLOW", 2));
    EXPECT_TRUE(browser.BeforeSelect(disc2).allowed);
}

TEST_F(CatalogBrowserTest, AnUnreadableDiscAsksWhetherToDeleteTheEntry) {
    dir.WriteFile(discs.ZipPath("DISC1", 1).native(), "not a zip");
    EXPECT_EQ(browser.OpenEntry(*disc1), EntryOpening::Failed);
    EXPECT_EQ(OpenDisc(), nullptr);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error).back(), "打开光盘 Disc1  失败");
    EXPECT_EQ(ui.questions, std::vector<std::string>{Local("删除光盘 'Disc1'？")});
    EXPECT_EQ(music->Entries().size(), 1u);
    EXPECT_FALSE(doc.IsModified());

    ui.answers = {true};
    EXPECT_EQ(browser.OpenEntry(*disc1), EntryOpening::Removed);
    EXPECT_TRUE(music->Entries().empty());
    EXPECT_EQ(changes.calls, std::vector<std::string>{"remove Disc1 from Music"});
    EXPECT_TRUE(doc.IsModified());

    // On the way along a path, a disc that cannot be read leaves the walk at its category.
    dir.WriteFile(discs.ZipPath("SHALLOW", 2).native(), "not a zip");
    const GoToPathResult result = browser.ResolvePath(Local("Pelko\\深淺\\淺灘\\淺\\x.txt"));
    EXPECT_EQ(result.node, CatalogObject(shallow));
}

TEST_F(CatalogBrowserTest, NodePathsFollowTheOpenDisc) {
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    CDir* songs = Folder("Songs");
    ASSERT_NE(songs, nullptr);
    EXPECT_EQ(Path(doc.Root()), "Pelko");
    EXPECT_EQ(Path(music), "Pelko\\Music");
    EXPECT_EQ(Path(OpenDisc()), "Pelko\\Music\\Disc1");
    EXPECT_EQ(Path(songs), "Pelko\\Music\\Disc1\\Songs");
    EXPECT_EQ(browser.TreeParent(OpenDisc()), CatalogObject(music));
    EXPECT_EQ(browser.TreeChildren(music), std::vector<CatalogObject>{OpenDisc()});

    // Folders of a disc that is no longer open have no place in the tree.
    catalog::CCD detached;
    EXPECT_EQ(Path(&test::AddFolder(detached, "x")), "");
}

TEST_F(CatalogBrowserTest, OpeningRowsSelectsNodesOrArchiveFolders) {
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    const std::vector<CatalogObject> rows = {music, disc1, Folder("Songs"), File(*OpenDisc(), "pack.zip")};
    const std::vector<CatalogObject> nodes = {music, OpenDisc(), Folder("Songs"), Folder("pack.zip")};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowOpening opening = browser.OpenRow(std::span(&rows[i], 1));
        EXPECT_EQ(opening.action, RowOpening::Action::SelectNode) << i;
        EXPECT_EQ(opening.node, nodes[i]) << i;
    }

    EXPECT_EQ(browser.OpenRow(std::span(rows.data(), 2)).action, RowOpening::Action::None);
    EXPECT_EQ(ui.messages, std::vector<std::string>{Local("请选择一个项目后再行'打开...'")});
    busy.Set(Busy::Scanning);
    EXPECT_EQ(browser.OpenRow(std::span(rows.data(), 1)).action, RowOpening::Action::None);
    busy.Set(Busy::Searching);
    EXPECT_EQ(browser.OpenRow(std::span(rows.data(), 1)).action, RowOpening::Action::None);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error),
              (std::vector<std::string>{"正在扫描光盘，不能进行编辑操作", "正在查找，不能进行编辑操作"}));
}

TEST_F(CatalogBrowserTest, AFileOpensFromTheMountedMediumOfItsLabelAndSerial) {
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    CFileInfo* song = File(*Folder("Songs"), "a.mp3");

    // Not mounted, or mounted media whose label or serial differ.
    media.media = {{"/media/other", "DISC1", 7, std::nullopt}, {"/media/x", "DISC2", 1, std::nullopt}};
    EXPECT_EQ(OpenFile(song).action, RowOpening::Action::None);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint), std::vector<std::string>{"请在光驱中插入光盘 Disc1 "});
    disc1->m_nKind = catalog::CCD::kKindFixedDisk;
    EXPECT_EQ(OpenFile(song).action, RowOpening::Action::None);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint).back(), "不存在此硬盘目录 Disc1 ");
    EXPECT_TRUE(opened.empty());

    // The label in other letter case; the serial in either byte order.
    media.media.push_back({"/media/cdrom", "disc1", 9, 1});
    EXPECT_EQ(OpenFile(song).action, RowOpening::Action::OpenedOnMedium);
    EXPECT_EQ(opened, std::vector<fs::path>{"/media/cdrom/Songs/a.mp3"});

    // A folder scan opens from its stored folder while that exists.
    disc1->m_nKind = catalog::CCD::kKindFixedDir;
    disc1->m_strFolderPath = dir.MakeFolder("music").string();
    opened.clear();
    EXPECT_EQ(OpenFile(File(*OpenDisc(), "notes.txt")).action, RowOpening::Action::OpenedOnMedium);
    EXPECT_EQ(opened, std::vector<fs::path>{dir / "music" / "notes.txt"});
    fs::remove(dir / "music");
    EXPECT_EQ(OpenFile(song).action, RowOpening::Action::None);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint).back(), "不存在此硬盘目录 Disc1 ");
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(CatalogBrowserTest, NamesThatWouldLeaveTheMediumAreNotOpened) {
    ASSERT_EQ(browser.OpenEntry(*disc1), EntryOpening::Opened);
    media.media = {{"/media/cdrom", "DISC1", 1, std::nullopt}};
    CDir& up = test::AddFolder(*OpenDisc(), "..");
    EXPECT_EQ(OpenFile(&test::AddFile(up, "passwd")).action, RowOpening::Action::None);
    EXPECT_EQ(OpenFile(&test::AddFile(*OpenDisc(), "a/b")).action, RowOpening::Action::None);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace pelko::shell
