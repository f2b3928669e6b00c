#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/CArchive.h"
#include "catalog/CCategory.h"
#include "catalog/CFindHistory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DefaultCatalog.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using text::Local;

std::vector<std::string> Names(const CCategory& category) {
    std::vector<std::string> names;
    for (const auto& sub : category.Subcategories()) names.push_back(text::ToUtf8(sub->m_strName));
    return names;
}

std::vector<std::string> EntryNames(const CCategory& category) {
    std::vector<std::string> names;
    for (const auto& entry : category.Entries()) names.push_back(text::ToUtf8(entry->m_strName));
    return names;
}

std::vector<std::string> Hints(const test::RecordingLog& log) {
    std::vector<std::string> out;
    for (const auto& [kind, line] : log.Lines())
        if (kind == MessageKind::Hint) out.push_back(text::ToUtf8(line));
    return out;
}

Bytes FileBytes(const fs::path& path) {
    const std::string s = test::ReadFile(path);
    return Bytes(s.begin(), s.end());
}

TEST(CatalogTest, HeaderKeepsThePasswordBackwards) {
    struct Case {
        const char* password;
        Bytes start;
    };
    const Case cases[] = {
        {"", {0x33, 0x00, 0x11, 0x22, 0x33, 0x00, CCategory::kVersion}},
        {"abc", {0x33, 0x00, 0x11, 0x22, 0x33, 0x03, 'c', 'b', 'a', CCategory::kVersion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        CRootCategory root;
        root.m_strPassword = c.password;
        Bytes bytes;
        CArchive out(bytes, CArchive::Mode::Store);
        root.Serialize(out);
        ASSERT_GE(bytes.size(), c.start.size());
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.start.size())), c.start);

        CRootCategory back;
        CArchive in(bytes, CArchive::Mode::Load);
        back.Serialize(in);
        EXPECT_FALSE(back.m_bBadHeader);
        EXPECT_EQ(back.m_strPassword, c.password);
        EXPECT_EQ(in.RemainingBound(), 0u);
    }
    const Bytes headerless = DefaultCatalogBytes();
    CRootCategory root;
    CArchive in(headerless);
    root.Serialize(in);
    EXPECT_TRUE(root.m_bBadHeader);
    EXPECT_TRUE(root.Subcategories().empty()) << "the body is not read after a bad header";
}

TEST(CatalogTest, DefaultCatalogHoldsTheSixCategories) {
    const Bytes bytes = DefaultCatalogBytes();
    ASSERT_EQ(bytes.size(), 811u);
    EXPECT_EQ(Bytes(bytes.end() - 5, bytes.end()), (Bytes{0, 0, 0, 0, 0}))
        << "empty history, then three zero bytes";
    CRootCategory root;
    root.m_bExpectHeader = false;
    CFindHistory history;
    CArchive ar(bytes);
    root.Serialize(ar);
    history.Serialize(ar);
    EXPECT_TRUE(history.Strings().empty());
    EXPECT_EQ(Names(root), (std::vector<std::string>{"图片", "软件", "图书", "游戏", "音乐", "影碟"}));
    const std::vector<std::vector<std::string>> subs = {
        {"旅游", "生活", "素材", "艺术"},
        {"系统软件", "开发工具", "网络工具", "实用工具"},
        {"计算机类资料", "通信类资料", "工程类资料", "文学图书"},
        {"格斗类游戏", "策略类游戏", "角色扮演类游戏", "竞技类游戏"},
        {"港台流行乐", "乡村音乐", "音乐素材", "摇滚乐"},
        {"港片", "韩片", "DV", "西片"},
    };
    for (std::size_t i = 0; i < subs.size(); ++i) {
        const CCategory& category = *root.Subcategories()[i];
        EXPECT_EQ(Names(category), subs[i]);
        EXPECT_TRUE(category.Entries().empty());
        EXPECT_EQ(category.Subcategories()[0]->m_pParent, &category);
    }
}

TEST(CatalogTest, InsertionRuleAndSort) {
    test::RecordingLog log;
    test::ScriptedUi ui;
    CRootCategory root;
    for (const char* name : {"B", "A", "C"}) root.AddNewSubcategory(name, log, ui);
    EXPECT_EQ(Names(root), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(root.Sort());
    EXPECT_EQ(Names(root), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(root.Sort()) << "an ascending tree does not change again";
    root.AddNewSubcategory("D", log, ui);
    EXPECT_EQ(Names(root), (std::vector<std::string>{"D", "A", "B", "C"}));

    for (const char* name : {"b", "A", "c", "a2"}) root.AddNewEntry(name, log);
    EXPECT_EQ(EntryNames(root), (std::vector<std::string>{"c", "b", "a2", "A"}));
    CCategory& d = *root.FindSubcategory("D");
    d.AddNewSubcategory("z", log, ui);
    d.AddNewSubcategory("Y", log, ui);
    d.AddNewSubcategory("x", log, ui);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"z", "Y", "x"}));
    EXPECT_TRUE(root.Sort());
    EXPECT_EQ(EntryNames(root), (std::vector<std::string>{"A", "a2", "b", "c"}));
    EXPECT_EQ(Names(d), (std::vector<std::string>{"x", "Y", "z"})) << "every level is sorted";
    EXPECT_TRUE(Hints(log).empty());
}

TEST(CatalogTest, DuplicateNamesAreRefusedOrWarned) {
    test::RecordingLog log;
    test::ScriptedUi ui;
    CRootCategory root;
    CCategory* music = root.AddNewSubcategory(Local("音乐"), log, ui);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(root.AddNewSubcategory(Local("音乐"), log, ui), nullptr);
    EXPECT_FALSE(music->SetName(Local("音乐"), log)) << "renaming to its own name is refused";
    EXPECT_TRUE(music->SetName("Music", log));
    EXPECT_NE(root.AddNewSubcategory("music", log, ui), nullptr) << "names are compared with case";

    CDiskInfo* x = music->AddNewEntry("X", log);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(music->AddNewEntry("X", log), nullptr);
    EXPECT_FALSE(SetEntryName(*x, "X", log));
    auto moved = std::make_unique<CDiskInfo>();
    moved->m_strName = "X";
    EXPECT_NE(music->AddExistingEntry(std::move(moved), log), nullptr);
    EXPECT_EQ(EntryNames(*music), (std::vector<std::string>{"X", "X"}));

    auto again = std::make_unique<CCategory>();
    again->m_strName = "Music";
    EXPECT_FALSE(root.AddExistingSubcategory(again, log));
    EXPECT_NE(again, nullptr) << "a refused category stays with the caller";

    EXPECT_EQ(Hints(log), (std::vector<std::string>{
                              "目录 音乐 已经存在",
                              "类别 音乐 已经存在",
                              "光盘 X 已经存在",
                              "光盘 X 已经存在",
                              "有同名项目存在 'X', 最好更名",
                              "类别 Music 已经存在",
                          }));
    EXPECT_TRUE(root.m_bModified);
}

TEST(CatalogTest, PathsAndDepthFirstLookups) {
    test::RecordingLog log;
    test::ScriptedUi ui;
    CRootCategory root;
    CCategory* a = root.AddNewSubcategory("a", log, ui);
    CCategory* b = a->AddNewSubcategory("b", log, ui);
    CDiskInfo* deep = b->AddNewEntry("deep", log);
    deep->m_strVolumeLabel = "DATA";
    deep->m_dwVolumeSerial = 7;
    deep->m_strFolderPath = "/srv";
    CDiskInfo* top = root.AddNewEntry("top", log);
    top->m_strVolumeLabel = "DATA";
    top->m_dwVolumeSerial = 7;
    EXPECT_EQ(b->Path(), "Pelko\\a\\b");
    EXPECT_EQ(EntryPath(*deep), "Pelko\\a\\b\\deep");
    EXPECT_EQ(root.FindEntryByLabel("DATA", 7), top) << "the root's own entries come first";
    EXPECT_EQ(root.FindEntryByLabel("data", 7), nullptr);
    EXPECT_EQ(root.FindEntryByFolderPath("/srv"), deep);
    auto taken = b->RemoveEntry(deep);
    ASSERT_EQ(taken.get(), deep);
    EXPECT_EQ(root.FindEntryByFolderPath("/srv"), nullptr);
}

TEST(CatalogTest, FindHistory) {
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"abc", "abc"}, {"abc"}},
        {{"abc", "def", "abc"}, {"abc", "def", "abc"}},
        {{"abc", "ABC"}, {"ABC", "abc"}},
        {{"", ""}, {""}},
    };
    for (const Case& c : cases) {
        CFindHistory history;
        for (const auto& t : c.added) history.Add(t);
        EXPECT_EQ(history.Strings(), c.expected);
    }
    CFindHistory full;
    for (int i = 1; i <= 21; ++i) full.Add(std::to_string(i));
    ASSERT_EQ(full.Strings().size(), 20u);
    EXPECT_EQ(full.Strings().front(), "21");
    EXPECT_EQ(full.Strings().back(), "2");
}

class DocumentTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;

    std::unique_ptr<CPelkoDoc> Load() {
        auto doc = std::make_unique<CPelkoDoc>(dir.path(), log, ui);
        if (!doc->LoadCatalog()) return nullptr;
        return doc;
    }
};

TEST_F(DocumentTest, FirstStartWritesTheDefaultCatalog) {
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FileBytes(dir / "tnk.dat"), DefaultCatalogBytes());
    EXPECT_EQ(doc->Root()->m_strName, "Pelko");
    EXPECT_EQ(doc->Root()->Subcategories().size(), 6u);
    EXPECT_FALSE(doc->IsModified());
    for (const char* picture : {"cat.bmp", "disk.bmp", "fdisk.bmp", "fdir.bmp"})
        EXPECT_TRUE(fs::exists(dir / "Disk" / picture)) << picture;
    EXPECT_TRUE(ui.messages.empty());

    ASSERT_TRUE(doc->SaveCatalog());
    const Bytes saved = FileBytes(dir / "tnk.dat");
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 6), (Bytes{0x33, 0x00, 0x11, 0x22, 0x33, 0x00}));
    EXPECT_EQ(FileBytes(dir / "tnk.dat.bak"), DefaultCatalogBytes()) << "the previous file is kept";
}

TEST_F(DocumentTest, RoundTripOfTreeEntriesAndHistory) {
    {
        auto doc = Load();
        ASSERT_NE(doc, nullptr);
        CCategory* games = doc->Root()->FindSubcategory(Local("游戏"));
        ASSERT_NE(games, nullptr);
        games->m_strMemo = Local("备注");
        games->m_reserved = {1, 2, 3, 4, 5, 6, 7, 8};
        CDiskInfo* entry = games->AddNewEntry(Local("光盘一"), log);
        entry->m_strVolumeLabel = "DISC1";
        entry->m_dwVolumeSerial = 0xDEADBEEF;
        entry->m_nKind = 2;
        entry->m_strFolderPath = "/home/u/games";
        entry->m_reserved = {9, 9, 9, 9, 9, 9, 9, 9};
        entry->m_dCurrentBytes = 12345;
        entry->m_nFileCount = 3;
        doc->History().Add("abc");
        doc->History().Add(Local("光盘"));
        ASSERT_TRUE(doc->SetPassword("secret"));
    }
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Root()->m_strPassword, "secret");
    const CCategory* games = doc->Root()->FindSubcategory(Local("游戏"));
    EXPECT_EQ(games->m_strMemo, Local("备注"));
    EXPECT_EQ(games->m_reserved, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    const CDiskInfo* entry = games->FindEntry(Local("光盘一"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_pCategory, games);
    EXPECT_EQ(entry->m_dwVolumeSerial, 0xDEADBEEFu);
    EXPECT_EQ(entry->m_strFolderPath, "/home/u/games");
    EXPECT_EQ(entry->m_reserved[0], 9);
    EXPECT_EQ(entry->m_dCurrentBytes, 12345.0);
    EXPECT_EQ(doc->History().Strings(), (std::vector<std::string>{Local("光盘"), "abc"}));
}

TEST_F(DocumentTest, EntriesOfEveryVersionAreRead) {
    // A headerless catalog by hand: root with four entries written with versions 0x23 to 0x31.
    Bytes bytes;
    {
        CArchive ar(bytes, CArchive::Mode::Store);
        ar.WriteByte(0x23);  // root body before the reserved block
        ar.WriteString("old root");
        ar.WriteString("");
        ar.WriteDword(0);
        ar.WriteDword(4);
        for (const std::uint8_t version : {0x23, 0x24, 0x25, 0x31}) {
            ar.WriteByte(version);
            ar.WriteString("v" + std::to_string(version));
            ar.WriteString("L");
            ar.WriteDword(version);
            ar.WriteString("m");
            ar.WriteByte(1);
            if (version >= 0x24) ar.WriteRaw(std::array<std::uint8_t, 8>{7, 0, 0, 0, 0, 0, 0, 7});
            if (version >= 0x25) ar.WriteString("/p");
            if (version >= 0x31) {
                ar.WriteDouble(1.0);
                ar.WriteDouble(2.0);
                ar.WriteDword(3);
                ar.WriteDword(4);
            }
        }
        ar.WriteCount(1);
        ar.WriteString("old search");
        ar.WriteString("stale tail that readers ignore");
    }
    dir.WriteFile("tnk.dat", std::string(bytes.begin(), bytes.end()));
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    const auto& entries = doc->Root()->Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]->m_nKind, 1);
    EXPECT_TRUE(entries[0]->IsOldVersion());
    EXPECT_EQ(entries[1]->m_reserved[7], 7);
    EXPECT_EQ(entries[1]->m_strFolderPath, "");
    EXPECT_EQ(entries[2]->m_strFolderPath, "/p");
    EXPECT_EQ(entries[3]->m_nFolderCount, 4u);
    EXPECT_EQ(doc->History().Strings(), (std::vector<std::string>{"old search"}));
    EXPECT_EQ(doc->Root()->m_strName, "Pelko");
}

TEST_F(DocumentTest, OldCatalogFileIsConvertedOnce) {
    const Bytes defaults = DefaultCatalogBytes();
    dir.WriteFile("pelko.pkb", std::string(defaults.begin(), defaults.end()));
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(fs::exists(dir / "pelko.pkb"));
    ASSERT_TRUE(fs::exists(dir / "tnk.dat"));
    EXPECT_EQ(FileBytes(dir / "tnk.dat")[0], 0x33) << "converted with a header";
    EXPECT_EQ(doc->Root()->Subcategories().size(), 6u);
}

TEST_F(DocumentTest, OldCatalogThatCannotBeConvertedIsLeftAsItWas) {
    const Bytes defaults = DefaultCatalogBytes();
    dir.WriteFile("pelko.pkb", std::string(defaults.begin(), defaults.end()));
    {
        const test::FileSizeLimit diskFull(16);
        EXPECT_EQ(Load(), nullptr);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(text::ToUtf8(ui.messages[0]).find("pelko.pkb"), std::string::npos) << text::ToUtf8(ui.messages[0]);
    EXPECT_EQ(FileBytes(dir / "pelko.pkb"), defaults);
    EXPECT_FALSE(fs::exists(dir / "tnk.dat")) << "the default catalog must not take its place";

    auto doc = Load();  // with room again, the conversion happens
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Root()->Subcategories().size(), 6u);
    EXPECT_FALSE(fs::exists(dir / "pelko.pkb"));
}

TEST_F(DocumentTest, DamagedCatalogIsReportedAndLeftAlone) {
    Bytes damaged = DefaultCatalogBytes();
    damaged.resize(100);
    dir.WriteFile("tnk.dat", std::string(damaged.begin(), damaged.end()));
    EXPECT_EQ(Load(), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], Local("初始化失败，可能是文件tnk.dat发生错误，请把它删除！"));
    EXPECT_EQ(FileBytes(dir / "tnk.dat"), damaged);
    EXPECT_FALSE(fs::exists(dir / "tnk.dat.bak"));
}

TEST_F(DocumentTest, ShorterCatalogLeavesNoStaleTail) {
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    while (!doc->Root()->Subcategories().empty())
        doc->Root()->RemoveSubcategory(doc->Root()->Subcategories().front().get());
    ASSERT_TRUE(doc->SaveCatalog());
    EXPECT_EQ(fs::file_size(dir / "tnk.dat"), 6u + 1 + 6 + 1 + 8 + 4 + 4 + 2);
}

TEST_F(DocumentTest, OverlongPasswordIsRefused) {
    auto doc = Load();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->SetPassword(std::string(256, 'p')));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc->Root()->m_strPassword, "");
    EXPECT_TRUE(doc->SetPassword(std::string(255, 'p')));
    auto again = std::make_unique<CPelkoDoc>(dir.path(), log, ui);
    ASSERT_TRUE(again->LoadCatalog());
    EXPECT_EQ(again->Root()->m_strPassword, std::string(255, 'p'));
}

}  // namespace
}  // namespace pelko::catalog
