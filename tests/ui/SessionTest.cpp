// Start-up and close: the catalog-folder check, the login, the password dialog's two modes, the
// close sequence and the idle save.

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "catalog/CRootCategory.h"
#include "shell/SessionRules.h"
#include "text/Codec.h"
#include "ui/app/ForwardingLog.h"
#include "ui/app/IdleSaver.h"
#include "ui/dialogs/CloseDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/text/QtText.h"
#include "WindowFixture.h"

namespace pelko::ui {
namespace {

using text::Local;

TEST(SessionRulesTest, OnlyTheFileSystemRootIsRefusedAsCatalogFolder) {
    EXPECT_TRUE(shell::RefuseCatalogFolder("/"));
    EXPECT_TRUE(shell::RefuseCatalogFolder("/tmp/.."));
    EXPECT_FALSE(shell::RefuseCatalogFolder("/tmp"));
    EXPECT_FALSE(shell::RefuseCatalogFolder("/home/someone/.local/share/Pelko"));
}

TEST(SessionRulesTest, LoginHasOneAttemptAndComparesBytes) {
    const struct {
        const char* name;
        std::string stored;
        std::optional<std::string> entered;
        shell::LoginResult result;
        bool asked;
        bool message;
    } rows[] = {
        {"no-password-asks-nothing", "", std::string("x"), shell::LoginResult::Passed, false, false},
        {"right-password", "Secret", std::string("Secret"), shell::LoginResult::Passed, true, false},
        {"case-matters-at-login", "Secret", std::string("SECRET"), shell::LoginResult::WrongPassword, true, true},
        {"cancel-is-silent", "Secret", std::nullopt, shell::LoginResult::Cancelled, true, false},
        {"gbk-password", Local("密码"), Local("密码"), shell::LoginResult::Passed, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::ScriptedUi ui;
        int asked = 0;
        const auto result = shell::CheckLogin(row.stored, [&] { ++asked; return row.entered; }, ui);
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(asked, row.asked ? 1 : 0);
        EXPECT_EQ(ui.messages.size(), row.message ? 1u : 0u);
        if (row.message) {
            EXPECT_EQ(ui.messages[0], Local("输入的密码不正确, 请重新登录"));
        }
    }
}

TEST(SessionRulesTest, ConfirmationAgreesWithoutRegardToSingleByteCase) {
    EXPECT_TRUE(shell::PasswordEntriesAgree("Secret", "sECRET"));
    EXPECT_TRUE(shell::PasswordEntriesAgree("", ""));
    EXPECT_FALSE(shell::PasswordEntriesAgree("Secret", "Secrets"));
    EXPECT_FALSE(shell::PasswordEntriesAgree("", "a"));
    EXPECT_TRUE(shell::PasswordEntriesAgree(Local("密码A"), Local("密码a")));
    // A trail byte with the code of a capital is part of its character and does not fold.
    EXPECT_FALSE(shell::PasswordEntriesAgree("\x81\x41", "\x81\x61"));
}

// Closes the next modal box or dialog that opens (message boxes of the dialog under test).
void AcceptNextModal() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->accept();
        }
    });
}

TEST(PasswordDialogTest, LoginModeShowsOneFieldAndTheGiveUpButton) {
    PasswordDialog dialog(PasswordDialog::Mode::Login);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), Tr("输入密码"));
    EXPECT_FALSE(dialog.ConfirmationField()->isVisible());
    EXPECT_TRUE(dialog.PasswordField()->isVisible());
    EXPECT_TRUE(dialog.PasswordField()->text().isEmpty());
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->isVisible()) labels << label->text();
    }
    EXPECT_TRUE(labels.contains(Tr("登录密码：")));
    EXPECT_TRUE(labels.contains(Tr("请输入密码,只有密码正确才能使用")));
    QStringList buttons;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
    EXPECT_TRUE(buttons.contains(Tr("放弃登录")));
    // No comparison in login mode: any text closes with OK.
    dialog.PasswordField()->setText(QStringLiteral("abc"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Password(), "abc");
}

TEST(PasswordDialogTest, SetModeKeepsDialogOpenOnMismatchAndGivesTheConfirmationText) {
    PasswordDialog dialog(PasswordDialog::Mode::Set);
    dialog.show();
    EXPECT_TRUE(dialog.ConfirmationField()->isVisible());
    dialog.PasswordField()->setText(QStringLiteral("Secret"));
    dialog.ConfirmationField()->setText(QStringLiteral("Other"));
    AcceptNextModal();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.ConfirmationField()->setText(QStringLiteral("SECRET"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Confirmation(), "SECRET");
}

TEST(PasswordDialogTest, TheConfirmationTextBecomesThePasswordAndIsSavedAtOnce) {
    test::WindowFixture fixture;
    fixture.Window();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->PasswordField()->setText(QStringLiteral("Secret"));
        dialog->ConfirmationField()->setText(QStringLiteral("SECRET"));
        dialog->accept();
    });
    fixture.Window().Action("password")->trigger();
    EXPECT_EQ(fixture.doc->Root()->m_strPassword, "SECRET");
    EXPECT_FALSE(fixture.doc->IsModified());
    // The next start loads the password: the first field's text no longer logs in.
    test::ScriptedUi ui;
    catalog::CPelkoDoc reloaded(fixture.folder.path(), fixture.log, ui);
    ASSERT_TRUE(reloaded.LoadCatalog());
    EXPECT_EQ(shell::CheckLogin(reloaded.Root()->m_strPassword, [] { return std::optional<std::string>("Secret"); }, ui),
              shell::LoginResult::WrongPassword);
}

struct CloseCase {
    const char* name;
    shell::Busy busy;
    int popCloseDlg;
    std::optional<bool> dialogAnswer;  // nothing: cancelled; else the box ticked
    shell::CloseDecision decision;
    bool layoutStored;
    int popCloseAfter;
    bool asked;
};

TEST(CloseSequenceTest, RulesOfTheCloseRequest) {
    const CloseCase rows[] = {
        {"searching-refuses-and-stores-nothing", shell::Busy::Searching, 1, true, shell::CloseDecision::StayOpen,
         false, 1, false},
        {"cancelled-still-stores-layout", shell::Busy::Idle, 1, std::nullopt, shell::CloseDecision::StayOpen, true,
         1, true},
        {"ticked-stores-0", shell::Busy::Idle, 1, true, shell::CloseDecision::Close, true, 0, true},
        {"unticked-keeps-1", shell::Busy::Idle, 1, false, shell::CloseDecision::Close, true, 1, true},
        {"no-dialog-with-0", shell::Busy::Idle, 0, std::nullopt, shell::CloseDecision::Close, true, 0, false},
        {"scanning-does-not-refuse", shell::Busy::Scanning, 0, std::nullopt, shell::CloseDecision::Close, true, 0,
         false},
    };
    for (const CloseCase& row : rows) {
        SCOPED_TRACE(row.name);
        settings::MemorySettingsStore settings;
        settings.WriteInt("PopCloseDlg", row.popCloseDlg);
        shell::AppSettings options;
        options.Load(settings);
        shell::BusyState busy;
        busy.Set(row.busy);
        test::ScriptedUi ui;
        bool asked = false;
        const auto decision = shell::DecideClose(busy, {3, 250}, options, settings, ui, [&] {
            asked = true;
            return row.dialogAnswer;
        });
        EXPECT_EQ(decision, row.decision);
        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(settings.ReadInt("LastViewStyle", -1), row.layoutStored ? 3 : -1);
        EXPECT_EQ(settings.ReadInt("CurColPos", -1), row.layoutStored ? 250 : -1);
        EXPECT_EQ(options.IntValue(settings, "PopCloseDlg"), row.popCloseAfter);
        EXPECT_EQ(ui.messages.size(), row.busy == shell::Busy::Searching ? 1u : 0u);
    }
}

TEST(CloseSequenceTest, WindowCloseSavesTheCatalogUnregistersKeysAndStoresTheTreeWidth) {
    test::WindowFixture fixture(1);
    fixture.settings.WriteInt("PopCloseDlg", 0);
    fixture.settings.WriteInt("EHotKeyCombine50000", 3);
    fixture.settings.WriteInt("EHotKeyChar50000", 69);
    fixture.settings.WriteInt("CurColPos", 240);
    MainWindow& window = fixture.Window();
    window.resize(1000, 700);
    window.show();
    window.RegisterHotKeys();
    EXPECT_EQ(fixture.hotKeys.registered, std::vector<int>{50000});
    EXPECT_EQ(window.Tree()->width(), 240);

    fixture.doc->Root()->m_strMemo = "changed";
    fixture.doc->SetModified();
    window.Splitter()->setSizes({300, 700});
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.CloseApproved());
    EXPECT_FALSE(fixture.doc->IsModified());
    EXPECT_TRUE(fixture.hotKeys.registered.empty());
    EXPECT_EQ(fixture.settings.ReadInt("CurColPos", -1), window.Tree()->width());
}

TEST(CloseSequenceTest, WindowStaysOpenWhileSearching) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    fixture.busy.Set(shell::Busy::Searching);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(fixture.ui.messages[0], Local("正在查找，暂时不能关闭！"));
}

TEST(CloseDialogTest, TextsAndTheBox) {
    CloseDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), Tr("关闭Pelko－光盘管理工具"));
    EXPECT_EQ(dialog.DontAskAgainBox()->text(), Tr("下次不再提示"));
    EXPECT_FALSE(dialog.DontAskAgain());
}

TEST(IdleSaverTest, SavesAModifiedCatalogOnlyAfterTheUserStops) {
    test::TempDir folder;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc(folder.path(), log, ui);
    ASSERT_TRUE(doc.LoadCatalog());
    ASSERT_TRUE(doc.SaveCatalog());
    const std::string before = test::ReadFile(folder / "tnk.dat");
    int highlights = 0;
    IdleSaver idle(doc, [&] { ++highlights; }, false);

    doc.Root()->m_strMemo = "a memo";
    doc.SetModified();
    idle.Touch();
    QTest::qWait(IdleSaver::kDelayMs / 2);
    idle.Touch();  // another change restarts the wait
    QTest::qWait(IdleSaver::kDelayMs / 2 + 50);
    EXPECT_TRUE(doc.IsModified()) << "saved before the user stopped";
    EXPECT_EQ(test::ReadFile(folder / "tnk.dat"), before);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc.IsModified(); }, 2000));
    EXPECT_NE(test::ReadFile(folder / "tnk.dat"), before);
    EXPECT_EQ(highlights, 1);
}

TEST(ForwardingLogTest, StartUpLinesReachThePaneInOrderAndNothingAfterItGoes) {
    ForwardingLog log;
    log.Post(catalog::MessageKind::Error, "first");
    log.Post(catalog::MessageKind::Hint, "second");
    test::RecordingLog pane;
    log.SetTarget(&pane);
    log.Post(catalog::MessageKind::Warning, "third");
    const std::vector<std::pair<catalog::MessageKind, std::string>> expected{
        {catalog::MessageKind::Error, "first"}, {catalog::MessageKind::Hint, "second"},
        {catalog::MessageKind::Warning, "third"}};
    EXPECT_EQ(pane.Lines(), expected);
    log.Detach();
    log.Post(catalog::MessageKind::Error, "late");
    EXPECT_EQ(pane.Lines(), expected);
}

TEST(CatalogTreeModelTest, RootCategoriesAndEntriesUnderTheModelTester) {
    test::TempDir folder;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc(folder.path(), log, ui);
    ASSERT_TRUE(doc.LoadCatalog());
    doc.Root()->m_strName = "Pelko";
    catalog::CCategory* music = doc.Root()->AddNewSubcategory(Local("测试类别"), log, ui);
    ASSERT_NE(music, nullptr);
    music->AddNewSubcategory("Jazz", log, ui);
    music->AddNewEntry("Disc 1", log);
    music->AddNewEntry("Disc 2", log);

    CatalogTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRoot(doc.Root());
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(root.data().toString(), QStringLiteral("Pelko"));
    const int categories = static_cast<int>(doc.Root()->Subcategories().size());
    EXPECT_EQ(model.rowCount(root), categories + static_cast<int>(doc.Root()->Entries().size()));

    QModelIndex musicIndex;
    for (int row = 0; row < model.rowCount(root); ++row) {
        if (model.index(row, 0, root).data().toString() == Tr("测试类别")) musicIndex = model.index(row, 0, root);
    }
    ASSERT_TRUE(musicIndex.isValid());
    EXPECT_EQ(model.CategoryAt(musicIndex), music);
    ASSERT_EQ(model.rowCount(musicIndex), 3);
    EXPECT_EQ(model.index(0, 0, musicIndex).data().toString(), QStringLiteral("Jazz"));
    const QModelIndex disc2 = model.index(2, 0, musicIndex);
    // Entries follow the sub-categories, ordered by upper-cased name ("Disc 1" before "Disc 2").
    EXPECT_EQ(model.EntryAt(disc2), music->FindEntry("Disc 2"));
    EXPECT_EQ(disc2.data().toString(), QStringLiteral("Disc 2"));
    EXPECT_EQ(model.CategoryAt(disc2), nullptr);
    EXPECT_EQ(disc2.parent(), musicIndex);
    EXPECT_EQ(model.rowCount(disc2), 0);
    EXPECT_EQ(model.index(0, 0, musicIndex).parent().parent(), root);
}

}  // namespace
}  // namespace pelko::ui
