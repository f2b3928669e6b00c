// Mailing a disc (main menu and the list's context menu) and merging another catalog.

#include <QAbstractItemView>
#include <QTreeView>

#include "shell/CatalogEditor.h"
#include "shell/DiscMail.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/panes/MessagePane.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {

void MainWindow::AttachMailAndMergeCommands() {
    // Both ways act on the list's selection. The open scan object's edits are written first, so
    // that a mailed copy of that disc holds them.
    const auto mail = [this](shell::MailWay way) {
        m_browsing->SaveOpenScanObject();
        shell::MailDisc(m_browsing->Discs(), shell::DiscToMail(m_browsing->ListSelection()), way, m_services.ui,
                        *m_pane);
    };
    // The main menu's entries work on the list as its context menu does, with the focus there.
    Handle("mail-default", [this, mail] {
        m_list->CurrentView()->setFocus();
        mail(shell::MailWay::DefaultProgram);
    });
    Handle("mail-outlook", [this, mail] {
        m_list->CurrentView()->setFocus();
        mail(shell::MailWay::Attached);
    });
    Handle("context-mail-default", [mail] { mail(shell::MailWay::DefaultProgram); });
    Handle("context-mail-outlook", [mail] { mail(shell::MailWay::Attached); });

    Handle("merge", [this] {
        // The editor asks for the folder, merges, reports to the pane and has the views read
        // the whole tree again; the user then starts from the root, opened.
        if (!m_browsing->Editor().Merge()) return;
        const QModelIndex root = m_tree->model()->index(0, 0);
        m_tree->setCurrentIndex(root);
        m_tree->expand(root);
    });
}

}  // namespace pelko::ui
