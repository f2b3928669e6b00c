// The main window's ways of changing options: the switches of "功能开关(&S)" with their check
// marks and extra effects, the option dialogs of "选项设置(&O)", the hot-key dialog and the
// large-icon size box of the path bar. The values themselves go through AppSettings, which
// writes the store and the process-wide copy together.

#include <QApplication>
#include <QComboBox>

#include <string_view>
#include <utility>

#include "catalog/UserInterface.h"
#include "platform/DrivePort.h"
#include "shell/AppSettings.h"
#include "shell/DesktopSwitches.h"
#include "text/Codec.h"
#include "ui/dialogs/HotKeyDialog.h"
#include "ui/dialogs/options/ExportOptionsDialog.h"
#include "ui/dialogs/options/IconDisplayDialog.h"
#include "ui/dialogs/options/IconSizes.h"
#include "ui/dialogs/options/Mp3OptionsDialog.h"
#include "ui/dialogs/options/PictureOptionsDialog.h"
#include "ui/dialogs/options/PopupSchemeDialog.h"
#include "ui/dialogs/options/ReadMeOptionsDialog.h"
#include "ui/dialogs/options/ScanOptionsDialog.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

// Switches that only flip their stored value; the parts that read them at use do the rest.
constexpr std::pair<std::string_view, std::string_view> kPlainSwitches[] = {
    {"clear-before-info", "ClearBeforeInfo"}, {"eject-after-scan", "EjectCDAfterScanning"},
    {"open-new-cd", "OpenNewCDNow"},          {"extract-exe-icon", "ExtractExeIcon"},
    {"extract-zip", "ExtractZip"},            {"del-pic-dir", "g_bDelPicDir"},
    {"check-disk-first", "g_bRunCheckDiskFirst"}};

// Switches that change what the two catalog panes show: the panes read them again when flipped
// (single-expand style, the tree's shape, extensions, memo editor, memos under large icons).
constexpr std::pair<std::string_view, std::string_view> kViewSwitches[] = {
    {"expand-single", "ExpandSingleTreeItem"}, {"list-disk-only", "g_bListDiskOnly"},
    {"disp-ext", "DispExt"},                   {"pop-memo", "PopMem"},
    {"big-icon-memo", "BigIconMemo"}};

// The size box's entry for a large-icon width; the "102 x 77" entry when no entry has it.
int SizeBoxIndex(int width) {
    const int index = IconSizeIndexForWidth(width);
    return index >= 0 ? index : IconSizeIndexForWidth(102);
}

}  // namespace

void MainWindow::AttachOptionHandlers() {
    for (const auto& viewSwitch : kViewSwitches) {
        const std::string_view key = viewSwitch.second;  // clang 14 cannot capture a structured binding
        Handle(viewSwitch.first, [this, key] {
            FlipSwitch(key);
            m_browsing->ApplySettings();
        });
    }
    for (const auto& plainSwitch : kPlainSwitches) {
        const std::string_view key = plainSwitch.second;
        Handle(plainSwitch.first, [this, key] { FlipSwitch(key); });
    }
    Handle("run-on-tray", [this] { ToggleRunOnTray(); });
    Handle("start-at-login", [this] { ToggleStartAtLogin(); });
    Handle("tray-start-at-login", [this] { ToggleStartAtLogin(); });
    Handle("autorun", [this] { ToggleAutorun(); });

    auto& options = m_services.options;
    auto& store = m_services.settings;
    Handle("readme-options", [this, &options, &store] { ReadMeOptionsDialog(options, store, this).exec(); });
    Handle("popup-options", [this, &options, &store] { PopupSchemeDialog(options, store, this).exec(); });
    Handle("mp3-options", [this, &options, &store] { Mp3OptionsDialog(options, store, this).exec(); });
    Handle("picture-options", [this, &options, &store] {
        PictureOptionsDialog(options, store, m_services.ui, this).exec();
    });
    Handle("scan-options", [this, &options, &store] { ScanOptionsDialog(options, store, m_services.ui, this).exec(); });
    Handle("export-options", [this, &options, &store] { ExportOptionsDialog(options, store, this).exec(); });
    Handle("icon-options", [this, &options, &store] {
        if (IconDisplayDialog(options, store, m_services.ui, this).exec() != QDialog::Accepted) return;
        m_sizeBox->setCurrentIndex(SizeBoxIndex(options.bigIconX));
        m_browsing->ApplySettings();
    });
    Handle("hot-keys", [this, &options, &store] {
        EditDriveHotKeys(this, m_services.drives.Drives(), options, store, m_services.hotKeys, m_services.ui);
        m_hotKeysRegistered = true;
    });
}

QComboBox* MainWindow::MakeIconSizeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("icon-size"));
    box->setAccessibleName(Tr("大图标尺寸"));
    box->setToolTip(Tr("大图标尺寸"));
    for (const IconSize& size : LargeIconSizes())
        box->addItem(QString::fromLatin1(size.text.data(), static_cast<qsizetype>(size.text.size())));
    box->setCurrentIndex(SizeBoxIndex(m_services.options.bigIconX));
    connect(box, &QComboBox::activated, this, [this](int i) {
        const IconSize& size = LargeIconSizes()[static_cast<std::size_t>(i)];
        m_services.options.SetInt(m_services.settings, "BigIcon_X", size.width);
        m_services.options.SetInt(m_services.settings, "BigIcon_Y", size.height);
        m_browsing->ApplySettings();
    });
    return box;
}

void MainWindow::RefreshSwitchChecks() {
    const auto& options = m_services.options;
    const auto& settings = m_services.settings;
    const auto check = [this, &options, &settings](std::string_view id, std::string_view key) {
        if (QAction* action = Action(id)) action->setChecked(options.IntValue(settings, key) != 0);
    };
    for (const auto& plainSwitch : kPlainSwitches) check(plainSwitch.first, plainSwitch.second);
    for (const auto& viewSwitch : kViewSwitches) check(viewSwitch.first, viewSwitch.second);
    check("run-on-tray", "RunOnTray");
    check("start-at-login", "Emr");
    check("tray-start-at-login", "Emr");
}

void MainWindow::FlipSwitch(std::string_view key) {
    const bool on = m_services.options.Flip(m_services.settings, key);
    if (key == "ExtractZip" && on) {
        m_services.ui.ShowMessage(
            text::Local("警告：扫描压缩文件内的内容将使得打开光盘和搜索光盘消耗更长的时间"));
    }
}

}  // namespace pelko::ui
