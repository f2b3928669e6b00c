// The command table and the menus, tool bars and tray menu built from it.

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ui/mainwindow/CommandTable.h"
#include "ui/text/QtText.h"
#include "WindowFixture.h"

namespace pelko::ui {
namespace {

TEST(CommandTableTest, IdsAreUniqueAndEveryShortcutIsOneKeyUsedOnce) {
    std::set<std::string_view> ids;
    std::map<QString, std::string_view> owners;
    for (const CommandSpec& command : Commands()) {
        SCOPED_TRACE(std::string(command.id));
        EXPECT_TRUE(ids.insert(command.id).second) << "duplicate id";
        EXPECT_FALSE(command.text.empty());
        for (const QString& key : Tr(command.shortcuts).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QKeySequence sequence(key, QKeySequence::PortableText);
            EXPECT_EQ(sequence.count(), 1) << key.toStdString();
            const QString normal = sequence.toString(QKeySequence::PortableText);
            const auto [at, inserted] = owners.emplace(normal, command.id);
            EXPECT_TRUE(inserted) << normal.toStdString() << " is also " << at->second;
        }
    }
}

TEST(CommandTableTest, EveryLayoutEntryNamesACommand) {
    auto check = [](std::span<const std::string_view> entries) {
        for (std::string_view entry : entries) {
            if (entry == "-" || entry.starts_with('@')) continue;
            EXPECT_NE(FindCommand(entry), nullptr) << entry;
        }
    };
    for (const MenuSpec& menu : MainMenus()) check(menu.entries);
    check(TrayMenuEntries());
    check(MainToolBarEntries());
    check(PathBarEntries());
}

TEST(CommandTableTest, PlainTextDropsMnemonicAndDots) {
    EXPECT_EQ(PlainCommandText("自动扫描光盘(&S)..."), Tr("自动扫描光盘(S)"));
    EXPECT_EQ(PlainCommandText("扫描指定盘符(D)..."), Tr("扫描指定盘符(D)"));
    EXPECT_EQ(PlainCommandText("(&1). 联系作者"), Tr("(1). 联系作者"));
}

// Every entry of every menu, nested ones included, with the menu titles on the way.
void CollectEntries(QMenu* menu, std::vector<QAction*>& out) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        out.push_back(action);
        if (action->menu()) CollectEntries(action->menu(), out);
    }
}

TEST(MainWindowCommandsTest, MenusShowTheTextsAndShortcutsOfTheTable) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    std::vector<QAction*> entries;
    for (QAction* top : window.menuBar()->actions()) CollectEntries(top->menu(), entries);

    std::map<QString, QAction*> byText;
    for (QAction* action : entries) {
        EXPECT_FALSE(action->text().isEmpty()) << action->objectName().toStdString();
        byText[action->text()] = action;
    }
    const struct {
        const char* text;
        const char* shortcut;
    } rows[] = {
        {"自动扫描光盘(&S)...", "Ctrl+S"}, {"扫描指定盘符(D)...", "Ctrl+D"}, {"扫描指定目录(&R)...", "Ctrl+R"},
        {"导入光盘文件(&O)...", "Ctrl+O"}, {"弹出光驱(&J)", "Ctrl+J"},        {"关闭光驱(&I)", "Ctrl+I"},
        {"查找(&F)...", "Ctrl+F"},         {"发送光盘[缺省邮件系统](&M)...", "Ctrl+M"},
        {"发送光盘[Outlook](&K)...", "Ctrl+K"}, {"剪切(&T)", "Ctrl+X"},      {"粘贴(&P)", "Ctrl+V"},
        {"提示信息窗口(&P)", "Alt+2"},     {"全选信息(&S)", "Ctrl+A"},        {"下一行信息(&N)", "F7"},
        {"上一行信息(&P)", "F8"},          {"帮助(&H)...", "F1"},             {"退出(&X)", ""},
        {"设置密码(&7)...", ""},           {"注册光驱快捷键(&K)", ""},        {"开机自动运行(&9)", ""},
        {"运行在系统托盘上(&A)", ""},     {"关于 (&A)...", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        auto at = byText.find(Tr(row.text));
        ASSERT_NE(at, byText.end());
        EXPECT_EQ(at->second->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(row.shortcut));
    }
    EXPECT_EQ(byText[Tr("剪切(&T)")]->shortcuts().value(1), QKeySequence(QStringLiteral("Shift+Del")));
    EXPECT_EQ(byText[Tr("粘贴(&P)")]->shortcuts().value(1), QKeySequence(QStringLiteral("Shift+Ins")));
}

TEST(MainWindowCommandsTest, ToolButtonsHaveAPictureAndTheirTextAsAccessibleName) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    const auto bars = window.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 2);
    int buttons = 0;
    for (QToolBar* bar : bars) {
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (!button->defaultAction() || bar->widgetForAction(button->defaultAction()) != button) continue;
            SCOPED_TRACE(button->defaultAction()->objectName().toStdString());
            EXPECT_FALSE(button->accessibleName().isEmpty());
            EXPECT_FALSE(button->accessibleName().contains(QLatin1Char('&')));
            ++buttons;
        }
    }
    EXPECT_EQ(buttons, 26 + 10);
}

TEST(MainWindowCommandsTest, TheCommandsAreEnabledAndTheOwnOnesWork) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    for (const char* id : {"scan-disc", "scan-drive", "scan-folder", "scan-hidden", "scan-image", "find", "tree-find", "list-find", "export-text", "export-html", "edit-print", "merge", "mail-default", "mail-outlook", "context-mail-default", "context-mail-outlook", "password", "exit", "door-open", "help", "about", "message-pane", "clear-before-info",
                           "cut", "paste", "delete", "rename", "view-report", "list-disk-only", "readme-options",
                           "popup-options", "mp3-options", "picture-options", "scan-options", "export-options",
                           "icon-options", "hot-keys"}) {
        EXPECT_TRUE(window.Action(id)->isEnabled()) << id;
    }
    // A plain switch flips its value and its check mark.
    ASSERT_TRUE(window.Action("clear-before-info")->isChecked());
    window.Action("clear-before-info")->trigger();
    EXPECT_EQ(fixture.settings.ReadInt("ClearBeforeInfo", -1), 0);
    EXPECT_FALSE(window.Action("clear-before-info")->isChecked());
    // Turning ExtractZip on warns; turning it off does not.
    window.Action("extract-zip")->trigger();
    EXPECT_TRUE(fixture.ui.messages.empty());
    window.Action("extract-zip")->trigger();
    EXPECT_EQ(fixture.ui.messages.size(), 1u);
}

TEST(MainWindowCommandsTest, MessagePaneEntryTogglesTheHiddenDockAndCarriesTheCheckMark) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    EXPECT_TRUE(window.PaneDock()->isHidden());
    EXPECT_TRUE(window.MemoDock()->isHidden());
    window.Action("message-pane")->trigger();
    EXPECT_FALSE(window.PaneDock()->isHidden());
    EXPECT_TRUE(window.Action("message-pane")->isChecked());
    window.Action("message-pane")->trigger();
    EXPECT_TRUE(window.PaneDock()->isHidden());
    EXPECT_FALSE(window.Action("message-pane")->isChecked());
    // A pane command shows the pane first.
    window.Action("pane-clear")->trigger();
    EXPECT_FALSE(window.PaneDock()->isHidden());
}

QMenu* FileMenu(MainWindow& window) { return window.menuBar()->actions().at(0)->menu(); }

QAction* Entry(QMenu* menu, const QString& name) {
    for (QAction* action : menu->actions()) {
        if (action->objectName() == name) return action;
    }
    return nullptr;
}

TEST(MainWindowDrivesTest, OneDriveKeepsThePlainEntriesAndHidesTheSubmenu) {
    test::WindowFixture fixture(1);
    MainWindow& window = fixture.Window();
    QMenu* file = FileMenu(window);
    EXPECT_TRUE(Entry(file, QStringLiteral("door-open"))->isVisible());
    EXPECT_TRUE(Entry(file, QStringLiteral("door-close"))->isVisible());
    EXPECT_FALSE(Entry(file, QStringLiteral("door-menu"))->isVisible());
    Entry(file, QStringLiteral("door-open"))->trigger();
    EXPECT_EQ(fixture.drives.calls, std::vector<std::string>{"open /dev/sr0"});
}

TEST(MainWindowDrivesTest, TwoDrivesFillTheSubmenuOpenEntriesFirst) {
    test::WindowFixture fixture(2);
    MainWindow& window = fixture.Window();
    QMenu* file = FileMenu(window);
    EXPECT_FALSE(Entry(file, QStringLiteral("door-open"))->isVisible());
    EXPECT_FALSE(Entry(file, QStringLiteral("door-close"))->isVisible());
    QAction* sub = Entry(file, QStringLiteral("door-menu"));
    ASSERT_TRUE(sub->isVisible());
    QStringList texts;
    for (QAction* action : sub->menu()->actions()) texts << action->text();
    EXPECT_EQ(texts, (QStringList{Tr("弹出光驱 (/dev/sr0)"), Tr("弹出光驱 (/dev/sr1)"), Tr("关闭光驱 (/dev/sr0)"),
                                  Tr("关闭光驱 (/dev/sr1)")}));
    sub->menu()->actions().at(3)->trigger();
    EXPECT_EQ(fixture.drives.calls, std::vector<std::string>{"close /dev/sr1"});
    // The tool buttons still move the default drive and drop down one list each.
    const auto buttons = window.findChildren<QToolButton*>();
    for (QToolButton* button : buttons) {
        if (!button->defaultAction()) continue;
        const QString id = button->defaultAction()->objectName();
        if (id != QLatin1String("door-open") && id != QLatin1String("door-close")) continue;
        ASSERT_NE(button->menu(), nullptr);
        EXPECT_EQ(button->menu()->actions().size(), 2) << id.toStdString();
        EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    }
}

}  // namespace
}  // namespace pelko::ui
