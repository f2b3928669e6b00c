// The main window's options: a fresh installation writes nothing, every switch flips its value
// and its check mark with its extra effect, the option dialogs open from their menu entries, and
// the large-icon size box stores its choice and follows the icon dialog.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "settings/SettingsTable.h"
#include "text/Codec.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/text/QtText.h"
#include "ui/views/CatalogTreeView.h"
#include "WindowFixture.h"

namespace pelko::ui {
namespace {

// Runs `inside` on the next modal dialog once the command that opens it has started it.
void WithNextDialog(std::function<void(QDialog&)> inside) {
    QTimer::singleShot(0, [inside = std::move(inside)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inside(*dialog);
    });
}

QComboBox* SizeBox(MainWindow& window) { return window.findChild<QComboBox*>(QStringLiteral("icon-size")); }

TEST(OptionCommandsTest, AFreshInstallationShowsTheDefaultsAndWritesNothing) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    for (const settings::SettingRow& row : settings::kSettingsTable) {
        if (row.IsPerCommand()) continue;
        SCOPED_TRACE(std::string(row.key));
        if (row.kind == settings::SettingKind::kInt) EXPECT_EQ(fixture.settings.ReadInt(row.key, -777), -777);
        else EXPECT_EQ(fixture.settings.ReadString(row.key, "<absent>"), "<absent>");
    }
    const struct {
        const char* id;
        bool checked;
    } marks[] = {{"clear-before-info", true}, {"eject-after-scan", false}, {"expand-single", false},
                 {"disp-ext", true},          {"pop-memo", false},         {"big-icon-memo", true},
                 {"extract-zip", true},       {"del-pic-dir", true},       {"list-disk-only", false},
                 {"run-on-tray", false}};
    for (const auto& mark : marks) EXPECT_EQ(window.Action(mark.id)->isChecked(), mark.checked) << mark.id;
    EXPECT_EQ(SizeBox(window)->currentText(), QStringLiteral("102 x 77"));
}

TEST(OptionCommandsTest, EverySwitchFlipsItsStoredValueAndItsCheckMark) {
    const struct {
        const char* id;
        const char* key;
    } switches[] = {{"clear-before-info", "ClearBeforeInfo"}, {"eject-after-scan", "EjectCDAfterScanning"},
                    {"open-new-cd", "OpenNewCDNow"},          {"expand-single", "ExpandSingleTreeItem"},
                    {"disp-ext", "DispExt"},                  {"pop-memo", "PopMem"},
                    {"big-icon-memo", "BigIconMemo"},         {"extract-exe-icon", "ExtractExeIcon"},
                    {"extract-zip", "ExtractZip"},            {"del-pic-dir", "g_bDelPicDir"},
                    {"list-disk-only", "g_bListDiskOnly"},    {"check-disk-first", "g_bRunCheckDiskFirst"}};
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    for (const auto& s : switches) {
        SCOPED_TRACE(s.id);
        const bool before = window.Action(s.id)->isChecked();
        window.Action(s.id)->trigger();
        EXPECT_EQ(fixture.settings.ReadInt(s.key, -1), before ? 0 : 1);
        EXPECT_EQ(fixture.options.IntValue(fixture.settings, s.key), before ? 0 : 1);
        EXPECT_EQ(window.Action(s.id)->isChecked(), !before);
        window.Action(s.id)->trigger();
        EXPECT_EQ(fixture.settings.ReadInt(s.key, -1), before ? 1 : 0);
    }
}

TEST(OptionCommandsTest, SwitchesWithEffectsChangeTheViews) {
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    auto* tree = window.findChild<CatalogTreeView*>();
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(tree->SingleExpand());
    window.Action("expand-single")->trigger();
    EXPECT_TRUE(tree->SingleExpand());
    window.Action("expand-single")->trigger();
    EXPECT_FALSE(tree->SingleExpand());

    // ExtractZip warns only when it is turned on (it is on in a fresh installation).
    window.Action("extract-zip")->trigger();
    EXPECT_TRUE(fixture.ui.messages.empty());
    window.Action("extract-zip")->trigger();
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(fixture.ui.messages[0], text::Local("警告：扫描压缩文件内的内容将使得打开光盘和搜索光盘消耗更长的时间"));

    // RunOnTray from 0 asks first: Cancel changes nothing.
    window.Action("run-on-tray")->trigger();
    EXPECT_EQ(fixture.ui.questions.back(), text::Local("重新运行Pelko－光盘管理工具，以使该选项有效？"));
    EXPECT_EQ(fixture.settings.ReadInt("RunOnTray", -1), -1);
    EXPECT_FALSE(window.Action("run-on-tray")->isChecked());
}

TEST(OptionCommandsTest, TheSizeBoxStoresItsChoiceAndFollowsTheIconDialog) {
    test::WindowFixture fixture;
    fixture.settings.WriteInt("BigIcon_X", 99);  // no entry has it: the box shows 102 x 77
    MainWindow& window = fixture.Window();
    QComboBox* box = SizeBox(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("102 x 77"));
    ASSERT_EQ(box->count(), 5);
    EXPECT_EQ(box->itemText(4), QStringLiteral("64  x 48"));

    box->activated(0);
    EXPECT_EQ(fixture.settings.ReadInt("BigIcon_X", -1), 320);
    EXPECT_EQ(fixture.settings.ReadInt("BigIcon_Y", -1), 240);
    EXPECT_EQ(fixture.options.bigIconX, 320);

    // The icon dialog from its menu entry: a size typed there shows in the box after OK.
    WithNextDialog([](QDialog& dialog) {
        auto* width = dialog.findChild<QLineEdit*>(QStringLiteral("icon-width"));
        auto* height = dialog.findChild<QLineEdit*>(QStringLiteral("icon-height"));
        ASSERT_TRUE(width && height);
        width->setText(QStringLiteral("160"));
        height->setText(QStringLiteral("120"));
        dialog.accept();
    });
    window.Action("icon-options")->trigger();
    EXPECT_EQ(fixture.settings.ReadInt("BigIcon_X", -1), 160);
    EXPECT_EQ(box->currentText(), QStringLiteral("160 x 120"));
}

TEST(OptionCommandsTest, EachOptionEntryOpensItsDialog) {
    const struct {
        const char* id;
        const char* caption;
    } entries[] = {{"readme-options", "ReadMe选项"},
                   {"popup-options", "对话框弹出方案"},
                   {"mp3-options", "MP3文件分析选项"},
                   {"picture-options", "图片扫描选项..."},
                   {"scan-options", "扫描选项..."},
                   {"export-options", "导出文件网页时候的配置选项"},
                   {"icon-options", "图标显示选项设置..."},
                   {"hot-keys", "注册弹出光驱和关闭光驱的快捷键"}};
    test::WindowFixture fixture;
    MainWindow& window = fixture.Window();
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.id);
        QString caption;
        WithNextDialog([&caption](QDialog& dialog) {
            caption = dialog.windowTitle();
            dialog.reject();
        });
        window.Action(entry.id)->trigger();
        EXPECT_EQ(caption, Tr(entry.caption));
    }
}

}  // namespace
}  // namespace pelko::ui
