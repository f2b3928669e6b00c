// The export window through a run of its worker, closing it while the worker runs, the export
// commands of the main window, and the edit-and-print window's tree, save-back and printing.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

#include "catalog/CCD.h"
#include "catalog/CRootCategory.h"
#include "export/ExportPaths.h"
#include "support/DiscBuilder.h"
#include "text/Codec.h"
#include "ui/dialogs/EditPrintDialog.h"
#include "ui/dialogs/ExportWindow.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/text/QtText.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"
#include "WindowFixture.h"

namespace pelko::test {
namespace {

namespace fs = std::filesystem;
using text::Local;
using ui::EditPrintDialog;
using ui::ExportWindow;
using ui::FromQt;
using ui::Tr;

class RecordingOpener final : public exporting::DocumentOpener {
public:
    bool Open(const fs::path& file) override {
        opened.push_back(file);
        return true;
    }
    std::vector<fs::path> opened;
};

// Pelko\Music\Disc1 holding Songs\a.mp3 and notes.txt.
struct ExportFixture : WindowFixture {
    catalog::CCategory* music = nullptr;
    catalog::CDiskInfo* disc = nullptr;
    RecordingOpener browser;

    ExportFixture() {
        music = doc->Root()->AddNewSubcategory("Music", log, ui);
        disc = &AddDisc(folder.path(), *music, "Disc1", "DISC1", 0x1234, [](catalog::CCD& cd) {
            AddFile(AddFolder(cd, "Songs"), "a.mp3");
            AddFile(cd, "notes.txt");
        });
    }
    ui::AppServices Services() {
        options.Load(settings);
        return {*doc, settings, options, busy, ui, drives, hotKeys, browser};
    }
    fs::path ExportRoot() const { return folder / "Pelko"; }
};

struct Shown {
    bool exportOn, stopOn, exitOn, allTypes, allTypesOn, listed, listedOn, typeListOn, progress;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out) {
    *out << "export " << s.exportOn << " stop " << s.stopOn << " exit " << s.exitOn << " all " << s.allTypes << "/"
         << s.allTypesOn << " listed " << s.listed << "/" << s.listedOn << " types " << s.typeListOn << " progress "
         << s.progress;
}

Shown ShownBy(const ExportWindow& w) {
    return {w.ExportButton()->isEnabled(), w.StopButton()->isEnabled(),  w.ExitButton()->isEnabled(),
            w.AllTypesBox()->isChecked(),  w.AllTypesBox()->isEnabled(), w.ListedTypesBox()->isChecked(),
            w.ListedTypesBox()->isEnabled(), w.TypeList()->isEnabled(),  !w.Progress()->isHidden()};
}

void WaitForEnd(const ExportWindow& window) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Logic().IsExporting(); }, 10000));
}

TEST(ExportWindowThreads, ControlsFollowTheTypeRulesAndARunFromStartToEnd) {
    ExportFixture f;
    ExportWindow window(f.Services(), exporting::ExportFormat::Text, f.music, nullptr);
    window.show();
    EXPECT_EQ(window.windowTitle(), Tr("导出为文本"));
    EXPECT_EQ(window.objectName(), QStringLiteral("ExportWindow"));
    // Opening made every category folder.
    EXPECT_TRUE(fs::is_directory(f.ExportRoot() / "Music"));
    EXPECT_EQ(ShownBy(window), (Shown{true, false, true, true, true, false, true, false, false}));

    window.ListedTypesBox()->click();
    EXPECT_EQ(ShownBy(window), (Shown{true, false, true, false, true, true, true, true, false}));
    window.FoldersOnlyBox()->click();
    EXPECT_EQ(ShownBy(window), (Shown{true, false, true, false, false, true, false, false, false}));
    window.FoldersOnlyBox()->click();
    window.TypeList()->setText(QStringLiteral("*.MP3"));

    window.ExportButton()->click();
    EXPECT_EQ(ShownBy(window), (Shown{false, true, false, false, false, true, false, false, true}));
    EXPECT_FALSE(window.EditPrintButton()->isEnabled());
    WaitForEnd(window);
    // The type rules apply again: the listed-types box is still on, so its list is enabled.
    EXPECT_EQ(ShownBy(window), (Shown{true, false, true, false, true, true, true, true, false}));
    EXPECT_EQ(window.Progress()->value(), 0);
    EXPECT_TRUE(window.EditPrintButton()->isEnabled());

    // The chosen category and the typed list (folded) decided what was written.
    const std::string written = ReadFile(f.ExportRoot() / "Music" / "Disc1.txt");
    EXPECT_NE(written.find("Pelko\\Music\\Disc1\r\n\r\n"), std::string::npos);
    EXPECT_NE(written.find("a.mp3"), std::string::npos);
    EXPECT_EQ(written.find("notes.txt"), std::string::npos);
}

TEST(ExportWindowThreads, WhileTheWorkerRunsEscapeIsIgnoredAndACloseRequestStopsItThenCloses) {
    ExportFixture f;
    ExportWindow window(f.Services(), exporting::ExportFormat::Text, nullptr, nullptr);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    window.ExportButton()->click();
    QTest::keyClick(&window, Qt::Key_Escape);
    window.reject();
    EXPECT_TRUE(window.isVisible());
    WaitForEnd(window);
    EXPECT_TRUE(window.isVisible());  // the Escape was not kept for later

    window.ExportButton()->click();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Logic().IsExporting());
    WaitForEnd(window);
    EXPECT_FALSE(window.isVisible());

    // Idle, Escape closes at once.
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(ExportWindowThreads, TheWindowCanGoWhileItsWorkerRuns) {
    // Destroying the window stops and joins the worker before the relay it reports to goes.
    ExportFixture f;
    auto window = std::make_unique<ExportWindow>(f.Services(), exporting::ExportFormat::Html, nullptr, nullptr);
    window->StartExport();
    window.reset();
    QApplication::processEvents();
    // Whatever the worker got to, no file is left half-written.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(f.ExportRoot())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(entry.is_directory() || name == "index.htm" || name == "indexTxt.htm" || name == "Disc1.htm")
            << name;
    }
}

TEST(ExportWindow, HtmlModeChoosesTheRootAndItsEditAndPrintButtonBrowsesTheIndexPage) {
    ExportFixture f;
    ExportWindow window(f.Services(), exporting::ExportFormat::Html, nullptr, nullptr);
    EXPECT_EQ(window.windowTitle(), Tr("导出到网页文件..."));
    EXPECT_EQ(window.Tree()->currentIndex().data().toString(), QStringLiteral("Pelko"));
    EXPECT_EQ(std::get<const catalog::CCategory*>(window.ChosenTarget()), f.doc->Root());
    // Opening wrote both index pages, in either mode.
    EXPECT_TRUE(fs::exists(f.ExportRoot() / "index.htm"));
    EXPECT_TRUE(fs::exists(f.ExportRoot() / "indexTxt.htm"));

    window.EditPrintButton()->click();
    EXPECT_EQ(f.browser.opened, (std::vector<fs::path>{f.ExportRoot() / "index.htm"}));

    // A scan object chosen in the tree is exported alone.
    auto* model = qobject_cast<ui::CatalogTreeModel*>(window.Tree()->model());
    window.Tree()->setCurrentIndex(model->RevealIndexOf(shell::CatalogObject(f.disc)));
    EXPECT_EQ(std::get<const catalog::CDiskInfo*>(window.ChosenTarget()), f.disc);
}

// Runs `inspect` on the modal window the command opens, then closes that window.
void OnNextModal(const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
}

TEST(ExportWindow, InTextModeEditAndPrintOpensTheEditWindowOverTheExportWindow) {
    ExportFixture f;
    ExportWindow window(f.Services(), exporting::ExportFormat::Text, nullptr, nullptr);
    QString title;
    QWidget* parent = nullptr;
    OnNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        parent = modal->parentWidget();
    });
    window.EditPrintButton()->click();
    EXPECT_EQ(title, Tr("编辑打印"));
    EXPECT_EQ(parent, &window);
    EXPECT_TRUE(f.browser.opened.empty());
}

TEST(ExportCommands, ContextMenuExportsStartFromTheChosenCategoryAndOnlyForACategory) {
    ExportFixture f;
    ui::MainWindow& main = f.Window();
    ui::CatalogBrowsing& browsing = *main.Browsing();
    QAction* treeExport = main.Action("tree-export-text");

    browsing.Tree()->setCurrentIndex(browsing.TreeModel()->RevealIndexOf(shell::CatalogObject(f.disc)));
    EXPECT_FALSE(treeExport->isEnabled());
    browsing.Tree()->setCurrentIndex(browsing.TreeModel()->RevealIndexOf(shell::CatalogObject(f.music)));
    ASSERT_TRUE(treeExport->isEnabled());

    QString title;
    QString chosen;
    OnNextModal([&](QWidget* modal) {
        auto* window = qobject_cast<ExportWindow*>(modal);
        ASSERT_NE(window, nullptr);
        title = window->windowTitle();
        chosen = window->Tree()->currentIndex().data().toString();
    });
    treeExport->trigger();
    EXPECT_EQ(title, Tr("导出为文本"));
    EXPECT_EQ(chosen, QStringLiteral("Music"));

    OnNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        chosen = static_cast<ExportWindow*>(modal)->Tree()->currentIndex().data().toString();
    });
    main.Action("export-html")->trigger();
    EXPECT_EQ(title, Tr("导出到网页文件..."));
    EXPECT_EQ(chosen, QStringLiteral("Pelko"));

    OnNextModal([&](QWidget* modal) { title = modal->windowTitle(); });
    main.Action("edit-print")->trigger();
    EXPECT_EQ(title, Tr("编辑打印"));
}

// Selects the list row showing `name` (the list shows the tree's current category).
bool SelectListRow(ui::CatalogBrowsing& browsing, const QString& name) {
    QAbstractItemView* view = browsing.List()->CurrentView();
    const QModelIndexList found =
        view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    view->selectionModel()->setCurrentIndex(found.front(),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

TEST(ExportCommands, TheListsExportNeedsExactlyOneCategorySelectedAndStartsFromIt) {
    ExportFixture f;
    ui::MainWindow& main = f.Window();
    ui::CatalogBrowsing& browsing = *main.Browsing();
    QAction* listExport = main.Action("list-export-text");

    browsing.Tree()->setCurrentIndex(browsing.TreeModel()->RevealIndexOf(shell::CatalogObject(f.music)));
    ASSERT_TRUE(SelectListRow(browsing, QStringLiteral("Disc1")));
    EXPECT_FALSE(listExport->isEnabled());

    browsing.Tree()->setCurrentIndex(browsing.TreeModel()->index(0, 0));
    ASSERT_TRUE(SelectListRow(browsing, QStringLiteral("Music")));
    ASSERT_TRUE(listExport->isEnabled());
    QString chosen;
    OnNextModal([&](QWidget* modal) {
        chosen = static_cast<ExportWindow*>(modal)->Tree()->currentIndex().data().toString();
    });
    listExport->trigger();
    EXPECT_EQ(chosen, QStringLiteral("Music"));
}

// Pelko with folders b (x.txt, y.htm), A (empty) and the files Zeta.txt, alpha.txt, index.htm.
struct EditPrintFixture {
    TempDir folder;
    ScriptedUi ui;
    fs::path root = folder / "Pelko";
    int converts = 0;
    std::function<void()> onConvert;

    EditPrintFixture() {
        folder.WriteFile("Pelko/b/x.txt", "x\r\n");
        folder.WriteFile("Pelko/b/y.htm", "y");
        folder.MakeFolder("Pelko/A");
        folder.WriteFile("Pelko/Zeta.txt", "zeta\r\n");
        folder.WriteFile("Pelko/alpha.txt", Local("Pelko\\Disc 1\r\n\r\n├readme.txt\r\n"));
        folder.WriteFile("Pelko/index.htm", "<p>");
    }
    std::unique_ptr<EditPrintDialog> Open() {
        return std::make_unique<EditPrintDialog>(root, ui, [this](QWidget*) {
            ++converts;
            if (onConvert) onConvert();
        });
    }
};

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

TEST(EditPrintDialog, TheTreeListsFoldersFirstThenTextFilesByNameWithoutRegardToCase) {
    EditPrintFixture f;
    auto dialog = f.Open();
    EXPECT_EQ(dialog->windowTitle(), Tr("编辑打印"));
    ASSERT_EQ(dialog->Tree()->topLevelItemCount(), 1);
    const QTreeWidgetItem* top = dialog->Tree()->topLevelItem(0);
    EXPECT_EQ(top->text(0), QStringLiteral("Pelko"));
    EXPECT_TRUE(top->isExpanded());
    EXPECT_EQ(ChildTexts(top), (QStringList{"A", "b", "alpha.txt", "Zeta.txt"}));
    EXPECT_EQ(ChildTexts(top->child(1)), QStringList{"x.txt"});
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(EditPrintDialog, AnEditGoesBackIntoItsFileInTheCodePageWhenAnotherFileIsChosenAndOnLeaving) {
    EditPrintFixture f;
    auto dialog = f.Open();
    QPlainTextEdit* view = dialog->TextView();
    EXPECT_TRUE(view->isReadOnly());

    ASSERT_TRUE(dialog->ChooseFile(f.root / "alpha.txt"));
    EXPECT_EQ(view->toPlainText(), Tr("Pelko\\Disc 1\n\n├readme.txt\n"));
    view->moveCursor(QTextCursor::End);
    view->insertPlainText(QStringLiteral("备注"));
    // A folder leaves the shown file as it is.
    dialog->Tree()->setCurrentItem(dialog->Tree()->topLevelItem(0)->child(0));
    EXPECT_EQ(dialog->ShownFile(), f.root / "alpha.txt");
    ASSERT_TRUE(dialog->ChooseFile(f.root / "Zeta.txt"));
    EXPECT_EQ(ReadFile(f.root / "alpha.txt"), Local("Pelko\\Disc 1\r\n\r\n├readme.txt\r\n备注"));

    view->moveCursor(QTextCursor::End);
    view->insertPlainText(QStringLiteral("光盘"));
    dialog->ExitButton()->click();
    EXPECT_EQ(ReadFile(f.root / "Zeta.txt"), Local("zeta\r\n光盘"));
}

TEST(EditPrintDialog, AFileNotEditedIsNotWrittenAgainAndClearThenExitEmptiesTheFile) {
    EditPrintFixture f;
    auto dialog = f.Open();
    ASSERT_TRUE(dialog->ChooseFile(f.root / "Zeta.txt"));
    // Exported anew behind the window's back: choosing another file keeps the new content.
    f.folder.WriteFile("Pelko/Zeta.txt", "exported again\r\n");
    ASSERT_TRUE(dialog->ChooseFile(f.root / "b" / "x.txt"));
    EXPECT_EQ(ReadFile(f.root / "Zeta.txt"), "exported again\r\n");

    dialog->ClearButton()->click();
    dialog->ExitButton()->click();
    EXPECT_EQ(ReadFile(f.root / "b" / "x.txt"), "");
}

TEST(EditPrintDialog, WithoutExportedFilesItSaysSoAndConvertingFillsTheTreeOrSaysItIsStillEmpty) {
    TempDir folder;
    ScriptedUi ui;
    int converts = 0;
    EditPrintDialog dialog(folder / "Pelko", ui, [&](QWidget*) {
        if (++converts == 2) folder.WriteFile("Pelko/Disc.txt", "d");
    });
    EXPECT_EQ(ui.messages, std::vector<std::string>{Local("没有找到导出后的文件，请先执行导出到文本文件")});
    EXPECT_EQ(dialog.Tree()->topLevelItemCount(), 0);

    dialog.ConvertButton()->click();
    EXPECT_EQ(ui.messages.back(), Local("还没有转换光盘，不能顺利完成编辑和打印工作"));
    EXPECT_EQ(dialog.Tree()->topLevelItemCount(), 0);

    dialog.ConvertButton()->click();
    EXPECT_EQ(converts, 2);
    EXPECT_EQ(ui.messages.size(), 2u);
    ASSERT_EQ(dialog.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(ChildTexts(dialog.Tree()->topLevelItem(0)), QStringList{"Disc.txt"});
}

TEST(EditPrintDialog, ConvertingWritesTheEditFirstAndForgetsTheShownFile) {
    EditPrintFixture f;
    std::string seenByExport;
    f.onConvert = [&] { seenByExport = ReadFile(f.root / "Zeta.txt"); };
    auto dialog = f.Open();
    ASSERT_TRUE(dialog->ChooseFile(f.root / "Zeta.txt"));
    dialog->TextView()->setPlainText(QStringLiteral("edited"));
    dialog->ConvertButton()->click();
    EXPECT_EQ(seenByExport, "edited");
    EXPECT_TRUE(dialog->ShownFile().empty());
    EXPECT_TRUE(dialog->TextView()->toPlainText().isEmpty());
}

int PageCount(const std::string& pdf) {
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
    return pages;
}

TEST(EditPrintDialog, TheShownTextPrintsToPdfPageAfterPage) {
    EditPrintFixture f;
    QString longText;
    for (int line = 0; line < 200; ++line) longText += QStringLiteral("line %1\n").arg(line);
    f.folder.WriteFile("Pelko/long.txt", FromQt(longText));
    auto dialog = f.Open();

    const auto printed = [&](const fs::path& file) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageMargins(QMarginsF(1, 1, 1, 1), QPageLayout::Inch);
        printer.setOutputFileName(QString::fromStdString((f.folder.path() / file.filename()).string() + ".pdf"));
        EXPECT_TRUE(dialog->PrintTo(printer));
        return ReadFile(f.folder.path() / (file.filename().string() + ".pdf"));
    };
    EXPECT_FALSE([&] {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((f.folder / "none.pdf").string()));
        return dialog->PrintTo(printer);  // nothing shown, nothing printed
    }());

    ASSERT_TRUE(dialog->ChooseFile(f.root / "Zeta.txt"));
    const std::string shortPdf = printed(f.root / "Zeta.txt");
    EXPECT_TRUE(shortPdf.starts_with("%PDF"));
    EXPECT_EQ(PageCount(shortPdf), 1);

    ASSERT_TRUE(dialog->ChooseFile(f.root / "long.txt"));
    EXPECT_GT(PageCount(printed(f.root / "long.txt")), 2);
}

}  // namespace
}  // namespace pelko::test
