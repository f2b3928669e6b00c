// Tasks handed in by worker threads run on the UI thread, each once, in each worker's order.
#include "ui/app/UiThreadTasks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace pelko::ui {
namespace {

TEST(UiThreadTasksThreads, WorkersTasksRunOnTheOwnersThreadInOrderAndNoneIsLost) {
    UiThreadTasks tasks;
    constexpr int kWorkers = 3;
    constexpr int kPerWorker = 2000;
    std::vector<std::vector<int>> seen(kWorkers);  // touched on the UI thread only
    int offThread = 0;
    int ran = 0;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (int i = 0; i < kPerWorker; ++i) {
                tasks.Post([&, w, i] {
                    if (QThread::currentThread() != tasks.thread()) ++offThread;
                    seen[static_cast<std::size_t>(w)].push_back(i);
                    ++ran;
                });
            }
        });
    }
    // Nothing runs inside Post: the tasks wait for the event loop.
    EXPECT_EQ(ran, 0);
    for (std::thread& worker : workers) worker.join();
    QElapsedTimer clock;
    clock.start();
    while (ran < kWorkers * kPerWorker && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    EXPECT_EQ(ran, kWorkers * kPerWorker);
    EXPECT_EQ(offThread, 0);
    for (const std::vector<int>& order : seen) {
        ASSERT_EQ(order.size(), static_cast<std::size_t>(kPerWorker));
        for (int i = 0; i < kPerWorker; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    }
}

}  // namespace
}  // namespace pelko::ui
