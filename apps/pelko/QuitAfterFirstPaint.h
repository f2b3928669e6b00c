#pragma once
// Ends the program right after its main window has been painted for the first time, so that the
// start-up can be timed from outside (bench/desktop.sh). pelko uses it only when the environment
// variable PELKO_QUIT_AFTER_FIRST_PAINT is set; bench/bare-window uses it always, so that both
// programs are timed to exactly the same moment.
//
// The event loop is left with status 0 once the first paint of the main window is through: the
// quit is queued from inside the paint, so it runs only after every widget of that frame has been
// painted and the frame has gone to the screen. Leaving the loop skips the close sequence
// entirely: no close dialog, no window layout written to the settings, no save of the catalog
// (nothing has changed it). One line on stderr says that the window was painted; the benchmark
// checks for it, since a program that quits for any other reason must not be timed.

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace pelko::bench_hook {

inline constexpr char kPaintedLine[] = "main window painted; quitting";

class QuitAfterFirstPaint final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_quitting && event->type() == QEvent::Paint && watched->isWidgetType()) {
            // Every widget of the main window is painted in the same pass as the window itself.
            const QWidget* window = static_cast<QWidget*>(watched)->window();
            if (qobject_cast<const QMainWindow*>(window) && window->isVisible()) {
                m_quitting = true;
                QTimer::singleShot(0, this, [] {
                    std::fprintf(stderr, "%s\n", kPaintedLine);
                    QCoreApplication::exit(0);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

    // Watches every widget of `app`; the filter is owned by the application.
    static void Install(QCoreApplication& app) { app.installEventFilter(new QuitAfterFirstPaint(&app)); }

private:
    bool m_quitting = false;
};

}  // namespace pelko::bench_hook
