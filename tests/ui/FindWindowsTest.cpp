// The windows of a search: the find dialog's rules over its model, the wait dialog, and whole
// searches run from the main window's commands with their hits in the message pane.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>
#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CFindHistory.h"
#include "catalog/CRootCategory.h"
#include "search/FindCriteria.h"
#include "search/FindDescription.h"
#include "shell/FindDialogModel.h"
#include "support/DiscBuilder.h"
#include "text/Codec.h"
#include "ui/dialogs/FindDialog.h"
#include "ui/dialogs/FindWaitDialog.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/FindCommands.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"
#include "WindowFixture.h"

namespace pelko::test {
namespace {

using catalog::MessageKind;
using search::FindTarget;
using shell::CatalogObject;
using text::Local;
using ui::ToQt;
using ui::Tr;

// ---------------------------------------------------------------------------------------------
// The find dialog on its own, over a model as the find command makes it.

// Pelko\Software with the scan object Tools (a few files) and the sub-category Games.
struct DialogFixture {
    TempDir folder;
    RecordingLog log;
    ScriptedUi ui;
    settings::MemorySettingsStore store;
    shell::AppSettings options;
    catalog::CPelkoDoc doc{folder.path(), log, ui};
    catalog::CCategory* software = nullptr;
    catalog::CDiskInfo* tools = nullptr;

    DialogFixture() {
        options.Load(store);
        doc.LoadCatalog();
        software = doc.Root()->AddNewSubcategory("Software", log, ui);
        software->AddNewSubcategory("Games", log, ui);
        tools = &AddDisc(folder.path(), *software, "Tools", "TOOLS", 7, [](catalog::CCD& cd) { AddFile(cd, "a.txt"); });
        doc.SetModified(false);
    }
    shell::FindDialogModel Model(shell::FindScope preselected = {}) {
        return shell::FindDialogModel(options, doc.History(), preselected, *doc.Root());
    }
};

void SelectScope(ui::FindDialog& dialog, const CatalogObject& object) {
    dialog.ScopeTree()->setCurrentIndex(dialog.ScopeModel()->RevealIndexOf(object));
}

bool CatalogBoxesShown(const ui::FindDialog& dialog) {
    bool anyShown = false;
    bool anyHidden = false;
    for (int bit = search::kCategoryName; bit <= search::kDiscLabel; bit <<= 1) {
        (dialog.TargetBox(bit)->isVisibleTo(&dialog) ? anyShown : anyHidden) = true;
    }
    EXPECT_NE(anyShown, anyHidden) << "the five catalog boxes are shown and hidden together";
    return anyShown;
}

TEST(FindDialogTest, CatalogTargetsAreShownOnlyWhileACategoryIsTheScope) {
    DialogFixture fx;
    fx.options.fwFindWhat = search::kAllTargets;
    shell::FindDialogModel model = fx.Model();
    ui::FindDialog dialog(model, fx.doc, fx.ui, false);
    // Opened without a preselection: the root is the scope and every box is there.
    EXPECT_EQ(dialog.ScopeTree()->currentIndex().data().toString(), "Pelko");
    EXPECT_TRUE(CatalogBoxesShown(dialog));

    const struct {
        const char* name;
        CatalogObject scope;
        bool catalogBoxes;
    } steps[] = {
        {"scan object", CatalogObject{fx.tools}, false},
        {"sub-category", CatalogObject{fx.software}, true},
        {"scan object again", CatalogObject{fx.tools}, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        SelectScope(dialog, step.scope);
        EXPECT_EQ(CatalogBoxesShown(dialog), step.catalogBoxes);
        for (int bit = search::kFileName; bit <= search::kFolderMemo; bit <<= 1)
            EXPECT_TRUE(dialog.TargetBox(bit)->isVisibleTo(&dialog));
    }

    // A scan object as scope: "全不选" and "全选" leave the hidden boxes alone, and OK keeps only
    // the content targets whatever the hidden boxes hold.
    dialog.CheckNoneButton()->click();
    EXPECT_FALSE(dialog.TargetBox(search::kFileName)->isChecked());
    EXPECT_TRUE(dialog.TargetBox(search::kDiscLabel)->isChecked());
    dialog.CheckAllButton()->click();
    dialog.TextBox()->setEditText("abc");
    QTest::keyClick(dialog.TextBox()->lineEdit(), Qt::Key_Return);  // Return in the text box is OK
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.Criteria().targets, search::kContentTargets);
    EXPECT_EQ(model.Selected().entry, fx.tools);
}

TEST(FindDialogTest, OkFollowsTheRulesAndStaysOpenOnEachMessage) {
    enum class Scope { Root, ScanObject, None };
    const struct {
        const char* name;
        const char* text;
        int targets;
        Scope scope;
        bool readme;
        const char* message;  // empty: the dialog closes with OK
    } rows[] = {
        {"empty text with a content target", "   ", search::kFileName, Scope::Root, false, "查找内容不能为空!"},
        {"no scope chosen", "abc", search::kFileName, Scope::None, false, "请选择类别或光盘"},
        {"empty text with catalog targets only", "", search::kCategoryName, Scope::Root, false, ""},
        {"a lone asterisk is a text", "*", search::kFileName, Scope::ScanObject, false, ""},
        {"readme is cleared by a catalog target", "x", search::kDiscName | search::kFileName, Scope::Root, true, ""},
        {"readme stays with content targets", "x", search::kFileName, Scope::Root, true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogFixture fx;
        fx.options.fwFindWhat = 0;
        shell::FindDialogModel model = fx.Model();
        ui::FindDialog dialog(model, fx.doc, fx.ui, false);
        for (int bit = 1; bit <= search::kDiscLabel; bit <<= 1) dialog.TargetBox(bit)->setChecked(row.targets & bit);
        if (row.scope == Scope::ScanObject) SelectScope(dialog, CatalogObject{fx.tools});
        if (row.scope == Scope::None) dialog.ScopeTree()->selectionModel()->clearSelection();
        dialog.ReadmeBox()->setChecked(row.readme);
        dialog.TextBox()->setEditText(Tr(row.text));
        dialog.accept();
        const std::string message = row.message;
        if (message.empty()) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(fx.ui.messages.empty());
            const bool catalogTarget = (row.targets & search::kCatalogTargets) != 0;
            EXPECT_EQ(model.Criteria().readme, row.readme && !catalogTarget);
            EXPECT_EQ(dialog.ReadmeBox()->isChecked(), row.readme && !catalogTarget);
        } else {
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            ASSERT_EQ(fx.ui.messages.size(), 1u);
            EXPECT_EQ(fx.ui.messages.front(), Local(row.message));
        }
    }
}

TEST(FindDialogTest, OpensOnTheSettingsAndTheHistoryNewestFirstAndClearsIt) {
    DialogFixture fx;
    for (const char* past : {"old", "mid", "new"}) fx.doc.History().Add(Local(past));
    fx.options.fwFilter = Local("上次");
    fx.options.fwCurCategory = 1;
    fx.options.fwPartMatch = 0;
    fx.options.fwCase = 1;
    fx.options.fwCheckReadMe = 1;
    fx.options.fwFindWhat = search::kFileName | search::kDiscLabel;
    fx.doc.SetModified(false);
    shell::FindDialogModel model = fx.Model(shell::FindScope::Entry(*fx.tools));
    ui::FindDialog dialog(model, fx.doc, fx.ui, false);

    EXPECT_EQ(dialog.TextBox()->currentText(), Tr("上次"));
    ASSERT_EQ(dialog.TextBox()->count(), 3);
    EXPECT_EQ(dialog.TextBox()->itemText(0), "new");
    EXPECT_EQ(dialog.TextBox()->itemText(2), "old");
    EXPECT_EQ(dialog.ScopeTree()->currentIndex().data().toString(), "Tools");
    EXPECT_FALSE(dialog.SubcategoriesBox()->isChecked());
    EXPECT_TRUE(dialog.WholeMatchBox()->isChecked());
    EXPECT_TRUE(dialog.CaseBox()->isChecked());
    EXPECT_TRUE(dialog.ReadmeBox()->isChecked());
    EXPECT_TRUE(dialog.TargetBox(search::kFileName)->isChecked());
    // The label target is not set while a scan object is the scope.
    EXPECT_FALSE(dialog.TargetBox(search::kDiscLabel)->isChecked());

    // A history row picked from the list becomes the text.
    dialog.TextBox()->setCurrentIndex(1);
    emit dialog.TextBox()->activated(1);
    EXPECT_EQ(dialog.TextBox()->currentText(), "mid");

    dialog.ClearHistoryButton()->click();
    EXPECT_EQ(dialog.TextBox()->count(), 0);
    EXPECT_TRUE(dialog.TextBox()->currentText().isEmpty());
    EXPECT_TRUE(fx.doc.History().Strings().empty());
    EXPECT_TRUE(fx.doc.IsModified());
}

TEST(FindDialogTest, ReturnSearchesTheTextShownWhateverTheHistoryHolds) {
    DialogFixture fx;
    for (const char* past : {"00.", "20.", "0.", "20."}) fx.doc.History().Add(Local(past));
    fx.options.fwFilter = "0.";
    shell::FindDialogModel model = fx.Model();
    ui::FindDialog dialog(model, fx.doc, fx.ui, false);
    ASSERT_EQ(dialog.TextBox()->currentText(), "0.");
    QTest::keyClick(dialog.TextBox()->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.Criteria().text, "0.");
}

// ---------------------------------------------------------------------------------------------
// The wait dialog.

TEST(FindWaitDialogTest, ShowsTheNewestProgressUntilTheBoxIsUncheckedAndCancelsOnce) {
    ui::FindWaitDialog dialog(Local("珍藏"));
    QSignalSpy cancels(&dialog, &ui::FindWaitDialog::cancelRequested);
    EXPECT_EQ(dialog.windowTitle(), Tr("正在查找..."));
    EXPECT_EQ(dialog.accessibleName(), Tr("正在查找..."));
    EXPECT_EQ(dialog.ShowProgressBox()->text(), Tr("显示进度和提示"));
    EXPECT_TRUE(dialog.ShowProgressBox()->isChecked());
    EXPECT_NE(dialog.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly), nullptr);
    bool noteShown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        noteShown |= label->text() == Tr("!!!注意，不显示进度和提示将速度更快");
    EXPECT_TRUE(noteShown);

    dialog.ShowFolderPath(Local("\\软件\\旧"));
    dialog.ShowProgress(20);
    dialog.ShowFolderPath(Local("\\软件\\新"));
    dialog.ShowProgress(60);
    dialog.ApplyPending();
    EXPECT_EQ(dialog.PathField()->toolTip(), Tr("\\软件\\新"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 60);

    dialog.ShowProgressBox()->setChecked(false);
    dialog.ShowFolderPath(Local("\\其他"));
    dialog.ShowProgress(90);
    dialog.ApplyPending();
    EXPECT_EQ(dialog.PathField()->toolTip(), Tr("\\软件\\新"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 60);

    // Escape and a close request stop the search as "取消(&C)" does; the window stays for its owner.
    dialog.show();
    dialog.reject();
    EXPECT_FALSE(dialog.close());
    dialog.CancelButton()->click();
    EXPECT_EQ(cancels.count(), 1);
    EXPECT_TRUE(dialog.IsCancelled());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.CancelButton()->isEnabled());
}

// ---------------------------------------------------------------------------------------------
// Whole searches from the main window. The worker's lines reach the pane as in the program:
// through the catalog's log, which can also hold the worker at a chosen hit.

class PaneRelay final : public catalog::MessageLog {
public:
    void Post(MessageKind kind, std::string_view text) override {
        std::unique_lock lock(m_mutex);
        if (kind == MessageKind::Result && ++m_hits == m_holdAt) {
            m_held = true;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_released; });
        }
        if (m_target) m_target->Post(kind, text);
    }
    void SetTarget(catalog::MessageLog* target) {
        const std::lock_guard lock(m_mutex);
        m_target = target;
    }
    // The worker stops inside its `hit`th hit line until Release.
    void HoldAt(int hit) {
        const std::lock_guard lock(m_mutex);
        m_holdAt = hit;
    }
    void WaitUntilHeld() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_held; });
    }
    void Release() {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    catalog::MessageLog* m_target = nullptr;
    int m_hits = 0;
    int m_holdAt = 0;
    bool m_held = false;
    bool m_released = false;
};

struct RelayHolder {
    PaneRelay relay;  // outlives the window and the catalog built on it
};

// Pelko\Software with the scan objects Disc1 (docs\hit1.txt, docs\hit2.txt, other.txt) and Disc2
// (hit3.txt), and Pelko\Music with Big (many hits in one folder) when asked for.
struct SearchFixture : RelayHolder, WindowFixture {
    catalog::CCategory* software = nullptr;
    catalog::CDiskInfo* disc1 = nullptr;
    catalog::CDiskInfo* disc2 = nullptr;

    explicit SearchFixture(int bigDiscs = 0) {
        doc = std::make_unique<catalog::CPelkoDoc>(folder.path(), relay, ui);
        doc->LoadCatalog();
        software = doc->Root()->AddNewSubcategory("Software", relay, ui);
        disc1 = &AddDisc(folder.path(), *software, "Disc1", "D1", 1, [](catalog::CCD& cd) {
            catalog::CDir& docs = AddFolder(cd, "docs");
            AddFile(docs, "hit1.txt");
            AddFile(docs, "hit2.txt");
            AddFile(cd, "other.txt");
        });
        disc2 = &AddDisc(folder.path(), *software, "Disc2", "D2", 2, [](catalog::CCD& cd) { AddFile(cd, "hit3.txt"); });
        catalog::CCategory* music = doc->Root()->AddNewSubcategory("Music", relay, ui);
        for (int d = 0; d < bigDiscs; ++d) {
            AddDisc(folder.path(), *music, "Big" + std::to_string(d), "BIG" + std::to_string(d), 100 + d,
                    [](catalog::CCD& cd) {
                        for (int f = 0; f < 500; ++f) AddFile(cd, "hit-big" + std::to_string(f));
                    });
        }
        settings.WriteInt("PopCloseDlg", 0);
        settings.WriteInt("LastViewStyle", 1);
        Window();
        relay.SetTarget(window->Pane());
    }
    ~SearchFixture() {
        relay.Release();
        relay.SetTarget(nullptr);
        window.reset();  // joins any worker still running before the relay goes
    }

    ui::FindCommands& Finds() { return *window->findChild<ui::FindCommands*>(QStringLiteral("FindCommands")); }
    // Plays the user in the find dialog the next command opens; `play` returns whether to press OK.
    void OnFindDialog(std::function<bool(ui::FindDialog&)> play) {
        QTimer::singleShot(0, [play = std::move(play)] {
            auto* dialog = qobject_cast<ui::FindDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no find dialog is up";
            if (play(*dialog)) dialog->accept();
            if (dialog->isVisible()) dialog->reject();
        });
    }
    bool WaitForTheEnd() {
        QElapsedTimer clock;
        clock.start();
        while (Finds().IsSearching() && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::processEvents();
        return !Finds().IsSearching();
    }
    QStringList PaneLines() {
        window->Pane()->Flush();
        QStringList lines;
        for (QTextBlock b = window->Pane()->Editor()->document()->begin(); b.isValid(); b = b.next())
            if (!b.text().isEmpty()) lines << b.text();
        return lines;
    }
    QStringList Hits() { return PaneLines().filter(QRegularExpression(QStringLiteral("^ {8}Pelko\\\\"))); }
    QString SelectedLine() { return window->Pane()->Editor()->textCursor().selectedText(); }
    QString TreeCurrentText() { return window->Browsing()->Tree()->currentIndex().data().toString(); }
    QString ListSelectedName() {
        const auto rows = window->Browsing()->ListSelection();
        if (rows.size() != 1 || !std::holds_alternative<catalog::CFileInfo*>(rows.front())) return {};
        return ToQt(std::get<catalog::CFileInfo*>(rows.front())->m_strName.view());
    }
};

bool TypeHit(ui::FindDialog& dialog) {
    dialog.TextBox()->setEditText(QStringLiteral("hit"));
    return true;
}

TEST(FindWindowsThreads, HitsReachThePaneWholeInOrderAndTheViewsGoToEachInTurn) {
    for (const bool clearFirst : {true, false}) {
        SCOPED_TRACE(clearFirst ? "ClearBeforeInfo 1" : "ClearBeforeInfo 0");
        SearchFixture fx;
        fx.settings.WriteInt("ClearBeforeInfo", clearFirst ? 1 : 0);
        fx.window->Pane()->Post(MessageKind::Hint, "earlier line");
        fx.OnFindDialog(TypeHit);
        fx.window->Action("find")->trigger();
        ASSERT_TRUE(fx.Finds().IsSearching());
        ASSERT_NE(fx.Finds().WaitDialog(), nullptr);
        EXPECT_TRUE(fx.busy.IsSearching());
        ASSERT_TRUE(fx.WaitForTheEnd());

        EXPECT_EQ(fx.Finds().WaitDialog(), nullptr);
        EXPECT_TRUE(fx.busy.IsIdle());
        const QStringList lines = fx.PaneLines();
        EXPECT_EQ(lines.contains(Tr("提示：  earlier line")), !clearFirst);
        const int opening = lines.indexOf(Tr("提示：  正在查找..."));
        ASSERT_GE(opening, 0);
        EXPECT_EQ(lines.mid(opening + 1, 3),
                  (QStringList{Tr("        范围：类别<< Pelko >>及其所有子类别下下的光盘"),
                               Tr("        对象：文件名称"), Tr("        条件：部分匹配，不分大小写")}));
        // Entries are searched in stored order, the newest first.
        EXPECT_EQ(fx.Hits(), (QStringList{"        Pelko\\Software\\Disc2\\hit3.txt",
                                          "        Pelko\\Software\\Disc1\\docs\\hit1.txt",
                                          "        Pelko\\Software\\Disc1\\docs\\hit2.txt"}));
        EXPECT_EQ(lines.last(), Tr("提示：  符合条件的查找结果共有 3 项"));

        // The end of the search goes to its first hit; F7 and F8 walk on and back.
        EXPECT_TRUE(fx.window->PaneDock()->isVisibleTo(fx.window.get()));
        EXPECT_EQ(fx.SelectedLine(), "        Pelko\\Software\\Disc2\\hit3.txt");
        EXPECT_EQ(fx.TreeCurrentText(), "Disc2");
        EXPECT_EQ(fx.ListSelectedName(), "hit3.txt");
        fx.window->Action("next-line")->trigger();
        EXPECT_EQ(fx.TreeCurrentText(), "docs");
        EXPECT_EQ(fx.ListSelectedName(), "hit1.txt");
        fx.window->Action("next-line")->trigger();
        EXPECT_EQ(fx.ListSelectedName(), "hit2.txt");
        fx.window->Action("previous-line")->trigger();
        EXPECT_EQ(fx.ListSelectedName(), "hit1.txt");

        // The history and the settings keep the search.
        EXPECT_EQ(fx.doc->History().Strings().front(), "hit");
        EXPECT_EQ(fx.settings.ReadString("FW_strFilter", ""), "hit");
    }
}

TEST(FindWindowsThreads, AScanObjectFromTheTreeIsTheScopeAndStoresOnlyContentTargets) {
    SearchFixture fx;
    fx.settings.WriteInt("FW_nFindWhat", search::kAllTargets);
    fx.options.Load(fx.settings);
    auto* browsing = fx.window->Browsing();
    browsing->Tree()->setCurrentIndex(browsing->TreeModel()->RevealIndexOf(CatalogObject{fx.disc1}));
    bool sawScope = false;
    fx.OnFindDialog([&](ui::FindDialog& dialog) {
        sawScope = dialog.ScopeTree()->currentIndex().data().toString() == "Disc1" && !CatalogBoxesShown(dialog);
        dialog.CheckAllButton()->click();
        return TypeHit(dialog);
    });
    fx.window->Action("tree-find")->trigger();
    ASSERT_TRUE(fx.WaitForTheEnd());
    EXPECT_TRUE(sawScope);
    EXPECT_EQ(fx.settings.ReadInt("FW_nFindWhat", -1), search::kContentTargets);
    EXPECT_EQ(fx.Hits(), (QStringList{"        Pelko\\Software\\Disc1\\docs\\hit1.txt",
                                      "        Pelko\\Software\\Disc1\\docs\\hit2.txt"}));
    EXPECT_TRUE(fx.PaneLines().contains(Tr("        范围：光盘<< Pelko\\Software\\Disc1 >>")));

    // From the list: the selected category is the scope.
    browsing->Tree()->setCurrentIndex(browsing->TreeModel()->index(0, 0));
    QString listScope;
    fx.OnFindDialog([&](ui::FindDialog& dialog) {
        listScope = dialog.ScopeTree()->currentIndex().data().toString();
        return false;
    });
    ASSERT_TRUE(browsing->List()->SelectOnly(CatalogObject{fx.software}));
    fx.window->Action("list-find")->trigger();
    EXPECT_EQ(listScope, "Software");
    EXPECT_FALSE(fx.Finds().IsSearching());
}

TEST(FindWindowsThreads, CancelStopsTheWorkerAndNeitherCloseNorASecondSearchRunMeanwhile) {
    SearchFixture fx(4);  // 2,000 more hits in Pelko\Music
    fx.relay.HoldAt(10);
    fx.OnFindDialog(TypeHit);
    fx.window->Action("find")->trigger();
    ASSERT_TRUE(fx.Finds().IsSearching());
    fx.relay.WaitUntilHeld();

    // Closing the program is refused with its message; a second find opens no dialog.
    EXPECT_FALSE(fx.window->close());
    ASSERT_FALSE(fx.ui.messages.empty());
    EXPECT_EQ(fx.ui.messages.back(), Local("正在查找，暂时不能关闭！"));
    bool secondDialog = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<ui::FindDialog*>(QApplication::activeModalWidget())) {
            secondDialog = true;
            dialog->reject();
        }
    });
    fx.window->Action("find")->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(secondDialog);

    ui::FindWaitDialog* wait = fx.Finds().WaitDialog();
    ASSERT_NE(wait, nullptr);
    wait->CancelButton()->click();
    fx.relay.Release();
    ASSERT_TRUE(fx.WaitForTheEnd());
    const int hits = static_cast<int>(fx.Hits().size());
    EXPECT_GE(hits, 10);
    EXPECT_LT(hits, 500) << "the walk goes on after Cancel";
    EXPECT_EQ(fx.PaneLines().last(), Tr("提示：  ") + ToQt(search::CountLine(hits)));
    EXPECT_TRUE(fx.busy.IsIdle());
    EXPECT_EQ(fx.Finds().WaitDialog(), nullptr);
    EXPECT_TRUE(fx.window->close());
}

}  // namespace
}  // namespace pelko::test
