// pelko: the desktop program. Everything it does lives in the libraries; see ui/app.

#include <QCoreApplication>

#include <cstdlib>

#include "QuitAfterFirstPaint.h"
#include "ui/app/PelkoApplication.h"

namespace {

// PELKO_QUIT_AFTER_FIRST_PAINT=1: end the run as soon as the main window has been painted once,
// without the close sequence (see QuitAfterFirstPaint.h); bench/desktop.sh times the start-up so.
// Runs as the application object is created, before anything is shown.
void QuitAfterFirstPaintWhenAsked() {
    const char* wanted = std::getenv("PELKO_QUIT_AFTER_FIRST_PAINT");
    if (wanted != nullptr && *wanted != '\0' && *wanted != '0')
        pelko::bench_hook::QuitAfterFirstPaint::Install(*QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(QuitAfterFirstPaintWhenAsked)

}  // namespace

int main(int argc, char** argv) { return pelko::ui::RunPelko(argc, argv); }
