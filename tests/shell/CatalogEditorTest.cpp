#include "shell/CatalogEditor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "catalog/ExportPaths.h"
#include "settings/SettingsStore.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using catalog::MessageKind;
using text::Local;

std::vector<std::string> Utf8(const std::vector<std::string>& model) {
    std::vector<std::string> out;
    for (const auto& s : model) out.push_back(text::ToUtf8(s));
    return out;
}

class CatalogEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.LoadCatalog());
        top = doc.Root()->AddNewSubcategory(Local("测试"), log, ui);
        ASSERT_NE(top, nullptr);
    }

    CDiskInfo* AddEntry(CCategory& category, std::string_view name, std::uint32_t serial) {
        CDiskInfo* entry = category.AddNewEntry(Local(name), log);
        entry->m_strVolumeLabel = "DISC";
        entry->m_dwVolumeSerial = serial;
        return entry;
    }

    // Every file that belongs to an entry on the disk.
    std::vector<fs::path> FilesOf(const CDiskInfo& entry) {
        fs::create_directories(discs.DiskFolder());
        const std::vector<fs::path> files = {
            discs.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial),
            discs.ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial),
            catalog::EntryExportPage(dir.path(), entry, ".htm"),
            catalog::EntryExportPage(dir.path(), entry, ".txt"),
        };
        for (const fs::path& file : files) {
            dir.WriteFile(file.native(), "x");  // an absolute path stays as it is
        }
        const fs::path pictures = discs.PictureFolder(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        fs::create_directories(pictures);
        dir.WriteFile((pictures / "a.jpg").native(), "x");
        std::vector<fs::path> all = files;
        all.push_back(pictures);
        return all;
    }

    // A loaded disc for `entry` with folder "sub" holding the given files.
    catalog::CCD& OpenDisc(CDiskInfo& entry, std::vector<std::string> fileNames) {
        auto cd = std::make_unique<catalog::CCD>();
        auto sub = std::make_unique<CDir>();
        sub->m_strName = "sub";
        CDir* folder = cd->InsertSubdir(std::move(sub));
        for (const auto& name : fileNames) {
            auto file = std::make_unique<CFileInfo>();
            file->m_strName = Local(name);
            file->SetSize(10);
            folder->InsertFile(std::move(file));
        }
        editor.Open().entry = &entry;
        editor.Open().cd = std::move(cd);
        return *editor.Open().cd;
    }

    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{dir.path(), log, ui};
    catalog::DiscStore discs{dir.path(), log};
    BusyState busy;
    settings::MemorySettingsStore settings;
    CatalogEditor editor{doc, discs, busy, settings, true};
    CCategory* top = nullptr;
};

TEST_F(CatalogEditorTest, NewCategoriesAreNumberedBySiblingCount) {
    const CatalogObject current = top;
    EXPECT_EQ(text::ToUtf8(editor.NewCategory(&current)->m_strName), "新建类别0");
    EXPECT_EQ(text::ToUtf8(editor.NewCategory(&current)->m_strName), "新建类别1");
    EXPECT_EQ(text::ToUtf8(editor.NewCategory(&current)->m_strName), "新建类别2");

    // With 新建类别0 and 新建类别2 gone, one sibling is left, so the next name is 新建类别1,
    // which is taken.
    ui.answers = {true};
    ASSERT_TRUE(editor.DeleteFromList(std::vector<CatalogObject>{top->FindSubcategory(Local("新建类别0"))}));
    ui.answers = {true};
    ASSERT_TRUE(editor.DeleteFromList(std::vector<CatalogObject>{top->FindSubcategory(Local("新建类别2"))}));
    EXPECT_EQ(editor.NewCategory(&current), nullptr);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint), std::vector<std::string>{"目录 新建类别1 已经存在"});
    EXPECT_EQ(top->Subcategories().size(), 1u);

    const CatalogObject entry = AddEntry(*top, "盘", 1);
    EXPECT_EQ(editor.NewCategory(&entry), nullptr);
    EXPECT_EQ(Utf8(ui.messages), std::vector<std::string>{"只能在类别中添加子类别!"});
}

TEST_F(CatalogEditorTest, BusyStateRefusesWithTheOperationsOwnText) {
    struct Case {
        Busy state;
        std::string expected;
    };
    const Case cases[] = {
        {Busy::Scanning,
         "正在扫描光盘，不能新建类别|正在扫描光盘，不能进行删除操作|正在扫描光盘，不能进行编辑操作"},
        {Busy::Searching,
         "正在查找，不能新建类别|正在查找，不能进行删除操作|正在查找，不能进行编辑操作|"
         "正在查找，不能进行删除操作|"
         "正在查找，不能移动类别或光盘|正在查找，不能合并光盘库"},
    };
    const CatalogObject current = top;
    for (const Case& c : cases) {
        test::RecordingLog quiet;
        catalog::CPelkoDoc other{dir.path(), quiet, ui};
        ASSERT_TRUE(other.LoadCatalog());
        BusyState state;
        state.Set(c.state);
        CatalogEditor busyEditor{other, discs, state, settings, true};
        EXPECT_EQ(busyEditor.NewCategory(&current), nullptr);
        EXPECT_FALSE(busyEditor.DeleteFromList(std::vector<CatalogObject>{top}));
        EXPECT_FALSE(busyEditor.RenameInList(top, "x"));
        // The tree's own commands only stop for a search: a scan never touches the tree.
        busyEditor.DeleteFromTree(top);
        busyEditor.MoveCutTo(top);
        busyEditor.Merge();
        std::string joined;
        for (const auto& line : quiet.Utf8Lines(MessageKind::Error))
            joined += (joined.empty() ? "" : "|") + line;
        EXPECT_EQ(joined, c.expected);
    }
    EXPECT_EQ(top->Subcategories().size(), 0u);
}

TEST_F(CatalogEditorTest, RenameRulesOfListAndTree) {
    CCategory* music = top->AddNewSubcategory("Music", log, ui);
    top->AddNewSubcategory("Video", log, ui);
    CDiskInfo* first = AddEntry(*top, "One", 1);
    AddEntry(*top, "Two", 2);

    EXPECT_FALSE(editor.RenameInTree(music, "music"));  // same name but for case: unchanged
    EXPECT_EQ(music->m_strName, "Music");
    EXPECT_TRUE(editor.RenameInList(music, "  music \t"));  // the list takes it, trimmed
    EXPECT_EQ(music->m_strName, "music");
    EXPECT_FALSE(editor.RenameInList(music, "Video"));
    EXPECT_FALSE(editor.RenameInList(first, "Two"));
    EXPECT_FALSE(editor.RenameInList(first, "   "));
    EXPECT_FALSE(editor.RenameInTree(doc.Root(), "Other"));
    EXPECT_EQ(first->m_strName, "One");
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint),
              (std::vector<std::string>{"类别 Video 已经存在", "光盘 Two 已经存在"}));
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error), std::vector<std::string>{"名称不能为空"});

    // The open object's node renames its entry and the loaded disc's display name.
    catalog::CCD& cd = OpenDisc(*first, {});
    EXPECT_FALSE(editor.RenameInTree(static_cast<CDir*>(&cd), "ONE"));
    EXPECT_TRUE(editor.RenameInTree(static_cast<CDir*>(&cd), "Uno"));
    EXPECT_EQ(first->m_strName, "Uno");
    EXPECT_EQ(cd.m_strDisplayName, "Uno");
}

TEST_F(CatalogEditorTest, RenamingFilesKeepsArchivesAndHiddenExtensions) {
    struct Case {
        const char* oldName;
        const char* typed;
        int dispExt;
        const char* expected;
    };
    const Case cases[] = {
        {"pics.zip", "photos", 1, "pics.zip"},  // archive listings keep their name
        {"Old.RAR", "new", 1, "Old.RAR"},
        {"song.mp3", "tune", 0, "tune.mp3"},  // the list showed "song"
        {"Song.MP3", "tune", 0, "tune.MP3"},  // the extension as it was written
        {"readme", "notes", 0, "notes"},      // nothing to put back
        {"song.mp3", "tune.ogg", 1, "tune.ogg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oldName);
        settings.WriteInt("DispExt", c.dispExt);
        CDiskInfo* entry =
            AddEntry(*top, std::string("e") + c.oldName + c.typed + std::to_string(c.dispExt), 7);
        catalog::CCD& cd = OpenDisc(*entry, {"a.txt", c.oldName, "zz.txt"});
        CDir* folder = cd.Subdirs().front().get();
        CFileInfo* file = nullptr;
        for (const auto& f : folder->Files())
            if (f->m_strName.view() == c.oldName) file = f.get();
        ASSERT_NE(file, nullptr);
        cd.m_bModified = false;
        const bool renamed = editor.RenameInList(file, c.typed);
        EXPECT_EQ(file->m_strName.view(), c.expected);
        EXPECT_EQ(renamed, cd.m_bModified);
        // The folder's list stays in name order for the look-ups that rely on it.
        for (std::size_t i = 1; i < folder->Files().size(); ++i)
            EXPECT_LE(text::CompareNoCase(folder->Files()[i - 1]->m_strName, folder->Files()[i]->m_strName),
                      0);
    }
}

TEST_F(CatalogEditorTest, DeletingACategoryTakesEveryFileOfItsEntries) {
    CCategory* doomed = top->AddNewSubcategory("Old", log, ui);
    CCategory* inner = doomed->AddNewSubcategory("Inner", log, ui);
    std::vector<fs::path> files = FilesOf(*AddEntry(*doomed, "A", 1));
    const std::vector<fs::path> more = FilesOf(*AddEntry(*inner, "B", 2));
    files.insert(files.end(), more.begin(), more.end());
    const std::vector<fs::path> kept = FilesOf(*AddEntry(*top, "C", 3));
    doc.SetModified(false);

    ui.answers = {false};
    EXPECT_FALSE(editor.DeleteFromList(std::vector<CatalogObject>{doomed}));
    EXPECT_EQ(Utf8(ui.questions), std::vector<std::string>{"删除类别 'Old'？"});
    ui.answers = {true};
    EXPECT_TRUE(editor.DeleteFromList(std::vector<CatalogObject>{doomed}));

    EXPECT_FALSE(top->HasSubcategory("Old"));
    EXPECT_TRUE(doc.IsModified());
    for (const fs::path& file : files) EXPECT_TRUE(fs::exists(file)) << "deleted before the save: " << file;
    ASSERT_TRUE(doc.SaveCatalog());
    for (const fs::path& file : files) EXPECT_FALSE(fs::exists(file)) << file;
    for (const fs::path& file : kept) EXPECT_TRUE(fs::exists(file)) << file;
}

TEST_F(CatalogEditorTest, FilesOfADeletedEntryStayUntilACatalogWithoutItIsSaved) {
    CDiskInfo* entry = AddEntry(*top, "A", 1);
    const std::vector<fs::path> files = FilesOf(*entry);
    ASSERT_TRUE(doc.SaveCatalog());
    ui.answers = {true};
    ASSERT_TRUE(editor.DeleteFromTree(entry));

    // The catalog cannot be written (a folder where its file goes): the saved catalog still
    // names the entry, so its files must stay.
    const fs::path catalogFile = dir / "tnk.dat";
    fs::rename(catalogFile, dir / "saved.dat");
    fs::create_directory(catalogFile);
    EXPECT_FALSE(doc.SaveCatalog());
    for (const fs::path& file : files) EXPECT_TRUE(fs::exists(file)) << file;
    fs::remove(catalogFile);
    fs::rename(dir / "saved.dat", catalogFile);

    // The same disc filed again before the save keeps its disc files and thumbnails, which are
    // its own again; the pages exported for the deleted entry go.
    CDiskInfo* again = AddEntry(*top, "A again", 1);
    ASSERT_TRUE(doc.SaveCatalog());
    for (const fs::path& file : files) EXPECT_EQ(fs::exists(file), file.extension() != ".htm" && file.extension() != ".txt") << file;

    ui.answers = {true};
    ASSERT_TRUE(editor.DeleteFromTree(again));
    ASSERT_TRUE(doc.SaveCatalog());
    for (const fs::path& file : files) EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CatalogEditorTest, ThumbnailFoldersStayWhenTheSettingIsOff) {
    CatalogEditor keeping{doc, discs, busy, settings, false};
    CDiskInfo* entry = AddEntry(*top, "A", 1);
    const std::vector<fs::path> files = FilesOf(*entry);
    ui.answers = {true};
    EXPECT_TRUE(keeping.DeleteFromTree(entry));
    ASSERT_TRUE(doc.SaveCatalog());
    EXPECT_FALSE(fs::exists(files[0]));
    EXPECT_TRUE(fs::exists(files.back()));  // the ".pic" folder
}

TEST_F(CatalogEditorTest, DeletingTheOpenEntryDropsItsDiscUnsaved) {
    CDiskInfo* entry = AddEntry(*top, "A", 1);
    const std::vector<fs::path> files = FilesOf(*entry);
    catalog::CCD& cd = OpenDisc(*entry, {"a.txt"});
    cd.m_bModified = true;
    ui.answers = {true};
    EXPECT_TRUE(editor.DeleteFromTree(static_cast<CDir*>(&cd)));  // the node stands for its entry
    EXPECT_EQ(editor.Open().cd, nullptr);
    EXPECT_FALSE(top->HasEntry("A"));
    ASSERT_TRUE(doc.SaveCatalog());
    for (const fs::path& file : files) EXPECT_FALSE(fs::exists(file)) << file;
}

TEST_F(CatalogEditorTest, DeletingInsideTheOpenDiscRecountsIt) {
    CDiskInfo* entry = AddEntry(*top, "A", 1);
    catalog::CCD& cd = OpenDisc(*entry, {"a.txt", "b.txt", "c.txt"});
    CDir* folder = cd.Subdirs().front().get();
    const std::vector<CatalogObject> two = {folder->Files()[0].get(), folder->Files()[2].get()};
    ui.answers = {true};
    EXPECT_TRUE(editor.DeleteFromList(two));
    EXPECT_EQ(Utf8(ui.questions), std::vector<std::string>{"这些项目将被删除，继续？"});
    ASSERT_EQ(folder->Files().size(), 1u);
    EXPECT_EQ(folder->Files()[0]->m_strName.view(), "b.txt");
    EXPECT_EQ(entry->m_nFileCount, 1u);
    EXPECT_EQ(entry->m_nFolderCount, 1u);
    EXPECT_EQ(entry->m_dCurrentBytes, 10.0);
    EXPECT_TRUE(cd.m_bModified);
}

TEST_F(CatalogEditorTest, ListAndTreeRefusals) {
    EXPECT_FALSE(editor.DeleteFromList({}));
    EXPECT_FALSE(editor.DeleteFromTree(doc.Root()));
    EXPECT_FALSE(editor.PropertiesOf({}));
    EXPECT_FALSE(editor.PropertiesOf(std::vector<CatalogObject>{ReadmeRow{}}));
    EXPECT_FALSE(editor.Paste(AddEntry(*top, "A", 1)));
    EXPECT_EQ(Utf8(ui.messages), (std::vector<std::string>{
                                     "请先选择待删除的项", "不能删除顶级目录!", "请选择一个项目后再进行编辑",
                                     "不能对其进行备注编辑", "只可以把剪切项目粘贴在类别下"}));
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(CatalogEditorTest, PropertiesByKind) {
    CCategory* category = top->AddNewSubcategory("Cat", log, ui);
    CDiskInfo* entry = AddEntry(*top, "Disc", 1);
    catalog::CCD& cd = OpenDisc(*entry, {"f.txt"});
    CDir* folder = cd.Subdirs().front().get();
    CFileInfo* file = folder->Files().front().get();
    struct Case {
        CatalogObject object;
        const char* title;
    };
    const Case cases[] = {{category, "设置类别的备注信息"},
                          {entry, "设置对象的备注信息"},
                          {folder, "设置文件夹的备注信息"},
                          {file, "设置文件的备注信息"}};
    for (const Case& c : cases) {
        const auto form = editor.PropertiesOf(std::vector<CatalogObject>{c.object});
        ASSERT_TRUE(form);
        EXPECT_EQ(text::ToUtf8(form->title), c.title);
        editor.ApplyProperties(c.object, form->name + "2", "memo");
    }
    EXPECT_EQ(category->m_strName, "Cat2");
    EXPECT_EQ(category->m_strMemo, "memo");
    EXPECT_EQ(entry->m_strName, "Disc2");
    EXPECT_EQ(folder->m_strName.view(), "sub");  // only memos change inside a disc
    EXPECT_EQ(file->m_strMemo.view(), "memo");
    EXPECT_TRUE(cd.m_bModified);
}

TEST_F(CatalogEditorTest, PasteRefusesOwnSubtreeAndNameClashes) {
    CCategory* a = top->AddNewSubcategory("A", log, ui);
    CCategory* below = a->AddNewSubcategory("Below", log, ui);
    CCategory* b = top->AddNewSubcategory("B", log, ui);
    b->AddNewSubcategory("C", log, ui);
    CCategory* c = top->AddNewSubcategory("C", log, ui);
    CDiskInfo* disc = AddEntry(*top, "Disc", 1);
    AddEntry(*b, "Disc", 2);
    CDiskInfo* other = AddEntry(*top, "Other", 3);

    editor.CutObjects(top, std::vector<CatalogObject>{a, disc});
    EXPECT_EQ(editor.Paste(below), nullptr);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Warning), std::vector<std::string>{"不能移动[A]到子类别[Below]"});
    EXPECT_EQ(a->m_pParent, top);
    EXPECT_TRUE(editor.Cut().objects.empty());  // the cut list is used once

    editor.CutObjects(top, std::vector<CatalogObject>{c, disc, other});
    EXPECT_EQ(editor.Paste(b), b);
    EXPECT_EQ(
        log.Utf8Lines(MessageKind::Warning),
        (std::vector<std::string>{"不能移动[A]到子类别[Below]", "已经存在类别 [C]，它将不会移动到新的类别",
                                  "已经存在光盘 [Disc]，不能移动"}));
    EXPECT_EQ(c->m_pParent, top);
    EXPECT_EQ(disc->m_pCategory, top);
    EXPECT_EQ(other->m_pCategory, b);
    EXPECT_TRUE(b->HasEntry("Other"));
    EXPECT_FALSE(top->HasEntry("Other"));
}

TEST_F(CatalogEditorTest, DropRules) {
    CCategory* a = top->AddNewSubcategory("A", log, ui);
    CCategory* inner = a->AddNewSubcategory("Inner", log, ui);
    CCategory* b = top->AddNewSubcategory("B", log, ui);
    b->AddNewSubcategory("A", log, ui);
    CCategory* c = top->AddNewSubcategory("C", log, ui);
    CDiskInfo* disc = AddEntry(*top, "Disc", 1);
    AddEntry(*c, "Disc", 2);

    EXPECT_EQ(editor.Drop(a, inner), CatalogObject(a));  // into its own subtree: only selected
    EXPECT_EQ(editor.Drop(a, top), CatalogObject(a));    // onto its parent: only selected
    EXPECT_EQ(editor.Drop(a, nullptr), CatalogObject(a));
    EXPECT_EQ(editor.Drop(a, b), CatalogObject(a));  // B has an "A": both stay
    EXPECT_EQ(a->m_pParent, top);
    EXPECT_EQ(editor.Drop(a, c), CatalogObject(a));
    EXPECT_EQ(a->m_pParent, c);
    EXPECT_EQ(inner->m_pParent, a);

    EXPECT_EQ(editor.Drop(disc, c), CatalogObject(c));  // moved, with a notice about the twin
    EXPECT_EQ(disc->m_pCategory, c);
    EXPECT_EQ(c->Entries().size(), 2u);
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint),
              (std::vector<std::string>{"类别 A 已经存在", "有同名项目存在 'Disc', 最好更名"}));
}

TEST_F(CatalogEditorTest, CutObjectsThatAreDeletedAreForgotten) {
    CCategory* a = top->AddNewSubcategory("A", log, ui);
    CDiskInfo* disc = AddEntry(*a, "Disc", 1);
    CCategory* b = top->AddNewSubcategory("B", log, ui);
    editor.CutObjects(a, std::vector<CatalogObject>{disc});
    ui.answers = {true};
    ASSERT_TRUE(editor.DeleteFromTree(a));
    EXPECT_TRUE(editor.Cut().objects.empty());
    EXPECT_EQ(editor.Paste(b), nullptr);
    EXPECT_TRUE(b->Entries().empty());
}

}  // namespace
}  // namespace pelko::shell
