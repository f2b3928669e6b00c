#pragma once
// The desktop program from start to end: the catalog folder, the single running copy, the
// settings, the catalog, the main window, the login, the splash, the tray, then the event loop.

namespace pelko::ui {

// Runs the program; the process's exit status. Creates the QApplication itself.
int RunPelko(int argc, char** argv);

}  // namespace pelko::ui
