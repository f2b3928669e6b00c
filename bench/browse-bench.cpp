// Browsing a large scan object in the desktop program's main window: the window is built over
// CATALOG (one scan object, in the root category) with in-memory settings, no drives and no
// hot keys, shown, and driven the way a person would drive it.
//
//   1. Opening: the root category is selected in the tree and the scan object closed; then the
//      scan object's tree node is selected (setCurrentIndex on its index in the tree model) and
//      the clock runs until the report view's viewport has been painted with all of the root
//      folder's rows in the model (ROWS, the ReadMe row included). Best of RUNS runs. The heap
//      growth across the last opening (mallinfo2, main arena, measured once the rows are
//      painted) is the memory the open scan object costs the program.
//   2. Sorting and scrolling, in large icons with thumbnails: the list is sorted by its size
//      column (ContentListModel::SortByColumn, as a header click does), then scrolled from top
//      to bottom a page at a time, each page painted before the next step (16 ms apart, about
//      the rate of a held Page Down key). A 1 ms timer on the UI thread records the longest gap
//      between two of its ticks during each phase: the longest the window could not have
//      answered a key or a click.
//
// Prints "rows", "select_seconds" (best), "select_seconds_first", "heap_bytes", "sort_ms" (the
// sort call alone), "sort_stall_ms", "scroll_steps", "scroll_seconds", "scroll_stall_ms",
// "pictures_ready". Exit 1 when the window shows something else than the scan object's root
// folder, the rows are not sorted by size, a page is never painted, fewer than PICTURES
// thumbnails arrive, or a message box would have been shown.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QListView>
#include <QScrollBar>
#include <QSet>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/MessageLog.h"
#include "settings/SettingsStore.h"
#include "catalog/UserInterface.h"
#include "export/DocumentOpener.h"
#include "platform/DrivePort.h"
#include "platform/GlobalHotKeys.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/CatalogEditor.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/models/ContentListModel.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"
#include "ui/views/PictureCache.h"

namespace {

using namespace pelko;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "browse-bench: %s\n", what.c_str());
    std::exit(1);
}

class StderrLog final : public catalog::MessageLog {
public:
    void Post(catalog::MessageKind, std::string_view text) override {
        std::fprintf(stderr, "log: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// Nothing here asks the user anything; a message box means the run went wrong.
class NoQuestionsUi final : public catalog::UserInterface {
public:
    void ShowMessage(std::string_view text) override {
        Fail("a message box would have said: " + std::string(text));
    }
    bool AskYesNo(std::string_view text) override {
        Fail("a question would have been asked: " + std::string(text));
    }
};

class NoDrives final : public platform::DrivePort {
public:
    std::vector<platform::OpticalDrive> Drives() override { return {}; }
    bool IsMounted(const std::string&) override { return false; }
    bool Unmount(const std::string&) override { return false; }
    bool OpenTray(const std::string&) override { return false; }
    bool CloseTray(const std::string&) override { return false; }
    bool LockTray(const std::string&, bool) override { return false; }
    bool HasMedium(const std::string&) override { return false; }
};

class NoOpener final : public exporting::DocumentOpener {
public:
    bool Open(const std::filesystem::path&) override { return false; }
};

// Calls `painted` after each Paint event of `widget` (before it is painted).
class PaintWatch final : public QObject {
public:
    PaintWatch(QWidget* widget, std::function<void()> painted)
        : m_widget(widget), m_painted(std::move(painted)) {
        widget->installEventFilter(this);
    }
    ~PaintWatch() override { m_widget->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_painted();
        return false;
    }

private:
    QWidget* m_widget;
    std::function<void()> m_painted;
};

// The longest gap between two ticks of a 1 ms timer on the UI thread since the last Reset().
class StallMeter {
public:
    StallMeter() {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_ticker.start();
    }
    void Reset() {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double LongestMs() const { return static_cast<double>(m_longest) / 1e6; }

private:
    QTimer m_ticker;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Runs the event loop until `done` or `seconds` have passed; false on the timeout.
bool RunUntil(const std::function<bool()>& done, double seconds) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;  // the wait below returns at least this often to look at the clock
    wake.start(10);
    while (!done()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Runs the event loop for a while, sleeping when there is nothing to do (a loop that polls
// would take a core from the picture decoders).
void RunFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: browse-bench CATALOG ROWS PICTURES RUNS\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    const int expectedRows = std::atoi(argv[2]);
    const int expectedPictures = std::atoi(argv[3]);
    const int runs = std::max(1, std::atoi(argv[4]));
    if (::chdir(folder.c_str()) != 0) Fail("cannot enter " + folder.string());  // as the program does

    StderrLog log;
    NoQuestionsUi ui;
    settings::MemorySettingsStore settings;
    shell::AppSettings options;
    options.Load(settings);
    shell::BusyState busy;
    NoDrives drives;
    platform::NoGlobalHotKeys hotKeys;
    NoOpener opener;
    catalog::CPelkoDoc doc(folder, log, ui);
    if (!doc.LoadCatalog()) Fail("cannot load the catalog in " + folder.string());
    if (doc.Root()->Entries().size() != 1)
        Fail("the root category holds " + std::to_string(doc.Root()->Entries().size()) +
             " scan objects, not one");
    catalog::CDiskInfo* entry = doc.Root()->Entries().front().get();

    ui::MainWindow window(ui::AppServices{doc, settings, options, busy, ui, drives, hotKeys, opener}, false);
    window.resize(1400, 900);
    window.show();
    RunFor(300);
    ui::CatalogBrowsing& browsing = *window.Browsing();
    ui::CatalogTreeModel& treeModel = *browsing.TreeModel();
    ui::ContentListModel& listModel = *browsing.ListModel();
    ui::ContentListView& list = *browsing.List();
    QTreeView& tree = *browsing.Tree();
    browsing.SetViewStyle(ui::ContentListView::Report);
    RunFor(100);

    // ---- 1. opening the scan object, until its root folder's rows are painted ----------------
    double best = 0;
    double first = 0;
    long heap = 0;
    for (int run = 0; run < runs; ++run) {
        tree.setCurrentIndex(
            treeModel.RevealIndexOf(shell::CatalogObject{static_cast<catalog::CCategory*>(doc.Root())}));
        if (!browsing.CloseOpenScanObject()) Fail("the open scan object could not be closed");
        if (browsing.Editor().Open().cd) Fail("the scan object is still open");
        RunFor(200);
        const QModelIndex node = treeModel.RevealIndexOf(shell::CatalogObject{entry});
        if (!node.isValid()) Fail("the scan object has no node in the tree");

        QEventLoop loop;
        bool painted = false;
        PaintWatch watch(list.ReportView()->viewport(), [&] {
            if (!painted && listModel.rowCount() == expectedRows) {
                painted = true;
                loop.quit();  // leaves once this paint is done
            }
        });
        QTimer::singleShot(60'000, &loop, [&] { loop.exit(1); });
        const std::size_t before = mallinfo2().uordblks;
        QElapsedTimer clock;
        clock.start();
        tree.setCurrentIndex(node);
        const int status = painted ? 0 : loop.exec();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        heap = static_cast<long>(mallinfo2().uordblks) - static_cast<long>(before);
        if (status != 0 || !painted)
            Fail("the list shows " + std::to_string(listModel.rowCount()) + " rows, not " +
                 std::to_string(expectedRows) + ", or was never painted");
        if (listModel.Kind() != ui::ContentListModel::ShownKind::RootFolder || !browsing.Editor().Open().cd ||
            listModel.ShownNode() !=
                shell::CatalogObject{static_cast<catalog::CDir*>(browsing.Editor().Open().cd.get())})
            Fail("the list does not show the scan object's root folder");
        if (run == 0) first = seconds;
        if (run == 0 || seconds < best) best = seconds;
    }

    // ---- 2. sorting by size and scrolling, in large icons with thumbnails --------------------
    auto* pictures = list.findChild<ui::PictureCache*>();
    if (!pictures) Fail("the list has no picture cache");
    QSet<QString> ready;
    QObject::connect(pictures, &ui::PictureCache::PictureReady,
                     [&](const QString& path) { ready.insert(path); });
    browsing.SetViewStyle(ui::ContentListView::LargeIcons);
    QListView& icons = *list.IconView();
    RunFor(500);

    int sizeColumn = -1;
    for (int column = 0; column < listModel.columnCount(); ++column)
        if (listModel.FieldOf(column) == shell::ListField::Size) sizeColumn = column;
    if (sizeColumn < 0) Fail("the root folder has no size column");

    StallMeter meter;
    RunFor(200);
    meter.Reset();
    double sortMs = 0;
    QTimer::singleShot(0, [&] {
        QElapsedTimer clock;
        clock.start();
        listModel.SortByColumn(sizeColumn);  // what a click on the header does
        sortMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    });
    RunFor(1000);
    const double sortStall = meter.LongestMs();
    // Ascending by size among the files (folders and the ReadMe row keep their places first).
    std::optional<std::uint64_t> previous;
    int files = 0;
    for (int row = 0; row < listModel.rowCount(); ++row) {
        const auto object = listModel.ObjectAt(listModel.index(row, 0));
        const auto* file = object ? std::get_if<catalog::CFileInfo*>(&*object) : nullptr;
        if (!file) {
            if (files > 0) Fail("a row that is not a file follows the files after the sort");
            continue;
        }
        const std::uint64_t size = (*file)->Size();
        if (previous && size < *previous)
            Fail("row " + std::to_string(row) + " is out of order after the sort");
        previous = size;
        ++files;
    }
    if (files == 0) Fail("no file rows after the sort");

    QScrollBar& bar = *icons.verticalScrollBar();
    if (bar.maximum() <= 0) Fail("the large-icon list does not scroll");
    int steps = 0;
    bool pagePainted = false;
    PaintWatch watch(icons.viewport(), [&] { pagePainted = true; });
    bar.setValue(0);
    RunFor(300);
    meter.Reset();
    QElapsedTimer scrollClock;
    scrollClock.start();
    while (bar.value() < bar.maximum()) {
        pagePainted = false;
        bar.setValue(std::min(bar.maximum(), bar.value() + bar.pageStep()));
        ++steps;
        if (!RunUntil([&] { return pagePainted; }, 30))
            Fail("page " + std::to_string(steps) + " was never painted");
        RunFor(16);
    }
    const double scrollSeconds = static_cast<double>(scrollClock.nsecsElapsed()) / 1e9;
    const double scrollStall = meter.LongestMs();
    // The thumbnails asked for while scrolling are read off the UI thread; each arrives once.
    if (!RunUntil([&] { return ready.size() >= expectedPictures; }, 60))
        Fail(std::to_string(ready.size()) + " pictures arrived, expected at least " +
             std::to_string(expectedPictures));

    std::printf(
        "rows %d\nselect_seconds %.6f\nselect_seconds_first %.6f\nheap_bytes %ld\nsort_ms %.1f\n"
        "sort_stall_ms %.1f\nscroll_steps %d\nscroll_seconds %.3f\nscroll_stall_ms %.1f\npictures_ready "
        "%lld\n",
        listModel.rowCount(), best, first, heap, sortMs, sortStall, steps, scrollSeconds, scrollStall,
        static_cast<long long>(ready.size()));
    return 0;
}
