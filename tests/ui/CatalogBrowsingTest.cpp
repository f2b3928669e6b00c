// The two catalog panes inside the main window: opening a disc from the tree, going to a pane
// line, editing through the list, and the open disc's changes reaching its file.

#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include "catalog/CCD.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "support/DiscBuilder.h"
#include "text/Codec.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/models/ContentListModel.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"
#include "WindowFixture.h"

namespace pelko::test {
namespace {

using shell::CatalogObject;

// Pelko\Music\Disc1 holding Songs\a.mp3 and notes.txt.
struct BrowsingFixture : WindowFixture {
    catalog::CCategory* music = nullptr;
    catalog::CDiskInfo* disc = nullptr;

    BrowsingFixture() {
        music = doc->Root()->AddNewSubcategory("Music", log, ui);
        disc = &AddDisc(folder.path(), *music, "Disc1", "DISC1", 0x1234, [](catalog::CCD& cd) {
            AddFile(AddFolder(cd, "Songs"), "a.mp3");
            AddFile(cd, "notes.txt");
            cd.m_strReadme = "read me first";
        });
        settings.WriteInt("PopCloseDlg", 0);
        settings.WriteInt("LastViewStyle", 1);
    }
    ui::CatalogBrowsing& Browsing() { return *Window().Browsing(); }
    QString ListName(int row) {
        return Browsing().ListModel()->index(row, 0).data().toString();
    }
    QStringList ListNames() {
        QStringList names;
        for (int row = 0; row < Browsing().ListModel()->rowCount(); ++row) names << ListName(row);
        return names;
    }
    void SelectInTree(const CatalogObject& object) {
        auto& browsing = Browsing();
        browsing.Tree()->setCurrentIndex(browsing.TreeModel()->RevealIndexOf(object));
    }
};

TEST(CatalogBrowsingTest, SelectingADiscOpensItAndTheListShowsItsRootFolder) {
    BrowsingFixture fixture;
    // At start the tree's root is selected and the list shows its categories.
    EXPECT_TRUE(fixture.ListNames().contains("Music"));
    EXPECT_EQ(fixture.Browsing().Tree()->currentIndex().data().toString(), "Pelko");
    fixture.SelectInTree(CatalogObject{fixture.disc});
    auto& browsing = fixture.Browsing();
    EXPECT_EQ(fixture.ListNames(), (QStringList{"ReadMe", "Songs", "notes.txt"}));
    EXPECT_EQ(browsing.ListModel()->Kind(), ui::ContentListModel::ShownKind::RootFolder);
    // Its folders hang below its node now.
    const QModelIndex node = browsing.Tree()->currentIndex();
    ASSERT_EQ(browsing.TreeModel()->rowCount(node), 1);
    EXPECT_EQ(browsing.TreeModel()->index(0, 0, node).data().toString(), "Songs");
}

TEST(CatalogBrowsingTest, APaneLineLeadsToTheFolderAndItsRow) {
    BrowsingFixture fixture;
    auto& browsing = fixture.Browsing();
    emit fixture.Window().Pane()->GoToItem(QStringLiteral("        Pelko\\music\\ Disc1 \\Songs\\A.MP3"));
    EXPECT_EQ(browsing.Tree()->currentIndex().data().toString(), "Songs");
    const auto selection = browsing.ListSelection();
    ASSERT_EQ(selection.size(), 1u);
    ASSERT_TRUE(std::holds_alternative<catalog::CFileInfo*>(selection.front()));
    EXPECT_EQ(std::get<catalog::CFileInfo*>(selection.front())->m_strName.view(), "a.mp3");

    // A line that does not start at the root changes nothing.
    EXPECT_FALSE(browsing.GoToPath(QStringLiteral("Other\\Music")));
    EXPECT_EQ(browsing.Tree()->currentIndex().data().toString(), "Songs");
}

TEST(CatalogBrowsingTest, NamesAndMemosEditedInTheListGoThroughTheEditor) {
    BrowsingFixture fixture;
    auto& browsing = fixture.Browsing();
    fixture.SelectInTree(CatalogObject{fixture.music});
    auto* model = browsing.ListModel();
    const QModelIndex row = model->IndexOf(CatalogObject{fixture.disc});
    ASSERT_TRUE(row.isValid());

    EXPECT_TRUE(model->setData(row, QStringLiteral("  Disc One  ")));
    EXPECT_EQ(fixture.disc->m_strName, "Disc One");
    EXPECT_EQ(model->IndexOf(CatalogObject{fixture.disc}).data().toString(), "Disc One");
    EXPECT_EQ(browsing.TreeModel()->IndexOf(CatalogObject{fixture.disc}).data().toString(), "Disc One");

    // Blanks only: refused with the message, the name stays.
    model->setData(model->IndexOf(CatalogObject{fixture.disc}), QStringLiteral("   "));
    EXPECT_EQ(fixture.disc->m_strName, "Disc One");
    EXPECT_EQ(fixture.log.Utf8Lines(catalog::MessageKind::Error), std::vector<std::string>{"名称不能为空"});

    int memoColumn = -1;
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->FieldOf(column) == shell::ListField::Memo) memoColumn = column;
    ASSERT_GE(memoColumn, 0);
    model->setData(model->IndexOf(CatalogObject{fixture.disc}, memoColumn), ui::ToQt(text::Local("第一张")));
    EXPECT_EQ(fixture.disc->m_strMemo, text::Local("第一张"));
    EXPECT_TRUE(fixture.doc->IsModified());
}

TEST(CatalogBrowsingTest, DeletingFromTheListAsksAndRemovesTheRowFromBothPanes) {
    BrowsingFixture fixture;
    auto& browsing = fixture.Browsing();
    fixture.SelectInTree(CatalogObject{fixture.music});
    browsing.List()->SelectOnly(CatalogObject{fixture.disc});
    browsing.List()->CurrentView()->setFocus();
    fixture.Window().activateWindow();

    fixture.ui.answers = {false};
    emit browsing.List()->DeleteRequested();
    EXPECT_EQ(fixture.music->Entries().size(), 1u);

    fixture.ui.answers = {true};
    emit browsing.List()->DeleteRequested();
    EXPECT_TRUE(fixture.music->Entries().empty());
    EXPECT_EQ(browsing.ListModel()->rowCount(), 0);
    EXPECT_FALSE(browsing.TreeModel()->IndexOf(CatalogObject{fixture.music}).model()->hasChildren(
        browsing.TreeModel()->IndexOf(CatalogObject{fixture.music})));
}

TEST(CatalogBrowsingTest, AMemoTypedInTheOpenDiscReachesItsFileWhenTheWindowCloses) {
    BrowsingFixture fixture;
    auto& browsing = fixture.Browsing();
    fixture.SelectInTree(CatalogObject{fixture.disc});
    auto* model = browsing.ListModel();
    const int notesRow = fixture.ListNames().indexOf("notes.txt");
    ASSERT_GE(notesRow, 0);
    int memoColumn = -1;
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->FieldOf(column) == shell::ListField::Memo) memoColumn = column;
    model->setData(model->index(notesRow, memoColumn), QStringLiteral("kept"));

    EXPECT_TRUE(fixture.Window().close());
    catalog::DiscStore store(fixture.folder.path(), fixture.log);
    auto cd = store.Open(*fixture.disc);
    ASSERT_TRUE(cd);
    const auto& files = cd->Files();
    auto notes = std::find_if(files.begin(), files.end(), [](const auto& f) { return f->m_strName.view() == "notes.txt"; });
    ASSERT_NE(notes, files.end());
    EXPECT_EQ((*notes)->m_strMemo.view(), "kept");
}

TEST(CatalogBrowsingTest, TheMemoFieldShowsTheSelectedRowsMemoAndStoresWhatIsTyped) {
    BrowsingFixture fixture;
    fixture.disc->m_strMemo = "old";
    auto& browsing = fixture.Browsing();
    auto* field = fixture.Window().findChild<QLineEdit*>(QStringLiteral("memo-field"));
    ASSERT_NE(field, nullptr);
    fixture.SelectInTree(CatalogObject{fixture.music});
    EXPECT_FALSE(field->isEnabled());

    browsing.List()->SelectOnly(CatalogObject{fixture.disc});
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(field->text(), "old");
    field->selectAll();
    QTest::keyClicks(field, "new");
    EXPECT_EQ(fixture.disc->m_strMemo, "new");
    EXPECT_TRUE(fixture.doc->IsModified());

    // Once the row is gone, typing stores nothing anywhere.
    fixture.ui.answers = {true};
    emit browsing.List()->DeleteRequested();
    ASSERT_TRUE(fixture.music->Entries().empty());
    EXPECT_FALSE(field->isEnabled());
}

TEST(CatalogBrowsingTest, TheReadmeRowShowsTheDiscsReadmeInTheMemoPane) {
    for (const bool onDoubleClickOnly : {false, true}) {
        SCOPED_TRACE(onDoubleClickOnly ? "AutoOpenReadme 1" : "AutoOpenReadme 0");
        BrowsingFixture fixture;
        fixture.settings.WriteInt("AutoOpenReadme", onDoubleClickOnly ? 1 : 0);
        auto& browsing = fixture.Browsing();
        fixture.SelectInTree(CatalogObject{fixture.disc});
        browsing.List()->SelectOnly(CatalogObject{shell::ReadmeRow{}});
        EXPECT_EQ(fixture.Window().MemoDock()->isHidden(), onDoubleClickOnly);
        browsing.Open();
        EXPECT_FALSE(fixture.Window().MemoDock()->isHidden());
        EXPECT_EQ(fixture.Window().MemoDock()->findChild<QPlainTextEdit*>()->toPlainText(), "read me first");
        // Another node shown hides it again.
        fixture.SelectInTree(CatalogObject{fixture.music});
        EXPECT_TRUE(fixture.Window().MemoDock()->isHidden());
    }
}

TEST(CatalogBrowsingTest, CutRowsArePastedIntoTheTreesCategoryUnlessSomethingElseWasCopiedSince) {
    for (const bool copiedSince : {false, true}) {
        SCOPED_TRACE(copiedSince ? "text copied after the cut" : "straight paste");
        BrowsingFixture fixture;
        catalog::CCategory* video = fixture.doc->Root()->AddNewSubcategory("Video", fixture.log, fixture.ui);
        auto& browsing = fixture.Browsing();
        fixture.SelectInTree(CatalogObject{fixture.music});
        browsing.List()->SelectOnly(CatalogObject{fixture.disc});
        browsing.Cut();
        if (copiedSince) QApplication::clipboard()->setText(QStringLiteral("something else"));
        fixture.SelectInTree(CatalogObject{video});
        browsing.Paste();
        EXPECT_EQ(video->Entries().size(), copiedSince ? 0u : 1u);
        EXPECT_EQ(fixture.music->Entries().size(), copiedSince ? 1u : 0u);
    }
}

TEST(CatalogBrowsingTest, DiscFilesDroppedOnTheWindowAreAddedWhereTheUserSays) {
    BrowsingFixture fixture;
    // A disc file made by another catalog, and a file that is not one.
    TempDir elsewhere;
    catalog::CCategory scratch;
    AddDisc(elsewhere.path(), scratch, "Made", "NEW", 77, [](catalog::CCD&) {});
    RecordingLog quiet;
    const std::filesystem::path disc = catalog::DiscStore(elsewhere.path(), quiet).ZipPath("NEW", 77);
    const std::filesystem::path notDisc = elsewhere.path() / "notes.txt";
    std::ofstream(notDisc) << "x";
    fixture.ui.newObjects = {catalog::NewObjectAnswer{fixture.music, "Dropped", ""}};

    auto& window = fixture.Window();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(notDisc.string())),
                  QUrl::fromLocalFile(QString::fromStdString(disc.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QTRY_VERIFY(fixture.music->FindEntry("Dropped") != nullptr);
    EXPECT_TRUE(fixture.Browsing().TreeModel()->IndexOf(CatalogObject{fixture.music->FindEntry("Dropped")}).isValid());
    EXPECT_EQ(fixture.log.Utf8Lines(catalog::MessageKind::Error),
              std::vector<std::string>{"不是光盘文件，光盘文件的扩展名为pkb"});
}

}  // namespace
}  // namespace pelko::test
