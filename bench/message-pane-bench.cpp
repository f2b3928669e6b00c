// The message pane under a flood of lines, as a search writes its hits: a worker thread posts
// every line of LINES_FILE (UTF-8, one line each, as `pelko-cli find` printed its hits) to the
// pane through the program's start-up log (ForwardingLog -> MessagePane::Post), the path every
// worker uses. Before the flood the pane has shown a line and been cleared, as a search that
// starts in the running program finds it. The UI thread runs its event loop, shown window and
// all, until the pane holds every line; a 10 ms timer on the UI thread records the longest gap
// between two of its ticks, the longest time the window could not have answered a key or a click.
//
// Prints "lines N", "pane_lines M" (the lines plus the limit warnings the pane adds past 65,535
// lines), "seconds S" (first post to the last line painted) and "longest_stall_ms T". Exit 1 when
// a line is missing, out of order or changed, or when the pane stops taking lines for 60 s.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "catalog/MessageLog.h"
#include "export/MessageLines.h"
#include "text/Codec.h"
#include "ui/app/ForwardingLog.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"

namespace {

using namespace pelko;

// How many lines the pane holds after `posted` lines: past the limit every append brings the
// warning line along.
long ExpectedPaneLines(long posted) {
    long lines = 0;
    for (long i = 0; i < posted; ++i) {
        ++lines;
        if (lines > exporting::kMessageLineLimit) ++lines;
    }
    return lines;
}

// The pane's document against what was posted: every posted line, in order, whole; between them
// only the limit warning. Returns the first difference, or an empty string.
std::string CheckDocument(const QTextDocument& document, const std::vector<std::string>& utf8Lines) {
    const QString warning = ui::ToQt(exporting::MessageLimitWarning());
    const QString prefix = ui::ToQt(catalog::MessagePrefix(catalog::MessageKind::Result));
    std::size_t next = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty() && !block.next().isValid()) break;  // after the last line break
        if (text == warning) continue;
        if (next == utf8Lines.size()) return "an extra line: " + text.toStdString();
        const QString wanted = prefix + QString::fromStdString(utf8Lines[next]);
        if (text != wanted) {
            return "line " + std::to_string(next + 1) + " reads '" + text.toStdString() + "', posted '" +
                   wanted.toStdString() + "'";
        }
        ++next;
    }
    if (next != utf8Lines.size()) return "only " + std::to_string(next) + " of the posted lines are in the pane";
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: message-pane-bench LINES_FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "message-pane-bench: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> utf8Lines;
    std::vector<std::string> modelLines;  // what the worker posts: model bytes, no prefix
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        utf8Lines.push_back(line.toStdString());
        modelLines.push_back(text::FromUtf8(utf8Lines.back()));
    }
    if (utf8Lines.empty()) {
        std::fprintf(stderr, "message-pane-bench: %s holds no lines\n", argv[1]);
        return 1;
    }
    const long expected = ExpectedPaneLines(static_cast<long>(modelLines.size()));

    ui::MessagePane pane;
    pane.resize(1200, 400);
    pane.show();
    ui::ForwardingLog log;
    log.SetTarget(&pane);
    // As in the program: the pane has shown lines before (the start-up's), and a search clears it
    // before its first hit. The window is on the screen and painted before the first post.
    log.Post(catalog::MessageKind::Hint, modelLines.front());
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 50);
    pane.ClearAll();
    QApplication::processEvents(QEventLoop::AllEvents, 50);

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestStall = 0;
    qint64 lastProgress = 0;
    int lastCount = 0;
    qint64 doneAt = -1;
    bool stuck = false;

    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastTick);
        lastTick = now;
        const int count = pane.LineCount();
        if (count != lastCount) {
            lastCount = count;
            lastProgress = now;
        }
        if (count >= expected) {
            pane.Editor()->viewport()->repaint();  // the last lines on the screen
            doneAt = clock.nsecsElapsed();
            ticker.stop();
            QCoreApplication::exit(0);
        } else if (now - lastProgress > 60'000'000'000LL) {
            stuck = true;
            ticker.stop();
            QCoreApplication::exit(1);
        }
    });

    clock.start();
    ticker.start();
    std::thread worker([&] {
        for (const std::string& line : modelLines) log.Post(catalog::MessageKind::Result, line);
    });
    const int status = QApplication::exec();
    worker.join();
    pane.Flush();

    if (stuck || status != 0 || doneAt < 0) {
        std::fprintf(stderr, "message-pane-bench: the pane stopped at %d of %ld lines\n", pane.LineCount(), expected);
        return 1;
    }
    if (pane.LineCount() != expected) {
        std::fprintf(stderr, "message-pane-bench: the pane holds %d lines, expected %ld\n", pane.LineCount(), expected);
        return 1;
    }
    if (const std::string fault = CheckDocument(*pane.Editor()->document(), utf8Lines); !fault.empty()) {
        std::fprintf(stderr, "message-pane-bench: %s\n", fault.c_str());
        return 1;
    }
    std::printf("lines %zu\npane_lines %ld\nseconds %.6f\nlongest_stall_ms %.1f\n", modelLines.size(), expected,
                static_cast<double>(doneAt) / 1e9, static_cast<double>(longestStall) / 1e6);
    return 0;
}
