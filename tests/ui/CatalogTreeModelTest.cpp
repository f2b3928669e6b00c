// The catalog tree model: the order of a category's children, the list-disc-only layout, the
// open scan object's folders made on demand, every catalog change applied as row ranges under
// the model tester, and renames and drops turned into requests without touching the catalog.

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QPersistentModelIndex>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalog/CRootCategory.h"
#include "support/DiscBuilder.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"
#include "ui/models/CatalogMime.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using shell::CatalogObject;
using text::Local;

// A catalog in memory: categories and entries by name.
struct Catalog {
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CRootCategory root;

    Catalog() { root.m_strName = "Pelko"; }
    CCategory& Category(CCategory& parent, std::string_view name) {
        return *parent.AddNewSubcategory(name, log, ui);
    }
    CDiskInfo& Entry(CCategory& parent, std::string_view name, std::uint8_t kind = 0) {
        CDiskInfo* entry = parent.AddNewEntry(name, log);
        entry->m_nKind = kind;
        return *entry;
    }
};

// The shown tree as text: "name(child,child)", children as far as they have rows.
std::string Dump(const QAbstractItemModel& model, const QModelIndex& at = {}) {
    std::string out;
    if (at.isValid()) out = FromQt(at.data().toString());
    const int rows = model.rowCount(at);
    if (rows == 0) return out;
    if (at.isValid()) out += "(";
    for (int row = 0; row < rows; ++row) {
        if (row > 0) out += ",";
        out += Dump(model, model.index(row, 0, at));
    }
    if (at.isValid()) out += ")";
    return out;
}

CatalogObject ObjectOf(const QModelIndex& index) {
    return index.data(ObjectRole).value<CatalogObjectRef>().object;
}

TEST(CatalogTreeModelTest, ChildrenOfACategoryPutCategoriesFirstThenUpperCasedBytes) {
    const struct {
        const char* name;
        std::vector<std::string> categories;
        std::vector<std::string> entries;
        std::string shown;
    } rows[] = {
        {"category-before-entry", {"b", "A"}, {"a"}, "Pelko(A,b,a)"},
        // Upper-cased, "_" (0x5F) follows the letters; lower-cased it would come first.
        {"upper-case-bytes", {"_x", "ay"}, {"Zed", "Abc"}, "Pelko(ay,_x,Abc,Zed)"},
        {"double-byte-after-ascii", {Local("音乐"), "z"}, {}, "Pelko(z," + Local("音乐") + ")"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Catalog c;
        for (const auto& name : row.categories) c.Category(c.root, name);
        for (const auto& name : row.entries) c.Entry(c.root, name);
        CatalogTreeModel model(nullptr, {});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.SetRoot(&c.root);
        EXPECT_EQ(Dump(model), row.shown);
    }
}

TEST(CatalogTreeModelTest, ListDiskOnlyPutsEveryEntryUnderTheRoot) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& jazz = c.Category(music, "Jazz");
    CCategory& live = c.Category(jazz, "Live");
    c.Entry(music, "m1");
    c.Entry(jazz, "j1");
    c.Entry(live, "l1");
    c.Entry(c.root, "r1");

    CatalogTreeModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRoot(&c.root);
    EXPECT_EQ(Dump(model), "Pelko(Music(Jazz(Live(l1),j1),m1),r1)");
    model.SetListDiskOnly(true);
    EXPECT_EQ(Dump(model), "Pelko(j1,l1,m1,r1)");
    EXPECT_EQ(model.CategoryAt(model.index(0, 0)), &c.root);

    // A category removed without category rows takes its entries (and those below it) along.
    model.AboutToRemove(&jazz, &music);
    EXPECT_EQ(Dump(model), "Pelko(m1,r1)");
    // An entry added anywhere joins the root in order.
    model.Added(&c.Entry(live, "a0"), &live);
    EXPECT_EQ(Dump(model), "Pelko(a0,m1,r1)");
    model.SetListDiskOnly(false);
    EXPECT_EQ(Dump(model), "Pelko(Music(Jazz(Live(a0,l1),j1),m1),r1)");
}

// One catalog driven through every kind of change, each applied in place under the tester.
TEST(CatalogTreeModelTest, ScriptedChangesKeepTheTreeInStep) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& video = c.Category(c.root, "Video");
    CDiskInfo& disc1 = c.Entry(music, "Disc1");
    c.Entry(music, "Disc3");
    catalog::CCD cd;
    cd.m_strDisplayName = "Disc1";
    CDir& songs = test::AddFolder(cd, "Songs");
    test::AddFolder(songs, "Live");
    test::AddFolder(cd, "Art");
    test::AddFile(songs, "a.mp3");

    CatalogTreeModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRoot(&c.root);
    ASSERT_EQ(Dump(model), "Pelko(Music(Disc1,Disc3),Video)");
    const QPersistentModelIndex disc3 = model.IndexOf(music.Entries()[0].get());
    ASSERT_EQ(disc3.data().toString(), QStringLiteral("Disc3"));

    CDiskInfo& disc2 = c.Entry(music, "Disc2");
    model.Added(&disc2, &music);
    EXPECT_EQ(Dump(model), "Pelko(Music(Disc1,Disc2,Disc3),Video)");
    CCategory& aaa = c.Category(music, "aaa");
    model.Added(&aaa, &music);
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc1,Disc2,Disc3),Video)");

    // A rename moves the row to its new place; the persistent index follows.
    music.Entries()[0]->m_strName = "Disc0";  // was Disc3
    model.Changed(disc3.data(ObjectRole).value<CatalogObjectRef>().object);
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc0,Disc1,Disc2),Video)");
    EXPECT_EQ(disc3.data().toString(), QStringLiteral("Disc0"));
    EXPECT_EQ(disc3.row(), 1);

    ASSERT_NE(music.MoveEntryTo(&disc2, video, c.log), nullptr);
    model.Moved(&disc2, &music, &video);
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc0,Disc1),Video(Disc2))");

    // Opening shows the first level of folders; deeper ones are made when asked for.
    model.ScanObjectOpened(disc1, cd);
    const QModelIndex open = model.IndexOf(&disc1);
    ASSERT_TRUE(open.isValid());
    EXPECT_EQ(model.IndexOf(CatalogObject(static_cast<CDir*>(&cd))), open);
    EXPECT_EQ(ObjectOf(open), CatalogObject(static_cast<CDir*>(&cd)));
    EXPECT_EQ(model.EntryAt(open), &disc1);
    ASSERT_EQ(model.rowCount(open), 2);
    EXPECT_EQ(model.index(0, 0, open).data().toString(), QStringLiteral("Art"));
    EXPECT_EQ(model.index(1, 0, open).data().toString(), QStringLiteral("Songs"));

    CDir& bass = test::AddFolder(cd, "Bass");
    model.Added(CatalogObject(&bass), CatalogObject(static_cast<CDir*>(&cd)));
    EXPECT_EQ(model.rowCount(open), 3);
    EXPECT_EQ(model.index(1, 0, open).data().toString(), QStringLiteral("Bass"));
    model.AboutToRemove(CatalogObject(&songs), CatalogObject(static_cast<CDir*>(&cd)));
    ASSERT_TRUE(cd.RemoveSubdir(&songs));
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc0,Disc1(Art,Bass)),Video(Disc2))");

    // The open scan object moves with its folders.
    ASSERT_NE(music.MoveEntryTo(&disc1, video, c.log), nullptr);
    model.Moved(&disc1, &music, &video);
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc0),Video(Disc1(Art,Bass),Disc2))");

    model.ScanObjectAboutToClose(disc1, cd);
    EXPECT_EQ(Dump(model), "Pelko(Music(aaa,Disc0),Video(Disc1,Disc2))");
    EXPECT_EQ(ObjectOf(model.IndexOf(&disc1)), CatalogObject(&disc1));
    EXPECT_FALSE(model.IndexOf(CatalogObject(&bass)).isValid());

    model.AboutToRemove(&aaa, &music);
    music.RemoveSubcategory(&aaa);
    EXPECT_EQ(Dump(model), "Pelko(Music(Disc0),Video(Disc1,Disc2))");
    model.Reset();
    EXPECT_EQ(Dump(model), "Pelko(Music(Disc0),Video(Disc1,Disc2))");
}

TEST(CatalogTreeModelTest, FoldersBelowTheFirstLevelAreMadeWhenAskedFor) {
    Catalog c;
    CDiskInfo& disc = c.Entry(c.root, "Disc1", catalog::CCD::kKindFixedDisk);
    catalog::CCD cd;
    cd.m_strDisplayName = "Disc1";
    CDir& songs = test::AddFolder(cd, "Songs");
    CDir& live = test::AddFolder(songs, "Live");
    CDir& deep = test::AddFolder(live, "Deep");

    CatalogTreeModel model(nullptr, {});
    model.SetRoot(&c.root);
    model.ScanObjectOpened(disc, cd);
    const QModelIndex songsIndex = model.IndexOf(CatalogObject(&songs));
    ASSERT_TRUE(songsIndex.isValid());
    EXPECT_EQ(model.rowCount(songsIndex), 0);
    EXPECT_TRUE(model.hasChildren(songsIndex));
    EXPECT_TRUE(model.canFetchMore(songsIndex));
    EXPECT_FALSE(model.IndexOf(CatalogObject(&deep)).isValid());
    // A folder added below one whose rows were never made waits for them to be made.
    CDir& later = test::AddFolder(songs, "Later");
    model.Added(CatalogObject(&later), CatalogObject(&songs));
    EXPECT_EQ(model.rowCount(songsIndex), 0);

    const QModelIndex deepIndex = model.RevealIndexOf(CatalogObject(&deep));
    ASSERT_TRUE(deepIndex.isValid());
    EXPECT_EQ(deepIndex.parent().parent(), songsIndex);
    EXPECT_EQ(Dump(model), "Pelko(Disc1(Songs(Later,Live(Deep))))");
    EXPECT_FALSE(model.canFetchMore(songsIndex));
}

TEST(CatalogTreeModelTest, IconKeysByKindThroughTheProvider) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CDiskInfo& disc = c.Entry(music, "Disc1", catalog::CCD::kKindDisk);
    CDiskInfo& part = c.Entry(music, "Part", catalog::CCD::kKindFixedDisk);
    CDiskInfo& dir = c.Entry(music, "Dir", catalog::CCD::kKindFixedDir);
    catalog::CCD cd;
    cd.m_nKind = catalog::CCD::kKindDisk;
    cd.m_strDisplayName = "Disc1";
    test::AddFolder(cd, "plain");
    test::AddFolder(cd, "x.ZIP").m_nDirKind = CDir::kKindArchive;
    test::AddFolder(cd, "y.rar").m_nDirKind = CDir::kKindArchive;

    std::vector<std::string> asked;
    CatalogTreeModel model(nullptr, [&](std::string_view key) {
        asked.emplace_back(key);
        return QIcon();
    });
    model.SetRoot(&c.root);
    model.ScanObjectOpened(disc, cd);
    auto keyOf = [&](const QModelIndex& index) {
        asked.clear();
        index.data(Qt::DecorationRole);
        return asked.empty() ? std::string("(none)") : asked.back();
    };
    const QModelIndex root = model.index(0, 0);
    const QModelIndex musicIndex = model.IndexOf(&music);
    const QModelIndex open = model.IndexOf(&disc);
    EXPECT_EQ(keyOf(root), "category");
    EXPECT_EQ(keyOf(musicIndex), "category");
    EXPECT_EQ(keyOf(open), "disk");
    EXPECT_EQ(keyOf(model.IndexOf(&dir)), "fixeddir");
    EXPECT_EQ(keyOf(model.IndexOf(&part)), "fixeddisk");
    EXPECT_EQ(keyOf(model.index(0, 0, open)), "dir");
    EXPECT_EQ(keyOf(model.index(1, 0, open)), "zipdir");
    EXPECT_EQ(keyOf(model.index(2, 0, open)), "rardir");
}

TEST(CatalogTreeModelTest, RenamesAndDropsAreRequestsThatChangeNothing) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& jazz = c.Category(music, "Jazz");
    CCategory& video = c.Category(c.root, "Video");
    CDiskInfo& disc = c.Entry(music, "Disc1");
    CDiskInfo& other = c.Entry(music, "Disc2");
    catalog::CCD cd;
    cd.m_strDisplayName = "Disc2";
    test::AddFolder(cd, "Songs");

    CatalogTreeModel model(nullptr, {});
    model.SetRoot(&c.root);
    model.ScanObjectOpened(other, cd);
    std::vector<std::pair<CatalogObject, QString>> renames;
    std::vector<std::pair<std::vector<CatalogObject>, CCategory*>> drops;
    QObject::connect(
        &model, &CatalogTreeModel::RenameRequested,
        [&](const CatalogObject& object, const QString& text) { renames.emplace_back(object, text); });
    QObject::connect(&model, &CatalogTreeModel::DropRequested,
                     [&](const std::vector<CatalogObject>& objects, CCategory* target) {
                         drops.emplace_back(objects, target);
                     });

    const QModelIndex root = model.index(0, 0);
    const QModelIndex musicIndex = model.IndexOf(&music);
    const QModelIndex discIndex = model.IndexOf(&disc);
    const QModelIndex openIndex = model.IndexOf(&other);
    const QModelIndex songsIndex = model.index(0, 0, openIndex);

    // Who may be renamed, dragged and dropped on.
    EXPECT_FALSE(model.flags(root) & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled));
    EXPECT_TRUE(model.flags(root) & Qt::ItemIsDropEnabled);
    EXPECT_TRUE(model.flags(musicIndex) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(musicIndex) & Qt::ItemIsDragEnabled);
    EXPECT_FALSE(model.flags(discIndex) & (Qt::ItemIsEditable | Qt::ItemIsDropEnabled));
    EXPECT_TRUE(model.flags(discIndex) & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(model.flags(openIndex) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(songsIndex) & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled));

    EXPECT_TRUE(model.setData(musicIndex, QStringLiteral("Songs")));
    EXPECT_TRUE(model.setData(openIndex, QStringLiteral("New")));
    EXPECT_FALSE(model.setData(root, QStringLiteral("Other")));
    EXPECT_FALSE(model.setData(discIndex, QStringLiteral("Other")));
    ASSERT_EQ(renames.size(), 2u);
    EXPECT_EQ(renames[0].first, CatalogObject(&music));
    EXPECT_EQ(renames[0].second, QStringLiteral("Songs"));
    EXPECT_EQ(renames[1].first, CatalogObject(static_cast<CDir*>(&cd)));
    EXPECT_EQ(music.m_strName, "Music");
    EXPECT_EQ(musicIndex.data().toString(), QStringLiteral("Music"));

    // The open scan object is carried as its entry.
    std::unique_ptr<QMimeData> dragged(model.mimeData({discIndex, openIndex, root}));
    ASSERT_TRUE(dragged);
    const QModelIndex videoIndex = model.IndexOf(&video);
    EXPECT_TRUE(model.canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, videoIndex));
    EXPECT_FALSE(model.canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, discIndex));
    EXPECT_TRUE(model.dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, videoIndex));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, (std::vector<CatalogObject>{&disc, &other}));
    EXPECT_EQ(drops[0].second, &video);
    EXPECT_EQ(disc.m_pCategory, &music);

    // A category cannot go into itself or below itself.
    std::unique_ptr<QMimeData> category(model.mimeData({musicIndex}));
    EXPECT_FALSE(model.canDropMimeData(category.get(), Qt::MoveAction, -1, -1, musicIndex));
    EXPECT_FALSE(model.canDropMimeData(category.get(), Qt::MoveAction, -1, -1, model.IndexOf(&jazz)));
    EXPECT_TRUE(model.canDropMimeData(category.get(), Qt::MoveAction, -1, -1, videoIndex));

    // An object no longer in the catalog is refused, not followed.
    std::unique_ptr<QMimeData> stale(model.mimeData({model.IndexOf(&jazz)}));
    model.AboutToRemove(&jazz, &music);
    music.RemoveSubcategory(&jazz);
    EXPECT_FALSE(model.dropMimeData(stale.get(), Qt::MoveAction, -1, -1, videoIndex));
    EXPECT_EQ(drops.size(), 1u);
}

TEST(CatalogTreeModelTest, DragDataFromAnotherProcessIsRefused) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CDiskInfo& disc = c.Entry(c.root, "Disc1");
    CatalogTreeModel model(nullptr, {});
    model.SetRoot(&c.root);
    std::unique_ptr<QMimeData> genuine(model.mimeData({model.IndexOf(&disc)}));
    ASSERT_TRUE(genuine);

    // The same payload with another process id.
    QByteArray bytes = genuine->data(QString::fromLatin1(kCatalogObjectsMime));
    QDataStream patch(&bytes, QIODevice::ReadWrite);
    patch << static_cast<qint64>(QCoreApplication::applicationPid() + 1);
    QMimeData forged;
    forged.setData(QString::fromLatin1(kCatalogObjectsMime), bytes);
    QMimeData truncated;
    truncated.setData(QString::fromLatin1(kCatalogObjectsMime), bytes.left(10));

    const QModelIndex target = model.IndexOf(&music);
    EXPECT_TRUE(model.canDropMimeData(genuine.get(), Qt::MoveAction, -1, -1, target));
    EXPECT_FALSE(model.canDropMimeData(&forged, Qt::MoveAction, -1, -1, target));
    EXPECT_FALSE(model.canDropMimeData(&truncated, Qt::MoveAction, -1, -1, target));
    EXPECT_FALSE(model.canDropMimeData(genuine.get(), Qt::CopyAction, -1, -1, target));
}

}  // namespace
}  // namespace pelko::ui
