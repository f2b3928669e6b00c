// The export commands of the main menu and the context menus, the export dialog and "编辑打印".

#include <string_view>

#include "ui/mainwindow/MainWindow.h"

namespace pelko::ui {

void MainWindow::AttachExportCommands() {
    // Their windows are not part of the program yet: shown, but disabled.
    for (std::string_view id : {"export-text", "export-html", "edit-print", "tree-export-text", "list-export-text"}) DisableForNow(id);
}

}  // namespace pelko::ui
