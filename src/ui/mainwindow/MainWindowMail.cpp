// Mailing a disc (main menu and the list's context menu) and merging another catalog.

#include <string_view>

#include "ui/mainwindow/MainWindow.h"

namespace pelko::ui {

void MainWindow::AttachMailAndMergeCommands() {
    // Their windows are not part of the program yet: shown, but disabled.
    for (std::string_view id : {"mail-default", "mail-outlook", "context-mail-default", "context-mail-outlook", "merge"}) DisableForNow(id);
}

}  // namespace pelko::ui
