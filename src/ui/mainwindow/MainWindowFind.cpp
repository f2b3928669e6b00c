// "查找(&F)..." from the main menu and from the tree's and the list's context menus.

#include "ui/mainwindow/FindCommands.h"
#include "ui/mainwindow/MainWindow.h"

namespace pelko::ui {

void MainWindow::AttachFindCommands() {
    // A child of the window, made after the panes it writes to.
    auto* finds = new FindCommands(m_services, *this);
    Handle("find", [finds] { finds->Find(); });
    Handle("tree-find", [finds] { finds->FindFromTree(); });
    Handle("list-find", [finds] { finds->FindFromList(); });
}

}  // namespace pelko::ui
