// "查找(&F)..." from the main menu and from the tree's and the list's context menus.

#include <string_view>

#include "ui/mainwindow/MainWindow.h"

namespace pelko::ui {

void MainWindow::AttachFindCommands() {
    // Their windows are not part of the program yet: shown, but disabled.
    for (std::string_view id : {"find", "tree-find", "list-find"}) DisableForNow(id);
}

}  // namespace pelko::ui
