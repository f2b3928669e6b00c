#pragma once
// The main window: the tree and list panes in a splitter, the main tool bar and the path bar,
// the status bar with the lock-key indicators, the dock panes "提示信息" and "CDInfo", the menus
// and the tray icon. Every menu entry, tool button and tray entry is an action made from the
// command table (CommandTable.h); this class attaches the handlers and enabled states. The
// decisions themselves are the libraries' (shell/SessionRules.h, DriveDoors, HotKeys, ...).

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <span>
#include <vector>
#include <string_view>

#include "shell/DesktopLinks.h"
#include "ui/app/AppServices.h"

class QAction;
class QActionGroup;
class QComboBox;
class QDockWidget;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QSocketNotifier;
class QSplitter;
class QSystemTrayIcon;
class QToolBar;
class QToolButton;
class QTreeView;

namespace pelko::platform {
class MediaWatcher;
}

namespace pelko::ui {

class CatalogBrowsing;
class CatalogTreeView;
class ContentListView;
class IdleSaver;
class LockKeyState;
class MessagePane;
class ScanCommands;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `watchDesktop`: listen to the lock keys, the media watcher and the tray; tests leave it off.
    MainWindow(AppServices services, bool watchDesktop, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The action of a command id of the command table (null for an unknown id).
    QAction* Action(std::string_view id) const;
    MessagePane* Pane() const { return m_pane; }
    QDockWidget* PaneDock() const { return m_paneDock; }
    QDockWidget* MemoDock() const { return m_memoDock; }
    QSplitter* Splitter() const { return m_splitter; }
    QTreeView* Tree() const;
    CatalogBrowsing* Browsing() const { return m_browsing; }
    IdleSaver* Idle() const { return m_idle; }
    ScanCommands& Scans() const { return *m_scans; }
    // The list view's style: 0 large icons, 1 report, 2 small icons, 3 list.
    int ViewStyle() const { return m_viewStyle; }

    // Puts the icon into the tray when RunOnTray was set at start-up; where the desktop has no
    // tray the window stays shown and the pane says why. True when the window lives in the tray.
    bool SetUpTray();
    // Shows the window maximised, in front, with the focus in the list (the tray's left click
    // and a second copy of the program asking for it).
    void BringToFront();
    // Registers the drive hot keys from the settings.
    void RegisterHotKeys();
    // The set-password command.
    void SetPassword();

    // The close sequence has run and allowed the close (tests look at it).
    bool CloseApproved() const { return m_closeApproved; }

signals:
    // The window has closed for good: the catalog is saved and the program may end.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files dropped from the desktop are added as disc files.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void AttachHandlers();
    // MainWindowOptions.cpp: the switches, option dialogs and the large-icon size box.
    void AttachOptionHandlers();
    QComboBox* MakeIconSizeBox(QWidget* parent);
    void RefreshSwitchChecks();
    // MainWindowFind.cpp: "查找(&F)..." from the menu and the two context menus.
    void AttachFindCommands();
    // MainWindowExport.cpp: the export commands, the export dialog and "编辑打印".
    void AttachExportCommands();
    // MainWindowMail.cpp: mailing a disc and merging another catalog.
    void AttachMailAndMergeCommands();
    void BuildMenus();
    void BuildToolBars();
    void BuildCentre();
    void BuildStatusBar();
    void BuildDocks();
    QMenu* BuildMenu(QMenu* menu, std::span<const std::string_view> entries);
    QAction* MenuDoorAction(QMenu* menu, std::string_view id);
    void RebuildDriveMenus();
    void FillDriveMenu(QMenu* menu, QAction* plainOpen, QAction* plainClose);
    void RefreshChecks();
    void RefreshAutorun();
    void RefreshSelectionCommands();
    void UpdateLockIndicators();
    void Handle(std::string_view id, std::function<void()> handler);

    void ToggleMessagePane();
    void ShowPaneThen(void (MessagePane::*operation)());
    void FlipSwitch(std::string_view key);
    void ToggleRunOnTray();
    void ToggleStartAtLogin();
    void ToggleAutorun();
    void ShowAbout();
    void FocusNextPane(bool forward);
    void MoveDoor(int command);
    void ReadMediaEvents();
    void OnTrayActivated(int reason);
    bool RunCloseSequence();

    AppServices m_services;
    shell::MakerLinks m_links;
    QHash<QString, QAction*> m_actions;
    QActionGroup* m_viewStyles = nullptr;
    int m_viewStyle = 0;

    QSplitter* m_splitter = nullptr;
    CatalogBrowsing* m_browsing = nullptr;
    CatalogTreeView* m_tree = nullptr;
    ContentListView* m_list = nullptr;
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_pathBar = nullptr;
    QComboBox* m_sizeBox = nullptr;
    QLabel* m_pathText = nullptr;
    QLabel* m_statText = nullptr;
    QLabel* m_capsLabel = nullptr;
    QLabel* m_numLabel = nullptr;
    QLabel* m_scrollLabel = nullptr;
    MessagePane* m_pane = nullptr;
    QDockWidget* m_paneDock = nullptr;
    QDockWidget* m_memoDock = nullptr;
    QPlainTextEdit* m_memoText = nullptr;
    IdleSaver* m_idle = nullptr;

    // The drive entries: each menu has its own plain open/close entries, because with two or
    // more drives they leave the menu while the tool buttons stay.
    struct DriveMenu {
        QPointer<QMenu> sub;
        QPointer<QAction> open;
        QPointer<QAction> close;
    };
    std::vector<DriveMenu> m_driveMenus;
    QToolButton* m_openButton = nullptr;
    QToolButton* m_closeButton = nullptr;

    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QMenu* m_treeMenu = nullptr;
    QMenu* m_listMenu = nullptr;
    std::unique_ptr<LockKeyState> m_locks;
    std::unique_ptr<platform::MediaWatcher> m_media;
    QSocketNotifier* m_mediaNotifier = nullptr;
    // Destroyed before the window's child widgets, which its scanning window and its run use.
    std::unique_ptr<ScanCommands> m_scans;
    bool m_hotKeysRegistered = false;
    bool m_closeApproved = false;
};

}  // namespace pelko::ui
