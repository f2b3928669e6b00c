// Lines posted by worker threads while the UI thread also posts.
#include "ui/panes/MessagePane.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace pelko::ui {
namespace {

using catalog::MessageKind;

// Turns the event loop until the pane holds `lines` lines (or 60 s pass); returns how many
// turns it took.
int WaitForLines(MessagePane& pane, int lines) {
    QElapsedTimer clock;
    clock.start();
    int turns = 0;
    while (pane.LineCount() < lines && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ++turns;
    }
    return turns;
}

TEST(MessagePaneThreads, LinesOfManyWorkersArriveWholeInOrderAndNoneLost) {
    MessagePane pane;
    constexpr int kWorkers = 4;
    constexpr int kPerWorker = 5000;
    std::atomic<bool> go{false};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&pane, &go, w] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < kPerWorker; ++i) {
                // A long text, so a torn append would show as a broken line.
                pane.Post(MessageKind::Result, "w" + std::to_string(w) + " " + std::to_string(i) + " " +
                                                   std::string(40, static_cast<char>('a' + w)));
            }
        });
    }
    go = true;
    for (int i = 0; i < 100; ++i) pane.Post(MessageKind::Hint, "ui " + std::to_string(i));
    for (std::thread& t : workers) t.join();
    const int total = kWorkers * kPerWorker + 100;
    WaitForLines(pane, total);
    ASSERT_EQ(pane.LineCount(), total);

    std::map<std::string, int> next;  // per writer: the number its next line must carry
    for (QTextBlock b = pane.Editor()->document()->begin(); b.isValid() && b.blockNumber() < total;
         b = b.next()) {
        const std::string line = b.text().toStdString();
        std::string writer;
        int number = -1;
        if (line.starts_with("        w")) {
            writer = line.substr(8, 2);
            const std::size_t space = line.find(' ', 11);
            number = std::stoi(line.substr(11, space - 11));
            const char fill = static_cast<char>('a' + (writer[1] - '0'));
            ASSERT_EQ(line.substr(space + 1), std::string(40, fill)) << "torn line " << b.blockNumber();
        } else {
            ASSERT_TRUE(line.find("ui ") != std::string::npos) << line;
            writer = "ui";
            number = std::stoi(line.substr(line.rfind(' ') + 1));
        }
        ASSERT_EQ(number, next[writer]++) << writer << " at line " << b.blockNumber();
    }
    for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(next["w" + std::to_string(w)], kPerWorker);
    EXPECT_EQ(next["ui"], 100);
}

// 100,000 lines from a worker reach the document in many batches, with the event loop turning
// (timers, input, painting) between them.
TEST(MessagePaneThreads, AFloodOfLinesLeavesTheEventLoopRunning) {
    MessagePane pane;
    constexpr int kLines = 100000;
    std::thread worker([&pane] {
        for (int i = 0; i < kLines; ++i) pane.Post(MessageKind::Result, "hit " + std::to_string(i));
    });
    worker.join();  // everything is queued before the UI thread shows any of it
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(0);
    // Past 65,535 lines every line draws the limit warning after it.
    constexpr int kShown = 65535 + 2 * (kLines - 65535);
    WaitForLines(pane, kShown);
    timer.stop();
    ASSERT_EQ(pane.LineCount(), kShown);
    EXPECT_GE(ticks, 10) << "the lines came in one long stretch without the event loop turning";
    const QTextDocument* document = pane.Editor()->document();
    EXPECT_EQ(document->findBlockByNumber(65534).text(), QStringLiteral("        hit 65534"));
    EXPECT_EQ(document->findBlockByNumber(kShown - 2).text(), QStringLiteral("        hit 99999"));
    EXPECT_TRUE(document->findBlockByNumber(kShown - 1).text().contains(QStringLiteral("65535")));
}

TEST(MessagePaneThreads, ClearingDropsLinesNotShownYet) {
    MessagePane pane;
    pane.Post(MessageKind::Hint, "shown");
    std::thread worker([&pane] {
        for (int i = 0; i < 5000; ++i) pane.Post(MessageKind::Result, "queued");
    });
    worker.join();
    pane.ClearAll();
    pane.Post(MessageKind::Hint, "after");
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.LineCount(), 1);
    EXPECT_EQ(pane.Editor()->document()->firstBlock().text(), QString::fromUtf8("提示：  after"));
}

}  // namespace
}  // namespace pelko::ui
