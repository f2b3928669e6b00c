// Mailing a disc and merging another catalog from the main window: which list selections may be
// mailed, what each way hands xdg-email and writes to the pane, and a merged catalog's
// categories and discs appearing in the tree.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QItemSelectionModel>
#include <QPlainTextEdit>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "shell/CatalogEditor.h"
#include "support/DiscBuilder.h"
#include "support/StandInTools.h"
#include "text/Codec.h"
#include "ui/app/MessageBoxUi.h"
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

namespace fs = std::filesystem;
using shell::CatalogObject;

// Pelko\Music holding the discs Disc1 and Disc2, kept at rest (only their ZIPs exist).
struct MailMergeFixture : WindowFixture {
    catalog::CCategory* music = nullptr;
    catalog::CDiskInfo* disc1 = nullptr;
    catalog::CDiskInfo* disc2 = nullptr;

    MailMergeFixture() {
        music = doc->Root()->AddNewSubcategory("Music", log, ui);
        disc1 = &AddDisc(folder.path(), *music, "Disc1", "DISC1", 0x1111, [](catalog::CCD& cd) { AddFile(cd, "a.mp3"); });
        disc2 = &AddDisc(folder.path(), *music, "Disc2", "DISC2", 0x2222, [](catalog::CCD& cd) { AddFile(cd, "b.mp3"); });
        settings.WriteInt("LastViewStyle", 1);
    }
    ui::CatalogBrowsing& Browsing() { return *Window().Browsing(); }
    void ShowInList(const CatalogObject& category) {
        Browsing().Tree()->setCurrentIndex(Browsing().TreeModel()->RevealIndexOf(category));
    }
    void SelectInList(std::initializer_list<CatalogObject> objects) {
        ui::ContentListView& list = *Browsing().List();
        list.Selection()->clearSelection();
        for (const CatalogObject& object : objects)
            list.Selection()->select(Browsing().ListModel()->IndexOf(object),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString PaneText() {
        Window().Pane()->Flush();
        return Window().Pane()->Editor()->toPlainText();
    }
    fs::path PlainFile(const catalog::CDiskInfo& entry) {
        return catalog::DiscStore(folder.path(), log).PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    }
};

TEST(MailMergeTest, EveryMailCommandNeedsExactlyOneDiscSelectedInTheList) {
    MailMergeFixture fixture;
    StandInTools tools;
    tools.Add("xdg-email");
    const struct {
        const char* name;
        std::function<void()> select;
    } selections[] = {
        {"nothing selected", [&] { fixture.ShowInList(CatalogObject{fixture.music}); fixture.SelectInList({}); }},
        {"two discs",
         [&] {
             fixture.ShowInList(CatalogObject{fixture.music});
             fixture.SelectInList({CatalogObject{fixture.disc1}, CatalogObject{fixture.disc2}});
         }},
        {"a category",
         [&] {
             fixture.ShowInList(CatalogObject{static_cast<catalog::CCategory*>(fixture.doc->Root())});
             fixture.SelectInList({CatalogObject{fixture.music}});
         }},
        {"a file of an open disc",
         [&] {
             fixture.ShowInList(CatalogObject{fixture.disc1});
             fixture.SelectInList({CatalogObject{fixture.Browsing().Editor().Open().cd->Files().front().get()}});
         }},
    };
    for (const auto& selection : selections) {
        for (const char* id : {"mail-default", "mail-outlook", "context-mail-default", "context-mail-outlook"}) {
            SCOPED_TRACE(std::string(selection.name) + ", " + id);
            selection.select();
            fixture.ui.messages.clear();
            fixture.Window().Action(id)->trigger();
            EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{text::Local("请选择一个光盘后再进行发送")});
        }
    }
    EXPECT_TRUE(tools.Calls("xdg-email").empty());
    EXPECT_FALSE(fixture.PaneText().contains(ui::Tr("发送光盘")));
}

TEST(MailMergeTest, OneSelectedDiscIsMailedEachWayWithItsPlainFile) {
    MailMergeFixture fixture;
    StandInTools tools;
    tools.Add("xdg-email");
    fixture.ShowInList(CatalogObject{fixture.music});
    fixture.SelectInList({CatalogObject{fixture.disc2}});
    const fs::path plain = fixture.PlainFile(*fixture.disc2);
    ASSERT_FALSE(fs::exists(plain));

    fixture.Window().Action("mail-default")->trigger();
    const std::string hint = text::LocalWith("提示：把文件( %s )添加到附件", text::FromUtf8(plain.native()));
    EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{hint});
    EXPECT_EQ(tools.Calls("xdg-email"), (std::vector<std::string>{"--utf8", "--subject", "MailDisk", "--"}));
    EXPECT_TRUE(fs::exists(plain));
    EXPECT_TRUE(fixture.PaneText().contains(ui::Tr("发送光盘 Disc2\n")));
    EXPECT_TRUE(fixture.PaneText().contains(ui::ToQt(hint)));

    fixture.ui.messages.clear();
    fixture.Window().Action("context-mail-outlook")->trigger();
    EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{text::Local("提示：必须在邮件中填写收件人邮箱和主题!")});
    EXPECT_EQ(tools.Calls("xdg-email"), (std::vector<std::string>{"--utf8", "--subject", "MailDisk", "--", "--utf8",
                                                                  "--subject", "MailDisk", "--attach", plain.native(), "--"}));
    EXPECT_TRUE(fixture.PaneText().trimmed().endsWith(ui::Tr("发送光盘 Disc2")));

    // Without a mail program the pane says so.
    StandInTools noMail;
    noMail.HideRealTools();
    fixture.Window().Action("context-mail-default")->trigger();
    EXPECT_TRUE(fixture.PaneText().trimmed().endsWith(ui::Tr("没有缺省的邮件发送程序")));
}

TEST(MailMergeTest, AMergedCatalogsCategoriesAndDiscsAppearInTheTreeFromItsRoot) {
    MailMergeFixture fixture;
    TempDir otherFolder;
    {
        catalog::CPelkoDoc other(otherFolder.path(), fixture.log, fixture.ui);
        other.LoadCatalog();
        catalog::CCategory* films = other.Root()->AddNewSubcategory("Films", fixture.log, fixture.ui);
        AddDisc(otherFolder.path(), *films, "Movie1", "MOVIE1", 0x3333, [](catalog::CCD& cd) { AddFile(cd, "m.avi"); });
        ASSERT_TRUE(other.SaveCatalog());
    }
    auto& browsing = fixture.Browsing();
    fixture.ShowInList(CatalogObject{fixture.disc1});  // a disc is open while merging
    auto* tree = browsing.TreeModel();
    const auto rootRows = [&] { return tree->rowCount(tree->index(0, 0)); };
    const int categoriesBefore = rootRows();

    // A folder without a catalog file merges nothing.
    TempDir empty;
    fixture.ui.folder = empty.path();
    fixture.Window().Action("merge")->trigger();
    EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{text::Local(
                                       "待合并目录中没有包含pelko.pkb或tnk.dat，\n请选择pelko.pkb或tnk.dat所在目录")});
    EXPECT_EQ(rootRows(), categoriesBefore);

    fixture.ui.folder = otherFolder.path();
    fixture.Window().Action("merge")->trigger();
    EXPECT_EQ(fixture.ui.prompts.back(),
              text::Local("请选择另一个待合并的光盘库所在目录\n(待合并光盘库目录为pelko.pkb或tnk.dat所在目录)"));
    const QModelIndex root = tree->index(0, 0);
    EXPECT_EQ(browsing.Tree()->currentIndex(), root);
    EXPECT_TRUE(browsing.Tree()->isExpanded(root));
    // The other catalog's default categories exist here already: only Films is new.
    ASSERT_EQ(rootRows(), categoriesBefore + 1);
    const QModelIndexList films = tree->match(tree->index(0, 0, root), Qt::DisplayRole, QStringLiteral("Films"), 1,
                                              Qt::MatchExactly);
    ASSERT_EQ(films.size(), 1);
    ASSERT_EQ(tree->rowCount(films.front()), 1);
    const QModelIndex movie = tree->index(0, 0, films.front());
    EXPECT_EQ(movie.data().toString(), "Movie1");
    // The catalog's log (the pane, in the program) has the summary.
    EXPECT_EQ(fixture.log.Utf8Lines(catalog::MessageKind::Result).back(), "合并光盘库完成：加入 1 张光盘、1 个类别");
    // The merged disc opens from this catalog: its file came over.
    browsing.Tree()->setCurrentIndex(movie);
    ASSERT_TRUE(browsing.Editor().Open().cd);
    EXPECT_EQ(browsing.Editor().Open().cd->Files().front()->m_strName.view(), "m.avi");
    EXPECT_TRUE(fixture.doc->IsModified());
}

TEST(MailMergeTest, TheMergeFolderChooserShowsItsTwoLinePromptOnTheOneLineTitle) {
    ui::MessageBoxUi chooser;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->reject();
    });
    EXPECT_FALSE(chooser.ChooseFolder(text::Local("第一行\n(第二行)")).has_value());
    EXPECT_EQ(title, ui::Tr("第一行 (第二行)"));
}

}  // namespace
}  // namespace pelko::test
