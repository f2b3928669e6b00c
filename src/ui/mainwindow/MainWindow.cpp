#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "settings/SettingsStore.h"
#include "export/HelpPages.h"
#include "platform/DesktopServices.h"
#include "platform/DrivePort.h"
#include "platform/MediaWatcher.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/DesktopSwitches.h"
#include "shell/DriveDoors.h"
#include "shell/HotKeys.h"
#include "shell/SessionRules.h"
#include "text/Codec.h"
#include "ui/app/IdleSaver.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"
#include "ui/app/MessageBoxUi.h"
#include "ui/dialogs/CloseDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/mainwindow/CommandTable.h"
#include "ui/mainwindow/LockKeyState.h"
#include "ui/mainwindow/ScanCommands.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"

#ifndef PELKO_VERSION
#define PELKO_VERSION "0"
#endif

namespace pelko::ui {
namespace {

QString Name(std::string_view id) { return QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size())); }

QIcon CommandIcon(const CommandSpec& spec) {
    const QString own = QStringLiteral(":/icons/%1.svg").arg(Name(spec.id));
    if (QFile::exists(own)) return QIcon(own);
    return QIcon::fromTheme(Name(spec.themeIcon));
}

}  // namespace

MainWindow::MainWindow(AppServices services, bool watchDesktop, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setWindowTitle(ProgramCaption());
    setObjectName(QStringLiteral("MainWindow"));
    setAcceptDrops(true);
    m_viewStyle = m_services.options.lastViewStyle;

    m_pane = new MessagePane(this);
    m_pane->setObjectName(QStringLiteral("MessagePane"));
    CreateActions();
    BuildCentre();
    m_scans = std::make_unique<ScanCommands>(m_services, *m_browsing, *this, [this] { BringToFront(); });
    BuildDocks();
    BuildMenus();
    BuildToolBars();
    BuildStatusBar();
    AttachHandlers();
    RefreshChecks();
    RefreshAutorun();
    RefreshSelectionCommands();

    m_idle = new IdleSaver(
        m_services.doc,
        [this] {
            m_browsing->SaveOpenScanObject();
            m_pane->HighlightNewLines();
        },
        watchDesktop, this);
    connect(m_pane, &MessagePane::GoToItem, this, [this](const QString& line) { m_browsing->GoToPath(line); });
    m_pane->SetCatalog(m_services.doc.Root());
    m_browsing->ShowRoot();

    if (watchDesktop) {
        m_locks = std::make_unique<LockKeyState>();
        auto* lockTimer = new QTimer(this);
        connect(lockTimer, &QTimer::timeout, this, &MainWindow::UpdateLockIndicators);
        lockTimer->start(300);
        UpdateLockIndicators();

        m_media = platform::MediaWatcher::Start();
        if (m_media) {
            m_mediaNotifier = new QSocketNotifier(m_media->Descriptor(), QSocketNotifier::Read, this);
            connect(m_mediaNotifier, &QSocketNotifier::activated, this, &MainWindow::ReadMediaEvents);
        }
    }
    RebuildDriveMenus();
    // The start-up's disc check: once the panes are set up, the auto-scan command runs once.
    if (watchDesktop && m_services.options.IntValue(m_services.settings, "g_bRunCheckDiskFirst") != 0)
        QTimer::singleShot(0, this, [this] { m_scans->AutoScan(); });
}

MainWindow::~MainWindow() {
    // Hiding the children while the window goes would call back into this half-destroyed object.
    for (QObject* sender : std::initializer_list<QObject*>{m_paneDock, m_memoDock, m_mainBar, m_pathBar}) {
        if (sender) disconnect(sender, nullptr, this, nullptr);
    }
}

QAction* MainWindow::Action(std::string_view id) const { return m_actions.value(Name(id), nullptr); }

QTreeView* MainWindow::Tree() const { return m_tree; }

void MainWindow::CreateActions() {
    for (const CommandSpec& spec : Commands()) {
        auto* action = new QAction(CommandIcon(spec), Tr(spec.text), this);
        action->setObjectName(Name(spec.id));
        action->setIconText(PlainCommandText(spec.text));
        action->setToolTip(PlainCommandText(spec.text));
        action->setCheckable(spec.checkable);
        QList<QKeySequence> keys;
        for (const QString& key : Tr(spec.shortcuts).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            keys.append(QKeySequence(key, QKeySequence::PortableText));
        }
        action->setShortcuts(keys);
        // Shortcuts work wherever the focus is in the window, hidden tool bars included.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_actions.insert(action->objectName(), action);
    }
    m_viewStyles = new QActionGroup(this);
    for (std::string_view id : {"view-large", "view-report", "view-small", "view-list"}) m_viewStyles->addAction(Action(id));
}

void MainWindow::Handle(std::string_view id, std::function<void()> handler) {
    QAction* action = Action(id);
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        handler();
        RefreshChecks();
        if (m_idle) m_idle->Touch();
    });
}

void MainWindow::AttachHandlers() {
    AttachOptionHandlers();
    AttachFindCommands();
    AttachExportCommands();
    AttachMailAndMergeCommands();

    Handle("scan-disc", [this] { m_scans->AutoScan(); });
    Handle("scan-drive", [this] { m_scans->ChooseDrive(); });
    Handle("scan-folder", [this] { m_scans->ChooseFolder(); });
    Handle("scan-hidden", [this] { m_scans->ChooseHiddenFolder(); });
    Handle("scan-image", [this] { m_scans->ChooseDiscImage(); });
    Handle("cut", [this] { m_browsing->Cut(); });
    Handle("paste", [this] { m_browsing->Paste(); });
    Handle("new-category", [this] { m_browsing->NewCategory(); });
    Handle("delete", [this] { m_browsing->Delete(); });
    Handle("rename", [this] { m_browsing->Rename(); });
    Handle("edit-name", [this] {
        m_list->CurrentView()->setFocus();
        m_browsing->Rename();
    });
    Handle("edit-memo", [this] { m_browsing->EditProperties(); });
    Handle("properties", [this] { m_browsing->ShowProperties(); });
    Handle("import-cover", [this] { m_browsing->ImportCover(); });
    Handle("delete-cover", [this] { m_browsing->DeleteCover(); });
    Handle("import-disc-file", [this] { m_browsing->ImportDiscFiles(); });
    Handle("up", [this] { m_browsing->Up(); });
    Handle("open", [this] { m_browsing->Open(); });
    Handle("select-next", [this] { m_browsing->SelectNext(true); });
    Handle("select-previous", [this] { m_browsing->SelectNext(false); });
    const std::string_view styles[] = {"view-large", "view-report", "view-small", "view-list"};
    for (int style = 0; style < 4; ++style) {
        Handle(styles[style], [this, style] {
            m_viewStyle = style;
            m_browsing->SetViewStyle(style);
        });
    }

    Handle("exit", [this] { close(); });
    Handle("tray-close", [this] { close(); });
    Handle("password", [this] { SetPassword(); });

    Handle("door-open", [this] {
        shell::DriveDoors doors(m_services.drives);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        doors.MoveDefaultDrive(true);
        QApplication::restoreOverrideCursor();
    });
    Handle("door-close", [this] {
        shell::DriveDoors doors(m_services.drives);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        doors.MoveDefaultDrive(false);
        QApplication::restoreOverrideCursor();
    });

    Handle("browse-export", [this] {
        exporting::BrowseExport(m_services.doc.CatalogFolder(), *m_services.doc.Root(), m_services.ui,
                                m_services.opener);
    });
    Handle("open-export-folder", [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_services.doc.SortTree();
        QApplication::restoreOverrideCursor();
        exporting::OpenExportFolder(m_services.doc.CatalogFolder(), *m_services.doc.Root(), m_services.opener);
    });

    Handle("toolbar", [this] { m_mainBar->setVisible(!m_mainBar->isVisible()); });
    Handle("pathbar", [this] { m_pathBar->setVisible(!m_pathBar->isVisible()); });
    Handle("statusbar", [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    Handle("message-pane", [this] { ToggleMessagePane(); });
    Handle("next-pane", [this] { FocusNextPane(true); });
    Handle("previous-pane", [this] { FocusNextPane(false); });

    Handle("pane-open", [this] { ShowPaneThen(&MessagePane::OpenFile); });
    Handle("pane-save", [this] { ShowPaneThen(&MessagePane::SaveToFile); });
    Handle("pane-select-all", [this] { ShowPaneThen(&MessagePane::SelectAll); });
    Handle("pane-copy", [this] { ShowPaneThen(&MessagePane::CopySelection); });
    Handle("pane-delete", [this] { ShowPaneThen(&MessagePane::DeleteSelection); });
    Handle("pane-clear", [this] { ShowPaneThen(&MessagePane::ClearAll); });
    Handle("next-line", [this] { ShowPaneThen(&MessagePane::NextLine); });
    Handle("previous-line", [this] { ShowPaneThen(&MessagePane::PreviousLine); });


    Handle("help", [this] {
        exporting::ShowHelpPage(m_services.doc.CatalogFolder(), exporting::HelpPage::Help, m_services.ui, *m_pane,
                                m_services.opener);
    });
    Handle("faq", [this] {
        exporting::ShowHelpPage(m_services.doc.CatalogFolder(), exporting::HelpPage::Faq, m_services.ui, *m_pane,
                                m_services.opener);
    });
    Handle("feedback", [this] { shell::OpenMailLink(m_links, shell::MailLink::Feedback, *m_pane); });
    Handle("tray-mail", [this] { shell::OpenMailLink(m_links, shell::MailLink::Feedback, *m_pane); });
    Handle("mail-list", [this] { shell::OpenMailLink(m_links, shell::MailLink::MailList, *m_pane); });
    Handle("new-requirement", [this] { shell::OpenMailLink(m_links, shell::MailLink::NewRequirement, *m_pane); });
    Handle("web-site", [this] { shell::OpenWebPage(m_links, shell::WebPage::Site, *m_pane); });
    Handle("contact", [this] { shell::OpenWebPage(m_links, shell::WebPage::SiteQuietly, *m_pane); });
    Handle("site-address", [this] { shell::OpenWebPage(m_links, shell::WebPage::SiteQuietly, *m_pane); });
    Handle("version-notes", [this] { shell::OpenWebPage(m_links, shell::WebPage::VersionNotes, *m_pane); });
    Handle("about", [this] { ShowAbout(); });
    Handle("tray-about", [this] { ShowAbout(); });
}

QAction* MainWindow::MenuDoorAction(QMenu* menu, std::string_view id) {
    // A menu's own copy of a plain door entry, triggering the shared command.
    QAction* shared = Action(id);
    auto* copy = new QAction(shared->icon(), shared->text(), menu);
    copy->setObjectName(shared->objectName());
    copy->setShortcuts(shared->shortcuts());
    copy->setShortcutContext(Qt::WidgetShortcut);  // the shared action owns the window's shortcut
    connect(copy, &QAction::triggered, shared, &QAction::trigger);
    menu->addAction(copy);
    return copy;
}

QMenu* MainWindow::BuildMenu(QMenu* menu, std::span<const std::string_view> entries) {
    DriveMenu drives;
    for (std::string_view entry : entries) {
        if (entry == "-") {
            menu->addSeparator();
        } else if (entry == "@drives") {
            drives.sub = menu->addMenu(Tr("操作光驱"));
            drives.sub->menuAction()->setObjectName(QStringLiteral("door-menu"));
            // The placeholder stays while the machine has no optical drive.
            drives.sub->addAction(Tr("操作光驱"))->setEnabled(false);
            drives.sub->menuAction()->setEnabled(false);
        } else if (entry == "door-open") {
            drives.open = MenuDoorAction(menu, entry);
        } else if (entry == "door-close") {
            drives.close = MenuDoorAction(menu, entry);
        } else {
            menu->addAction(Action(entry));
        }
    }
    if (drives.sub) m_driveMenus.push_back(drives);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        RefreshChecks();
        RefreshAutorun();
    });
    return menu;
}

void MainWindow::BuildMenus() {
    for (const MenuSpec& spec : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(Tr(spec.title));
        menu->setAccessibleName(PlainCommandText(spec.title));
        BuildMenu(menu, spec.entries);
    }
    m_trayMenu = BuildMenu(new QMenu(this), TrayMenuEntries());
    m_treeMenu = BuildMenu(new QMenu(this), TreeContextEntries());
    m_listMenu = BuildMenu(new QMenu(this), ListContextEntries());
    connect(m_listMenu, &QMenu::aboutToShow, this, &MainWindow::RebuildDriveMenus);
    // The cover entries are in the list's menu only while exactly one scan object is selected.
    connect(m_listMenu, &QMenu::aboutToShow, this, [this] {
        for (std::string_view id : {"import-cover", "delete-cover"}) Action(id)->setVisible(Action(id)->isEnabled());
    });
    connect(m_listMenu, &QMenu::aboutToHide, this, [this] {
        for (std::string_view id : {"import-cover", "delete-cover"}) Action(id)->setVisible(true);
    });
    connect(m_trayMenu, &QMenu::aboutToShow, this, &MainWindow::RebuildDriveMenus);
}

void MainWindow::BuildToolBars() {
    m_mainBar = addToolBar(Tr("工具栏"));
    m_mainBar->setObjectName(QStringLiteral("toolbar"));
    addToolBarBreak();
    m_pathBar = addToolBar(Tr("路径栏"));
    m_pathBar->setObjectName(QStringLiteral("pathbar"));
    m_pathBar->setAccessibleName(Tr("路径栏"));
    m_mainBar->setAccessibleName(Tr("工具栏"));
    for (QToolBar* bar : {m_mainBar, m_pathBar}) {
        const bool main = bar == m_mainBar;
        for (std::string_view entry : main ? MainToolBarEntries() : PathBarEntries()) {
            if (entry == "-") {
                bar->addSeparator();
            } else if (entry == "@size") {
                m_sizeBox = MakeIconSizeBox(bar);
                bar->addWidget(m_sizeBox);
            } else if (entry == "@memo") {
                // The memo of the selected list item: filled and edited by the list view.
                auto* memo = new QLineEdit(bar);
                memo->setObjectName(QStringLiteral("memo-field"));
                memo->setAccessibleName(Tr("备注"));
                memo->setPlaceholderText(Tr("备注"));
                memo->setMaximumWidth(260);
                memo->setEnabled(false);
                bar->addWidget(memo);
                m_browsing->SetMemoField(memo);
            } else {
                bar->addAction(Action(entry));
                if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Action(entry)))) {
                    button->setAccessibleName(PlainCommandText(FindCommand(entry)->text));
                    if (entry == "door-open" && main) m_openButton = button;
                    if (entry == "door-close" && main) m_closeButton = button;
                }
            }
        }
        // The overflow button Qt keeps in every tool bar (shown when the bar is too narrow) is a
        // check button without text: name it so that a screen reader can say what it is.
        if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
            more->setAccessibleName(Tr("更多按钮"));
        connect(bar, &QToolBar::visibilityChanged, this, &MainWindow::RefreshChecks);
    }
    for (QToolButton* button : {m_openButton, m_closeButton}) {
        auto* menu = new QMenu(button);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::DelayedPopup);
    }
}

void MainWindow::BuildCentre() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_browsing = new CatalogBrowsing(m_services, m_splitter);
    m_tree = m_browsing->Tree();
    m_list = m_browsing->List();
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    const int width = std::max(20, m_services.options.IntValue(m_services.settings, "CurColPos"));
    m_splitter->setSizes({width, 1000});
    m_tree->resize(width, m_tree->height());
    setCentralWidget(m_splitter);
    connect(m_browsing, &CatalogBrowsing::Edited, this, [this] {
        if (m_idle) m_idle->Touch();
    });
    connect(m_browsing, &CatalogBrowsing::HidePaneRequested, this, [this] {
        if (m_paneDock) m_paneDock->hide();
    });
    connect(m_list, &ContentListView::SelectionChanged, this, &MainWindow::RefreshSelectionCommands);
    connect(m_browsing, &CatalogBrowsing::TreeContextMenuRequested, this,
            [this](const QPoint& at) { m_treeMenu->popup(at); });
    connect(m_browsing, &CatalogBrowsing::ListContextMenuRequested, this,
            [this](const QPoint& at) { m_listMenu->popup(at); });
}

void MainWindow::BuildStatusBar() {
    m_pathText = new QLabel(this);
    m_statText = new QLabel(this);
    // A label's accessible name is its text, so a screen reader reads the path and the figures.
    m_pathText->setAccessibleDescription(Tr("路径"));
    m_statText->setAccessibleDescription(Tr("统计"));
    statusBar()->addWidget(m_pathText, 1);
    statusBar()->addWidget(m_statText, 2);
    m_capsLabel = new QLabel(QStringLiteral("CAP"), this);
    m_numLabel = new QLabel(QStringLiteral("NUM"), this);
    m_scrollLabel = new QLabel(QStringLiteral("SCRL"), this);
    m_capsLabel->setAccessibleName(QStringLiteral("Caps Lock"));
    m_numLabel->setAccessibleName(QStringLiteral("Num Lock"));
    m_scrollLabel->setAccessibleName(QStringLiteral("Scroll Lock"));
    for (QLabel* label : {m_capsLabel, m_numLabel, m_scrollLabel}) {
        label->setEnabled(false);  // greyed while the lock is off or unknown
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        statusBar()->addPermanentWidget(label);
    }
    connect(m_browsing, &CatalogBrowsing::PathTextChanged, m_pathText, &QLabel::setText);
    connect(m_browsing, &CatalogBrowsing::StatusTextChanged, m_statText, &QLabel::setText);
}

void MainWindow::BuildDocks() {
    m_paneDock = new QDockWidget(Tr("提示信息"), this);
    m_paneDock->setObjectName(QStringLiteral("message-dock"));
    m_paneDock->setAccessibleName(Tr("提示信息"));
    m_paneDock->setWidget(m_pane);
    addDockWidget(Qt::BottomDockWidgetArea, m_paneDock);
    m_paneDock->hide();
    connect(m_paneDock, &QDockWidget::visibilityChanged, this, &MainWindow::RefreshChecks);
    connect(m_pane, &MessagePane::ShowRequested, m_paneDock, &QDockWidget::show);
    connect(m_pane, &MessagePane::HideRequested, m_paneDock, &QDockWidget::hide);

    m_memoDock = new QDockWidget(QStringLiteral("CDInfo"), this);
    m_memoDock->setObjectName(QStringLiteral("memo-dock"));
    m_memoDock->setAccessibleName(QStringLiteral("CDInfo"));
    m_memoText = new QPlainTextEdit(m_memoDock);
    m_memoText->setReadOnly(true);
    m_memoText->setAccessibleName(QStringLiteral("CDInfo"));
    m_memoDock->setWidget(m_memoText);
    addDockWidget(Qt::RightDockWidgetArea, m_memoDock);
    m_memoDock->hide();
    connect(m_browsing, &CatalogBrowsing::ReadmeShown, this, [this](const QString& text) {
        m_memoText->setPlainText(text);
        m_memoDock->show();
    });
    connect(m_browsing, &CatalogBrowsing::ReadmeHidden, m_memoDock, &QDockWidget::hide);
}

void MainWindow::RefreshChecks() {
    auto check = [this](std::string_view id, bool on) {
        if (QAction* action = Action(id)) action->setChecked(on);
    };
    check("toolbar", m_mainBar && !m_mainBar->isHidden());
    check("pathbar", m_pathBar && !m_pathBar->isHidden());
    check("statusbar", !statusBar()->isHidden());
    check("message-pane", m_paneDock && !m_paneDock->isHidden());
    const std::string_view styles[] = {"view-large", "view-report", "view-small", "view-list"};
    if (m_viewStyle >= 0 && m_viewStyle < 4) check(styles[m_viewStyle], true);

    RefreshSwitchChecks();
}

void MainWindow::RefreshSelectionCommands() {
    // The cover commands need exactly one scan object selected in the list.
    const bool oneEntry = m_browsing->SelectedEntry() != nullptr;
    for (std::string_view id : {"import-cover", "delete-cover"}) Action(id)->setEnabled(oneEntry);
}

void MainWindow::RefreshAutorun() {
    // Asks the desktop (a gsettings run), so only when a menu opens and after the switch.
    const std::optional<bool> autorunOff = shell::AutorunSwitchChecked();
    QAction* autorun = Action("autorun");
    autorun->setEnabled(autorunOff.has_value());
    autorun->setChecked(autorunOff.value_or(false));
    autorun->setToolTip(autorunOff ? PlainCommandText(FindCommand("autorun")->text)
                                   : Tr("当前桌面没有光盘自动运行的设置"));
}

void MainWindow::ToggleMessagePane() {
    if (m_paneDock->isVisible()) {
        m_paneDock->hide();
    } else {
        m_paneDock->show();
        m_pane->setFocus();
    }
}

void MainWindow::ShowPaneThen(void (MessagePane::*operation)()) {
    if (!m_paneDock->isVisible()) m_paneDock->show();
    (m_pane->*operation)();
}

void MainWindow::ShowAbout() {
    const QString text =
        Tr("<h3>Pelko－光盘管理工具</h3>") + Tr("<p>版本 ") + QStringLiteral(PELKO_VERSION) +
        Tr("</p><p>许可证：GNU 通用公共许可证第 3 版或更高版本（GPL-3.0-or-later）。</p>") +
        Tr("<p>使用的程序库：Qt ") + QString::fromLatin1(qVersion()) +
        Tr("、zlib 与 minizip、libjpeg、giflib、libtiff、libcdio（libudf）、libudev、libblkid、libxcb、"
           "GoogleTest（测试）。</p>");
    QMessageBox box(QMessageBox::NoIcon, Tr("关于 Pelko－光盘管理工具"), text, QMessageBox::Ok, this);
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void MainWindow::FocusNextPane(bool forward) {
    // Two panes: either direction moves to the other one.
    (void)forward;
    if (m_tree->hasFocus()) m_list->CurrentView()->setFocus(Qt::OtherFocusReason);
    else m_tree->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetPassword() {
    PasswordDialog dialog(PasswordDialog::Mode::Set, this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_services.doc.SetPassword(dialog.Confirmation());
}

bool MainWindow::RunCloseSequence() {
    const shell::WindowLayout layout{m_viewStyle, m_tree->width()};
    const shell::CloseDecision decision =
        shell::DecideClose(m_services.busy, layout, m_services.options, m_services.settings, m_services.ui, [this] {
            CloseDialog dialog(this);
            return dialog.exec() == QDialog::Accepted ? std::optional<bool>(dialog.DontAskAgain()) : std::nullopt;
        });
    if (decision == shell::CloseDecision::StayOpen) return false;
    // The open disc's changes go to its file first; when they cannot be written the window stays
    // (the pane says why), so that the user can make room and close again.
    if (!m_browsing->CloseOpenScanObject()) return false;
    if (m_tray) {
        m_tray->hide();
        delete m_tray;
        m_tray = nullptr;
    }
    if (m_hotKeysRegistered) {
        shell::UnregisterHotKeys(m_services.drives.Drives(), m_services.hotKeys);
        m_hotKeysRegistered = false;
    }
    if (m_services.doc.IsModified()) m_services.doc.SaveCatalog();
    return true;
}


void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closeApproved && !RunCloseSequence()) {
        event->ignore();
        return;
    }
    m_closeApproved = true;
    event->accept();
    emit Closed();
}

}  // namespace pelko::ui
