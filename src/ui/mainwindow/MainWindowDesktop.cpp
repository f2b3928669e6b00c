// The main window's ties to the desktop: the tray, the drive doors and their menus, the hot
// keys, the lock-key lights, inserted discs, switches kept by the desktop, and files dropped on
// the window.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "settings/SettingsStore.h"
#include "catalog/UserInterface.h"
#include "platform/DesktopServices.h"
#include "platform/DrivePort.h"
#include "platform/MediaWatcher.h"
#include "shell/AppSettings.h"
#include "shell/DesktopSwitches.h"
#include "shell/DriveDoors.h"
#include "shell/HotKeys.h"
#include "text/Codec.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/LockKeyState.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/ScanCommands.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {
namespace {

// The local files among dropped data (remote addresses are left out).
std::vector<std::filesystem::path> DroppedFiles(const QMimeData* data) {
    std::vector<std::filesystem::path> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return files;
}

}  // namespace

void MainWindow::UpdateLockIndicators() {
    const std::optional<LockKeys> keys = m_locks ? m_locks->Query() : std::nullopt;
    m_capsLabel->setEnabled(keys && keys->caps);
    m_numLabel->setEnabled(keys && keys->num);
    m_scrollLabel->setEnabled(keys && keys->scroll);
}

void MainWindow::FillDriveMenu(QMenu* menu, QAction* plainOpen, QAction* plainClose) {
    const std::vector<platform::OpticalDrive> drives = m_services.drives.Drives();
    const std::vector<shell::DriveMenuEntry> entries = shell::DriveMenuEntries(drives);
    menu->menuAction()->setEnabled(!drives.empty());
    if (drives.empty()) return;  // nothing to choose from: the menu stays as it was
    const bool several = drives.size() >= 2;
    if (plainOpen) plainOpen->setVisible(!several);
    if (plainClose) plainClose->setVisible(!several);
    menu->menuAction()->setVisible(several);
    menu->clear();
    for (const shell::DriveMenuEntry& entry : entries) {
        QAction* action = menu->addAction(ToQt(entry.text));
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { MoveDoor(command); });
    }
}

void MainWindow::RebuildDriveMenus() {
    for (const DriveMenu& menu : m_driveMenus) {
        if (menu.sub) FillDriveMenu(menu.sub, menu.open, menu.close);
    }
    // The tool buttons get drop-down lists of one kind each with two or more drives.
    const std::vector<platform::OpticalDrive> drives = m_services.drives.Drives();
    const std::vector<shell::DriveMenuEntry> entries = shell::DriveMenuEntries(drives);
    for (QToolButton* button : {m_openButton, m_closeButton}) {
        if (!button) continue;
        QMenu* menu = button->menu();
        menu->clear();
        const bool open = button == m_openButton;
        for (const shell::DriveMenuEntry& entry : entries) {
            const std::optional<shell::DoorCommand> door = shell::DecodeDoorCommand(entry.command);
            if (!door || door->open != open) continue;
            const int command = entry.command;
            connect(menu->addAction(ToQt(entry.text)), &QAction::triggered, this, [this, command] { MoveDoor(command); });
        }
        button->setPopupMode(menu->isEmpty() ? QToolButton::DelayedPopup : QToolButton::MenuButtonPopup);
    }
}

void MainWindow::MoveDoor(int command) {
    shell::DriveDoors doors(m_services.drives);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    doors.RunCommand(command);
    QApplication::restoreOverrideCursor();
}

void MainWindow::ToggleRunOnTray() {
    auto& settings = m_services.settings;
    if (m_services.options.IntValue(settings, "RunOnTray") != 0) {
        m_services.options.SetInt(settings, "RunOnTray", 0);
        return;
    }
    if (!m_services.ui.AskOkCancel(text::Local("重新运行Pelko－光盘管理工具，以使该选项有效？"))) return;
    m_services.options.SetInt(settings, "RunOnTray", 1);
    close();
}

void MainWindow::ToggleStartAtLogin() {
    const QByteArray executable = QFile::encodeName(QCoreApplication::applicationFilePath());
    shell::ToggleStartAtLogin(m_services.settings, platform::AutostartFile(), executable.toStdString());
}

void MainWindow::ToggleAutorun() {
    shell::ToggleAutorunSwitch();
    RefreshAutorun();
}

void MainWindow::ReadMediaEvents() {
    for (const platform::MediaEvent& event : m_media->ReadEvents()) {
        if (event.change == platform::MediaChange::Inserted) {
            m_pane->Post(catalog::MessageKind::Hint,
                         text::LocalWith("光驱 %s 中插入了光盘", text::FromUtf8(event.device)));
        }
        m_scans->NoteMediaEvent(event);
    }
}

bool MainWindow::SetUpTray() {
    if (m_services.options.IntValue(m_services.settings, "RunOnTray") == 0) return false;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        m_pane->Post(catalog::MessageKind::Warning,
                     text::Local("桌面没有系统托盘，所以Pelko－光盘管理工具不能运行在系统托盘上，主窗口保持显示"));
        return false;
    }
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip(QStringLiteral("Pelko"));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnTrayActivated(static_cast<int>(reason)); });
    m_tray->show();
    return true;
}

void MainWindow::OnTrayActivated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick) return;
    if (isVisible() && !isMinimized()) hide();
    else BringToFront();
}

void MainWindow::BringToFront() {
    showMaximized();
    raise();
    activateWindow();
    m_list->CurrentView()->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindow::RegisterHotKeys() {
    shell::RegisterHotKeys(m_services.drives.Drives(), m_services.settings, m_services.hotKeys, m_services.ui);
    m_hotKeysRegistered = true;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        RebuildDriveMenus();
    } else if (event->type() == QEvent::WindowStateChange && m_tray && isMinimized()) {
        // Minimised while living in the tray: leave the task bar.
        QTimer::singleShot(0, this, &QWidget::hide);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::filesystem::path> files = DroppedFiles(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    // The questions of the import are modal: ask them once the desktop's drag has ended.
    QTimer::singleShot(0, this, [this, files] { m_browsing->AddDroppedDiscFiles(files); });
}

}  // namespace pelko::ui
