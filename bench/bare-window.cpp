// The partner of pelko's start-up in bench/desktop.sh: a Qt Widgets program that shows an empty
// QMainWindow maximised and ends after its first paint, through the same hook pelko uses when
// PELKO_QUIT_AFTER_FIRST_PAINT is set. What pelko takes beyond this is its own start-up: the
// catalog, the settings, the window's bars, panes and views.
#include <QApplication>
#include <QMainWindow>

#include "QuitAfterFirstPaint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pelko::bench_hook::QuitAfterFirstPaint::Install(app);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.showMaximized();
    return app.exec();
}
