// What the editing commands tell the views: each change once, at the moment it happens, and
// nothing for a command that is refused or changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "settings/SettingsStore.h"
#include "shell/CatalogChanges.h"
#include "shell/CatalogEditor.h"
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
using text::Local;

template <class List, class Item>
bool Holds(const List& list, const Item* item) {
    return std::any_of(list.begin(), list.end(), [&](const auto& child) { return child.get() == item; });
}

// Whether `object` is a child of `parent` right now.
bool IsChildOf(const CatalogObject& object, const CatalogObject& parent) {
    return std::visit(Overloaded{
                          [&](CCategory* c) {
                              CCategory* const* p = std::get_if<CCategory*>(&parent);
                              return p && Holds((*p)->Subcategories(), c);
                          },
                          [&](CDiskInfo* e) {
                              CCategory* const* p = std::get_if<CCategory*>(&parent);
                              return p && Holds((*p)->Entries(), e);
                          },
                          [&](CDir* d) {
                              CDir* const* p = std::get_if<CDir*>(&parent);
                              return p && Holds((*p)->Subdirs(), d);
                          },
                          [&](CFileInfo* f) {
                              CDir* const* p = std::get_if<CDir*>(&parent);
                              return p && Holds((*p)->Files(), f);
                          },
                          [](ReadmeRow) { return false; },
                      },
                      object);
}

// Checks, as each report arrives, that the model is in the state the report promises.
class TimingCheck final : public CatalogChanges {
public:
    explicit TimingCheck(CatalogEditor& editor) : m_editor(editor) {}

    void Added(const CatalogObject& object, const CatalogObject& parent) override {
        EXPECT_TRUE(IsChildOf(object, parent)) << "reported before it was added";
    }
    void AboutToRemove(const CatalogObject& object, const CatalogObject& parent) override {
        EXPECT_TRUE(IsChildOf(object, parent)) << "reported after it was removed";
        if (CDiskInfo* const* entry = std::get_if<CDiskInfo*>(&object)) {
            EXPECT_NE(m_editor.Open().entry, *entry) << "removed while still open";
        }
    }
    void Moved(const CatalogObject& object, CCategory* oldParent, CCategory* newParent) override {
        EXPECT_TRUE(IsChildOf(object, newParent)) << "reported before the move";
        EXPECT_FALSE(IsChildOf(object, oldParent));
    }
    void Changed(const CatalogObject& object) override {
        CDiskInfo* const* entry = std::get_if<CDiskInfo*>(&object);
        if (entry && m_editor.Open().IsOpen(*entry)) {
            EXPECT_EQ((*entry)->m_nFileCount, m_editor.Open().cd->m_nFileCount)
                << "statistics not copied yet";
        }
    }
    void ScanObjectOpened(CDiskInfo&, catalog::CCD&) override {}
    void ScanObjectAboutToClose(CDiskInfo& entry, catalog::CCD& cd) override {
        EXPECT_EQ(m_editor.Open().entry, &entry) << "reported after the disc was dropped";
        EXPECT_EQ(m_editor.Open().cd.get(), &cd);
    }
    void Reset() override {}

private:
    CatalogEditor& m_editor;
};

// Top ── Music (memo "old") ── Inner
//  │        └── Disc1, open: "cd" ── sub ── a.txt, b.txt
//  ├── Video
//  └── Disc2
struct Catalog {
    Catalog() {
        EXPECT_TRUE(doc.LoadCatalog());
        top = doc.Root()->AddNewSubcategory("Top", log, ui);
        music = top->AddNewSubcategory("Music", log, ui);
        music->m_strMemo = "old";
        inner = music->AddNewSubcategory("Inner", log, ui);
        video = top->AddNewSubcategory("Video", log, ui);
        disc1 = Entry(*music, "Disc1", 1);
        disc2 = Entry(*top, "Disc2", 2);

        auto loaded = std::make_unique<catalog::CCD>();
        loaded->m_strName = "cd";
        sub = &test::AddFolder(*loaded, "sub");
        a = &test::AddFile(*sub, "a.txt", "memo");
        b = &test::AddFile(*sub, "b.txt");
        cd = loaded.get();
        editor.Open().entry = disc1;
        editor.Open().cd = std::move(loaded);

        fanout.Add(recorded);
        fanout.Add(timing);
        editor.ReportChangesTo(&fanout);
    }

    CDiskInfo* Entry(CCategory& category, std::string_view name, std::uint32_t serial) {
        CDiskInfo* entry = category.AddNewEntry(name, log);
        entry->m_strVolumeLabel = "DISC";
        entry->m_dwVolumeSerial = serial;
        return entry;
    }

    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{dir.path(), log, ui};
    catalog::DiscStore discs{dir.path(), log};
    BusyState busy;
    settings::MemorySettingsStore settings;
    CatalogEditor editor{doc, discs, busy, settings, true};
    test::RecordingChanges recorded;
    TimingCheck timing{editor};
    CatalogChangeFanout fanout;

    CCategory* top = nullptr;
    CCategory* music = nullptr;
    CCategory* inner = nullptr;
    CCategory* video = nullptr;
    CDiskInfo* disc1 = nullptr;
    CDiskInfo* disc2 = nullptr;
    catalog::CCD* cd = nullptr;
    CDir* sub = nullptr;
    CFileInfo* a = nullptr;
    CFileInfo* b = nullptr;
};

using Objects = std::vector<CatalogObject>;

struct Case {
    const char* name;
    std::function<void(Catalog&)> run;
    std::vector<std::string> expected;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Catalog catalog;
        c.run(catalog);
        EXPECT_EQ(catalog.recorded.calls, c.expected);
    }
}

TEST(CatalogEditorChangesTest, NamesAndMemos) {
    RunCases({
        {"new category",
         [](Catalog& k) {
             const CatalogObject at = k.top;
             k.editor.NewCategory(&at);
         },
         {"added " + Local("新建类别2") + " to Top"}},
        {"new category under an entry is refused",
         [](Catalog& k) {
             const CatalogObject at = k.disc2;
             k.editor.NewCategory(&at);
         },
         {}},
        {"new category whose name is taken",
         [](Catalog& k) {
             k.top->AddNewSubcategory(Local("新建类别3"), k.log, k.ui);
             const CatalogObject at = k.top;
             k.editor.NewCategory(&at);
         },
         {}},
        {"rename category in the list",
         [](Catalog& k) { k.editor.RenameInList(k.video, " Films "); },
         {"changed Films"}},
        {"rename to a sibling's name", [](Catalog& k) { k.editor.RenameInList(k.video, "Music"); }, {}},
        {"rename to blanks", [](Catalog& k) { k.editor.RenameInList(k.video, "  "); }, {}},
        {"rename the open entry", [](Catalog& k) { k.editor.RenameInList(k.disc1, "Uno"); }, {"changed Uno"}},
        {"rename a folder", [](Catalog& k) { k.editor.RenameInList(k.sub, "Sub2"); }, {"changed Sub2"}},
        {"rename a folder to its own name",
         [](Catalog& k) { EXPECT_FALSE(k.editor.RenameInList(k.sub, "sub")); },
         {}},
        {"rename a file", [](Catalog& k) { k.editor.RenameInList(k.a, "c.txt"); }, {"changed c.txt"}},
        {"rename a file to its own name with the extension hidden",
         [](Catalog& k) {
             k.settings.WriteInt("DispExt", 0);
             EXPECT_FALSE(k.editor.RenameInList(k.a, "a"));
             EXPECT_FALSE(k.cd->m_bModified);
         },
         {}},
        {"rename category in the tree",
         [](Catalog& k) { k.editor.RenameInTree(k.video, "Clips"); },
         {"changed Clips"}},
        {"tree rename that only changes case",
         [](Catalog& k) { k.editor.RenameInTree(k.video, "VIDEO"); },
         {}},
        {"tree rename of the root", [](Catalog& k) { k.editor.RenameInTree(k.doc.Root(), "Other"); }, {}},
        {"tree rename of the open node renames its entry",
         [](Catalog& k) { k.editor.RenameInTree(static_cast<CDir*>(k.cd), "Uno"); },
         {"changed Uno"}},
        {"memo of a category",
         [](Catalog& k) { k.editor.EditMemoInList(k.music, "new"); },
         {"changed Music"}},
        {"memo changed only in case",
         [](Catalog& k) {
             EXPECT_FALSE(k.editor.EditMemoInList(k.music, " OLD "));
             EXPECT_EQ(k.music->m_strMemo, "old");
         },
         {}},
        {"memo of a file", [](Catalog& k) { k.editor.EditMemoInList(k.b, "note"); }, {"changed b.txt"}},
        {"properties of an entry",
         [](Catalog& k) { k.editor.ApplyProperties(k.disc2, "Two", "memo"); },
         {"changed Two"}},
        {"properties of the open entry renamed once",
         [](Catalog& k) {
             k.editor.ApplyProperties(k.disc1, "Uno", "x");
             EXPECT_EQ(k.cd->m_strDisplayName, "Uno");
         },
         {"changed Uno"}},
        {"properties of a folder",
         [](Catalog& k) { k.editor.ApplyProperties(k.sub, "ignored", "m"); },
         {"changed sub"}},
        {"properties unchanged", [](Catalog& k) { k.editor.ApplyProperties(k.music, "Music", "old"); }, {}},
        {"properties with a clashing name and the same memo",
         [](Catalog& k) { k.editor.ApplyProperties(k.video, "Music", ""); },
         {}},
        {"busy edits",
         [](Catalog& k) {
             k.busy.Set(Busy::Searching);
             const CatalogObject at = k.top;
             k.editor.NewCategory(&at);
             k.editor.RenameInList(k.video, "Films");
             k.editor.RenameInTree(k.video, "Films");
             k.editor.EditMemoInList(k.video, "memo");
         },
         {}},
    });
}

TEST(CatalogEditorChangesTest, Deletions) {
    RunCases({
        {"an entry from the list",
         [](Catalog& k) {
             k.ui.answers = {true};
             k.editor.DeleteFromList(Objects{k.disc2});
         },
         {"remove Disc2 from Top"}},
        {"an entry, cancelled", [](Catalog& k) { k.editor.DeleteFromList(Objects{k.disc2}); }, {}},
        {"a category holding the open entry: once, after closing it",
         [](Catalog& k) {
             k.ui.answers = {true};
             k.editor.DeleteFromList(Objects{k.music});
             EXPECT_EQ(k.editor.Open().cd, nullptr);
         },
         {"closing Disc1", "remove Music from Top"}},
        {"the open node from the tree",
         [](Catalog& k) {
             k.ui.answers = {true};
             EXPECT_TRUE(k.editor.DeleteFromTree(static_cast<CDir*>(k.cd)));
         },
         {"closing Disc1", "remove Disc1 from Music"}},
        {"files from the list, last first, then the recount",
         [](Catalog& k) {
             k.ui.answers = {true};
             k.editor.DeleteFromList(Objects{k.a, k.b});
         },
         {"remove b.txt from sub", "remove a.txt from sub", "changed Disc1"}},
        {"a folder from the tree",
         [](Catalog& k) {
             k.ui.answers = {true};
             k.editor.DeleteFromTree(k.sub);
         },
         {"remove sub from cd", "changed Disc1"}},
        {"the readme row deletes nothing",
         [](Catalog& k) {
             k.ui.answers = {true};
             EXPECT_FALSE(k.editor.DeleteFromList(Objects{ReadmeRow{}}));
         },
         {}},
        {"the disc's own node from the list deletes nothing",
         [](Catalog& k) {
             k.ui.answers = {true};
             EXPECT_FALSE(k.editor.DeleteFromList(Objects{static_cast<CDir*>(k.cd)}));
             EXPECT_NE(k.editor.Open().cd, nullptr);
         },
         {}},
        {"the root", [](Catalog& k) { k.editor.DeleteFromTree(k.doc.Root()); }, {}},
        {"while searching",
         [](Catalog& k) {
             k.busy.Set(Busy::Searching);
             k.ui.answers = {true, true};
             k.editor.DeleteFromList(Objects{k.disc2});
             k.editor.DeleteFromTree(k.video);
         },
         {}},
        {"recount of the open disc", [](Catalog& k) { k.editor.RefreshOpenTotals(); }, {"changed Disc1"}},
    });
}

TEST(CatalogEditorChangesTest, Moves) {
    RunCases({
        {"paste",
         [](Catalog& k) {
             k.editor.CutObjects(k.top, Objects{k.video, k.disc2});
             k.editor.Paste(k.music);
         },
         {"moved Video Top>Music", "moved Disc2 Top>Music"}},
        {"paste skips a name clash",
         [](Catalog& k) {
             k.music->AddNewSubcategory("Video", k.log, k.ui);
             k.editor.CutObjects(k.top, Objects{k.video, k.disc2});
             k.editor.MoveCutTo(k.music);
         },
         {"moved Disc2 Top>Music"}},
        {"paste into its own subtree",
         [](Catalog& k) {
             k.editor.CutObjects(k.top, Objects{k.music});
             k.editor.MoveCutTo(k.inner);
         },
         {}},
        {"paste onto an entry",
         [](Catalog& k) {
             k.editor.CutObjects(k.top, Objects{k.video});
             k.editor.Paste(k.disc2);
         },
         {}},
        {"drop a category", [](Catalog& k) { k.editor.Drop(k.video, k.music); }, {"moved Video Top>Music"}},
        {"drop an entry", [](Catalog& k) { k.editor.Drop(k.disc1, k.top); }, {"moved Disc1 Music>Top"}},
        {"drops that move nothing",
         [](Catalog& k) {
             k.editor.Drop(k.video, k.top);
             k.editor.Drop(k.music, k.inner);
             k.editor.Drop(k.disc2, k.top);
             k.editor.Drop(k.disc2, nullptr);
         },
         {}},
        {"while searching",
         [](Catalog& k) {
             k.busy.Set(Busy::Searching);
             k.editor.Drop(k.video, k.music);
             k.editor.CutObjects(k.top, Objects{k.disc2});
             k.editor.MoveCutTo(k.music);
         },
         {}},
    });
}

TEST(CatalogEditorChangesTest, ChangesAllOverReset) {
    test::TempDir other;
    {
        // A catalog like ours but for one more category, and a disc file made elsewhere.
        test::RecordingLog log;
        test::ScriptedUi ui;
        catalog::CPelkoDoc doc{other.path(), log, ui};
        ASSERT_TRUE(doc.LoadCatalog());
        doc.Root()->AddNewSubcategory("Extra", log, ui);
        ASSERT_TRUE(doc.SaveCatalog());
    }
    test::TempDir same;
    {
        test::RecordingLog log;
        test::ScriptedUi ui;
        catalog::CPelkoDoc doc{same.path(), log, ui};
        ASSERT_TRUE(doc.LoadCatalog());
        ASSERT_TRUE(doc.SaveCatalog());
    }
    test::TempDir elsewhere;
    CCategory scratch;
    test::AddDisc(elsewhere.path(), scratch, "Made", "NEW", 77, [](catalog::CCD&) {});
    test::RecordingLog quiet;
    const catalog::DiscStore made{elsewhere.path(), quiet};
    const fs::path discFile =
        fs::exists(made.ZipPath("NEW", 77)) ? made.ZipPath("NEW", 77) : made.PlainPath("NEW", 77);

    RunCases({
        {"sort", [](Catalog& k) { k.editor.Sort(); }, {"reset"}},
        {"sort while searching",
         [](Catalog& k) {
             k.busy.Set(Busy::Searching);
             k.editor.Sort();
         },
         {}},
        {"merge",
         [&](Catalog& k) {
             k.ui.folder = other.path();
             EXPECT_TRUE(k.editor.Merge());
         },
         {"reset"}},
        {"merge that adds nothing",
         [&](Catalog& k) {
             k.ui.folder = same.path();
             EXPECT_TRUE(k.editor.Merge());
         },
         {}},
        {"merge cancelled", [](Catalog& k) { k.editor.Merge(); }, {}},
        {"disc files",
         [&](Catalog& k) {
             k.ui.files.files = {discFile};
             k.ui.newObjects = {catalog::NewObjectAnswer{k.top, "Imported", ""}};
             EXPECT_EQ(k.editor.AddDiscFiles(), 1);
         },
         {"added Imported to Top"}},
        {"disc files cancelled", [](Catalog& k) { EXPECT_EQ(k.editor.AddDiscFiles(), 0); }, {}},
    });
}

TEST(CatalogEditorChangesTest, NobodyListening) {
    Catalog k;
    k.editor.ReportChangesTo(nullptr);
    k.ui.answers = {true};
    EXPECT_TRUE(k.editor.DeleteFromList(Objects{k.music}));
    EXPECT_TRUE(k.editor.RenameInList(k.video, "Films"));
    EXPECT_TRUE(k.editor.Sort());
    EXPECT_TRUE(k.recorded.calls.empty());
}

}  // namespace
}  // namespace pelko::shell
