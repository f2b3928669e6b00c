// The content list model: columns by shown kind, the row texts, icon keys and program icons, sorting by
// column with the kinds kept apart, catalog changes applied as row ranges under the model tester, and edits
// and drops turned into requests without touching the catalog.

#include <QAbstractItemModelTester>
#include <QImage>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QSize>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/ImageList.h"
#include "catalog/Statistics.h"
#include "support/DiscBuilder.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"
#include "ui/models/ContentListModel.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using shell::CatalogObject;
using text::Local;

constexpr std::uint64_t kMiB = 1048576;

struct Catalog {
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CRootCategory root;

    Catalog() { root.m_strName = "Pelko"; }
    CCategory& Category(CCategory& parent, std::string_view name) {
        return *parent.AddNewSubcategory(name, log, ui);
    }
    CDiskInfo& Entry(CCategory& parent, std::string_view name, std::uint8_t kind = 0, double bytes = 0) {
        CDiskInfo* entry = parent.AddNewEntry(name, log);
        entry->m_nKind = kind;
        entry->m_dCurrentBytes = bytes;
        entry->m_nFileCount = 1;  // not an entry of the old version
        return *entry;
    }
};

CFileInfo& File(CDir& parent, std::string_view name, std::uint64_t size, std::string_view memo = {}) {
    CFileInfo& file = test::AddFile(parent, name, memo);
    file.SetSize(size);
    return file;
}

// One column of the model as UTF-8 texts, rows joined by "|".
std::string ColumnText(const QAbstractItemModel& model, int column, int role = Qt::DisplayRole) {
    std::string out;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (row > 0) out += "|";
        out += model.index(row, column).data(role).toString().toStdString();
    }
    return out;
}

std::string Headers(const QAbstractItemModel& model) {
    std::string out;
    for (int column = 0; column < model.columnCount(); ++column) {
        if (column > 0) out += " ";
        const QString title = model.headerData(column, Qt::Horizontal).toString();
        const int width = model.headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize().width();
        out += title.toStdString() + ":" + std::to_string(width);
    }
    return out;
}

TEST(ContentListModelTest, ColumnsFollowTheKindOfTheShownNode) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    catalog::CCD cd;
    CDir& songs = test::AddFolder(cd, "Songs");

    ContentListModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const struct {
        const char* name;
        std::optional<CatalogObject> node;
        ContentListModel::ShownKind kind;
        std::string headers;
    } rows[] = {
        {"category", CatalogObject(&music), ContentListModel::ShownKind::Category,
         "名称:200 属性:80 大小:100 备注:130 标签:100"},
        {"root-folder", CatalogObject(static_cast<CDir*>(&cd)), ContentListModel::ShownKind::RootFolder,
         "名称:150 大小:140 修改时间:140 备注:180"},
        {"other-folder", CatalogObject(&songs), ContentListModel::ShownKind::Folder,
         "名称:150 大小:140 创建时间:140 备注:180"},
        {"back-to-category", CatalogObject(&c.root), ContentListModel::ShownKind::Category,
         "名称:200 属性:80 大小:100 备注:130 标签:100"},
        {"entry-shows-nothing", CatalogObject(music.AddNewEntry("Disc", c.log)),
         ContentListModel::ShownKind::Nothing, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.Show(*row.node);
        EXPECT_EQ(model.Kind(), row.kind);
        EXPECT_EQ(Headers(model), row.headers);
    }
}

TEST(ContentListModelTest, RowTextsOfACategory) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& jazz = c.Category(music, "Jazz");
    jazz.m_strMemo = Local("爵士");
    c.Entry(jazz, "inner", 0, 1.5 * kMiB);
    CDiskInfo& disc = c.Entry(music, "Disc", 0, 1536);
    disc.m_strVolumeLabel = "LABEL";
    disc.m_dwVolumeSerial = 4294967295u;
    c.Entry(music, "Part", 1, 0);
    c.Entry(music, "Dir", 2, 0);
    CDiskInfo& old = c.Entry(music, "Old", 0, 0);
    old.m_nFileCount = 0;  // written before statistics existed

    ContentListModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Show(&music);
    // Stored order: sub-categories, then entries as the category keeps them.
    EXPECT_EQ(ColumnText(model, 0), "Jazz|Part|Old|Disc|Dir");
    EXPECT_EQ(ColumnText(model, 1), "类别|硬盘|光盘|光盘|硬盘目录");
    EXPECT_EQ(ColumnText(model, 2),
              "1.500 MB|0.000 MB|" + text::ToUtf8(catalog::OldVersionEntryText()) + "|0.001 MB|0.000 MB");
    EXPECT_EQ(ColumnText(model, 3), "爵士||||");
    EXPECT_EQ(ColumnText(model, 4), "|0|0|LABEL4294967295|0");
    EXPECT_EQ(ColumnText(model, 0, Qt::ToolTipRole), "爵士||||");

    model.SetListDiskOnly(true);
    EXPECT_EQ(ColumnText(model, 0), "Part|Old|Disc|Dir");
}

TEST(ContentListModelTest, RowTextsOfAFolder) {
    catalog::CCD cd;
    CDir& songs = test::AddFolder(cd, "Songs", "memo");
    File(songs, "a.mp3", kMiB);
    File(test::AddFolder(songs, "Live"), "b.mp3", kMiB / 2);
    CFileInfo& big = File(cd, "a.b.TXT", 1536);
    big.m_ftTime = 126'987'264'000'000'000ULL;  // 2003-05-30 00:00 UTC
    File(cd, "empty", 0);
    File(cd, ".profile", 10);

    ContentListModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Show(static_cast<CDir*>(&cd));
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|Songs|.profile|a.b.TXT|empty");
    EXPECT_EQ(ColumnText(model, 1), "|文件夹(1.500 MB)|0.000 MB|0.001 MB|0.000 MB");
    EXPECT_EQ(ColumnText(model, 2), "||" + text::ToUtf8(catalog::FileTimeText(0)) + "|2003-5-30 0:0|" +
                                        text::ToUtf8(catalog::FileTimeText(0)));
    EXPECT_EQ(ColumnText(model, 3), "|memo|||");

    // Without extensions a.b.TXT shows as a.b; a leading dot is no extension.
    model.SetShowExtensions(false);
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|Songs|.profile|a.b|empty");
    EXPECT_EQ(ColumnText(model, 0, Qt::EditRole), "ReadMe|Songs|.profile|a.b|empty");
}

TEST(ContentListModelTest, IconKeysOfTheRows) {
    catalog::CCD cd;
    test::AddFolder(cd, "plain");
    test::AddFolder(cd, "y.rar").m_nDirKind = CDir::kKindArchive;
    File(cd, "a.ZIP", 1);
    File(cd, "b.rar.txt", 1);
    File(cd, "song.mp3", 1);
    std::vector<std::string> asked;
    ContentListModel model(nullptr, [&](std::string_view key) {
        asked.emplace_back(key);
        return QIcon();
    });
    model.Show(static_cast<CDir*>(&cd));
    for (int row = 0; row < model.rowCount(); ++row) {
        model.index(row, 0).data(Qt::DecorationRole);
        model.index(row, 1).data(Qt::DecorationRole);  // only the name column has a picture
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"cdinfo", "dir", "rardir", "zipdir", "rardir", "song.mp3"}));
}

TEST(ContentListModelTest, IconsAreAskedForOncePerFixedKeyOrExtension) {
    std::vector<std::string> asked;
    const IconProvider icons = CachedIcons([&](std::string_view key) {
        asked.emplace_back(key);
        return QIcon();
    });
    for (const char* key : {"a.mp3", "B.MP3", "disk", "disk", "c.txt", "dir"}) icons(key);
    EXPECT_EQ(asked, (std::vector<std::string>{"a.mp3", "disk", "c.txt", "dir"}));
}

// An icon as the image-list reader gives it: hidden pixels 0, visible ones opaque. The pattern
// differs along x and y and in every channel, so a flipped, shifted or channel-swapped
// conversion shows; the hidden corner catches a lost mask.
catalog::IconImage PatternIcon(std::uint32_t seed) {
    catalog::IconImage icon;
    for (int y = 0; y < catalog::IconImage::kSize; ++y) {
        for (int x = 0; x < catalog::IconImage::kSize; ++x) {
            if (x < 3 && y < 3) continue;
            const std::uint32_t rgb = (seed + 16u * x) << 16 | (8u * y) << 8 | ((x * y + seed) & 0xFF);
            icon.pixels[y * catalog::IconImage::kSize + x] = 0xFF000000u | (rgb & 0xFFFFFF);
        }
    }
    return icon;
}

// A file record as a disc file stores it, with its image list claiming no images: the reader
// accepts it and gives an icon with nothing visible.
std::unique_ptr<CFileInfo> RecordWithEmptyImageList(std::string_view name) {
    CFileInfo written;
    written.m_strName = name;
    written.SetIcon(std::make_unique<catalog::IconImage>(PatternIcon(1)));
    std::vector<std::uint8_t> bytes;
    {
        catalog::CArchive out(bytes, catalog::CArchive::Mode::Store);
        written.Serialize(out);
    }
    constexpr std::array<std::uint8_t, 4> kListStart = {0x49, 0x4C, 0x01, 0x01};  // "IL", version
    const auto list = std::search(bytes.begin(), bytes.end(), kListStart.begin(), kListStart.end());
    EXPECT_NE(list, bytes.end());
    if (list == bytes.end()) return nullptr;
    list[4] = 0;  // image count
    list[5] = 0;
    auto read = std::make_unique<CFileInfo>();
    catalog::CArchive in{std::span<const std::uint8_t>(bytes)};
    read->Serialize(in);
    return read;
}

CFileInfo* FileNamed(const CDir& dir, std::string_view name) {
    for (const auto& file : dir.Files()) {
        if (file->m_strName.view() == name) return file.get();
    }
    return nullptr;
}

// The decoration's picture at 16 x 16, as ARGB32 words.
QImage Shown(const QVariant& decoration) {
    return decoration.value<QIcon>().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool ShowsIcon(const QImage& shown, const catalog::IconImage& icon) {
    if (shown.size() != QSize(catalog::IconImage::kSize, catalog::IconImage::kSize)) return false;
    for (int y = 0; y < catalog::IconImage::kSize; ++y) {
        for (int x = 0; x < catalog::IconImage::kSize; ++x) {
            if (shown.pixel(x, y) != icon.pixels[y * catalog::IconImage::kSize + x]) return false;
        }
    }
    return true;
}

TEST(ContentListModelTest, ProgramFilesShowTheIconStoredInTheirDiscFile) {
    const catalog::IconImage setup = PatternIcon(40);
    const catalog::IconImage tool = PatternIcon(90);
    test::TempDir folder;
    Catalog c;
    CDiskInfo& entry = test::AddDisc(folder.path(), c.root, "Tools", "TOOLS", 0x1234, [&](catalog::CCD& cd) {
        test::AddFile(cd, "setup.exe").SetIcon(std::make_unique<catalog::IconImage>(setup));
        test::AddFile(cd, "TOOL.EXE").SetIcon(std::make_unique<catalog::IconImage>(tool));
        test::AddFile(cd, "copy.exe").SetIcon(std::make_unique<catalog::IconImage>(setup));
        test::AddFile(cd, "plain.exe");
        test::AddFile(cd, "masked.exe").SetIcon(std::make_unique<catalog::IconImage>());  // all hidden
        test::AddFile(cd, "notes.txt").SetIcon(std::make_unique<catalog::IconImage>(setup));
        test::AddFile(cd, "setup.exe.txt").SetIcon(std::make_unique<catalog::IconImage>(setup));
    });
    catalog::DiscStore store(folder.path(), c.log);
    std::unique_ptr<catalog::CCD> cd = store.Open(entry);
    ASSERT_NE(cd, nullptr);
    ASSERT_NE(cd->InsertFile(RecordWithEmptyImageList("empty.exe")), nullptr);

    QPixmap keyPicture(16, 16);
    keyPicture.fill(QColor(0, 0, 250));
    std::vector<std::string> asked;
    ContentListModel model(nullptr, [&](std::string_view key) {
        asked.emplace_back(key);
        return QIcon(keyPicture);
    });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Show(static_cast<CDir*>(cd.get()));

    const struct {
        const char* name;
        const catalog::IconImage* stored;  // null: the icon of the file's key
    } rows[] = {
        {"setup.exe", &setup},   {"TOOL.EXE", &tool},    {"copy.exe", &setup},   {"plain.exe", nullptr},
        {"masked.exe", nullptr}, {"empty.exe", nullptr}, {"notes.txt", nullptr}, {"setup.exe.txt", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CFileInfo* file = FileNamed(*cd, row.name);
        ASSERT_NE(file, nullptr);
        asked.clear();
        const QImage shown = Shown(model.IndexOf(file).data(Qt::DecorationRole));
        if (row.stored) {
            EXPECT_TRUE(ShowsIcon(shown, *row.stored));
            EXPECT_TRUE(asked.empty()) << "the key's icon was asked for too";
        } else {
            EXPECT_EQ(shown.pixel(8, 8), QColor(0, 0, 250).rgb());
            EXPECT_EQ(asked, std::vector<std::string>{row.name});
        }
    }

    // Converted once: repeated paints and records with the same pixels share one icon.
    const auto cacheKey = [&](std::string_view name) {
        return model.IndexOf(FileNamed(*cd, name)).data(Qt::DecorationRole).value<QIcon>().cacheKey();
    };
    EXPECT_EQ(cacheKey("setup.exe"), cacheKey("setup.exe"));
    EXPECT_EQ(cacheKey("setup.exe"), cacheKey("copy.exe"));
    EXPECT_NE(cacheKey("setup.exe"), cacheKey("TOOL.EXE"));

    // The cache follows the pixels, not the record: an icon changed in place shows its new picture.
    *FileNamed(*cd, "setup.exe")->m_icon = tool;
    EXPECT_TRUE(ShowsIcon(Shown(model.IndexOf(FileNamed(*cd, "setup.exe")).data(Qt::DecorationRole)), tool));
    EXPECT_TRUE(model.index(0, 1).data(Qt::DecorationRole).isNull()) << "only the name column has a picture";
}

TEST(ContentListModelTest, SortingByAColumnFlipsItsDirectionAndKeepsKindsApart) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    for (const char* name : {"b", "C", "a"}) c.Category(music, name);
    c.Entry(music, "y", 0, 3 * kMiB);
    c.Entry(music, "X", 0, 1 * kMiB);
    c.Entry(music, "z", 0, 2 * kMiB);

    ContentListModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Show(&music);
    const QPersistentModelIndex x = model.IndexOf(music.FindEntry("X"), 3);
    model.SortByColumn(0);
    EXPECT_EQ(ColumnText(model, 0), "a|b|C|X|y|z");
    EXPECT_EQ(x.row(), 3);
    EXPECT_EQ(x.column(), 3);
    model.SortByColumn(0);
    EXPECT_EQ(ColumnText(model, 0), "C|b|a|z|y|X");
    EXPECT_EQ(x.row(), 5);
    // Each column keeps its own direction: the first sort by size is ascending.
    model.SortByColumn(2);
    EXPECT_EQ(ColumnText(model, 0).substr(6), "X|z|y");

    catalog::CCD cd;
    File(test::AddFolder(cd, "big"), "f", 5 * kMiB);
    test::AddFolder(cd, "small");
    File(cd, "two", 2);
    File(cd, "one", 1);
    model.Show(static_cast<CDir*>(&cd));
    model.SortByColumn(1);
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|small|big|one|two");
    model.SortByColumn(1);
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|big|small|two|one");
}

// One shown folder and one shown category driven through the changes that concern them.
TEST(ContentListModelTest, ScriptedChangesKeepTheRowsInStep) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& video = c.Category(c.root, "Video");
    CDiskInfo& disc = c.Entry(music, "Disc", 0, kMiB);
    catalog::CCD cd;
    CDir& songs = test::AddFolder(cd, "Songs");
    CDir& live = test::AddFolder(songs, "Live");
    File(songs, "a.mp3", kMiB);
    CFileInfo& b = File(live, "b.mp3", kMiB / 2);

    ContentListModel model(nullptr, {});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.ScanObjectOpened(disc, cd);
    model.Show(static_cast<CDir*>(&cd));
    ASSERT_EQ(ColumnText(model, 1), "|文件夹(1.500 MB)");

    // A file removed deep below a shown folder leaves that folder's total.
    model.AboutToRemove(&b, &live);
    ASSERT_TRUE(live.RemoveFile(&b));
    EXPECT_EQ(ColumnText(model, 1), "|文件夹(1.000 MB)");

    CFileInfo& added = File(cd, "new.txt", 2 * kMiB);
    model.Added(&added, static_cast<CDir*>(&cd));
    CDir& art = test::AddFolder(cd, "Art");
    model.Added(&art, static_cast<CDir*>(&cd));
    CFileInfo& pic = File(art, "pic.jpg", kMiB);
    model.Added(&pic, &art);
    // Rows join the end of their kind; the file added under Art adds no row here.
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|Songs|Art|new.txt");
    EXPECT_EQ(ColumnText(model, 1), "|文件夹(1.000 MB)|文件夹(1.000 MB)|2.000 MB");

    added.m_strMemo = "note";
    model.Changed(&added);
    EXPECT_EQ(ColumnText(model, 3), "|||note");

    model.AboutToRemove(&art, static_cast<CDir*>(&cd));
    ASSERT_TRUE(cd.RemoveSubdir(&art));
    EXPECT_EQ(ColumnText(model, 0), "ReadMe|Songs|new.txt");

    // Removing the shown folder's parent, or closing its disc, shows nothing.
    model.Show(&live);
    ASSERT_EQ(model.Kind(), ContentListModel::ShownKind::Folder);
    model.AboutToRemove(&songs, static_cast<CDir*>(&cd));
    EXPECT_EQ(model.Kind(), ContentListModel::ShownKind::Nothing);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    model.Show(static_cast<CDir*>(&cd));
    model.ScanObjectAboutToClose(disc, cd);
    EXPECT_EQ(model.Kind(), ContentListModel::ShownKind::Nothing);

    // A category: entries moved in and out, categories added, the shown one removed.
    model.Show(&music);
    ASSERT_NE(music.MoveEntryTo(&disc, video, c.log), nullptr);
    model.Moved(&disc, &music, &video);
    EXPECT_EQ(model.rowCount(), 0);
    CDiskInfo& other = c.Entry(video, "Other", 0, kMiB);
    model.Added(&other, &video);  // not the shown category
    CCategory& sub = c.Category(music, "Sub");
    model.Added(&sub, &music);
    ASSERT_NE(video.MoveEntryTo(&other, sub, c.log), nullptr);
    model.Moved(&other, &video, &sub);
    EXPECT_EQ(ColumnText(model, 2), "1.000 MB");  // the total below Sub grew
    ASSERT_NE(video.MoveEntryTo(&disc, music, c.log), nullptr);
    model.Moved(&disc, &video, &music);
    EXPECT_EQ(ColumnText(model, 0), "Sub|Disc");
    model.Reset();
    EXPECT_EQ(ColumnText(model, 0), "Sub|Disc");
    model.AboutToRemove(&music, &c.root);
    EXPECT_EQ(model.Kind(), ContentListModel::ShownKind::Nothing);
}

TEST(ContentListModelTest, EditsAndDropsAreRequestsThatChangeNothing) {
    Catalog c;
    CCategory& music = c.Category(c.root, "Music");
    CCategory& jazz = c.Category(music, "Jazz");
    CDiskInfo& disc = c.Entry(music, "Disc", 0, 0);
    catalog::CCD cd;
    CFileInfo& file = File(cd, "a.b.TXT", 1);

    ContentListModel model(nullptr, {});
    std::vector<std::string> requests;
    QObject::connect(
        &model, &ContentListModel::RenameRequested, [&](const CatalogObject& o, const QString& t) {
            requests.push_back("rename " + std::string(shell::NameOf(o)) + " " + t.toStdString());
        });
    QObject::connect(&model, &ContentListModel::MemoEditRequested,
                     [&](const CatalogObject& o, const QString& t) {
                         requests.push_back("memo " + std::string(shell::NameOf(o)) + " " + t.toStdString());
                     });
    std::vector<std::pair<std::vector<CatalogObject>, CCategory*>> drops;
    QObject::connect(&model, &ContentListModel::DropRequested,
                     [&](const std::vector<CatalogObject>& objects, CCategory* target) {
                         drops.emplace_back(objects, target);
                     });

    model.Show(static_cast<CDir*>(&cd));
    const QModelIndex readme = model.index(0, 0);
    EXPECT_FALSE(model.flags(readme) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(readme, QStringLiteral("x")));
    EXPECT_TRUE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);  // size
    EXPECT_FALSE(model.flags(model.index(1, 0)) & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(model.setData(model.index(1, 0), QStringLiteral("c")));
    EXPECT_TRUE(model.setData(model.index(1, 3), QStringLiteral("new memo")));
    EXPECT_EQ(requests, (std::vector<std::string>{"rename a.b.TXT c", "memo a.b.TXT new memo"}));
    EXPECT_EQ(file.m_strName, "a.b.TXT");
    EXPECT_TRUE(file.m_strMemo.empty());

    model.Show(&music);
    const QModelIndex jazzRow = model.IndexOf(&jazz);
    const QModelIndex discRow = model.IndexOf(&disc);
    std::unique_ptr<QMimeData> dragged(model.mimeData({discRow, model.index(discRow.row(), 3)}));
    ASSERT_TRUE(dragged);
    EXPECT_FALSE(model.canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, discRow));
    EXPECT_TRUE(model.dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, jazzRow));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, std::vector<CatalogObject>{&disc});
    EXPECT_EQ(drops[0].second, &jazz);
    EXPECT_EQ(disc.m_pCategory, &music);
    std::unique_ptr<QMimeData> self(model.mimeData({jazzRow}));
    EXPECT_FALSE(model.canDropMimeData(self.get(), Qt::MoveAction, -1, -1, jazzRow));
}

}  // namespace
}  // namespace pelko::ui
