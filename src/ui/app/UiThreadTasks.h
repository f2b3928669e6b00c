#pragma once
// Runs tasks handed in from worker threads on the thread that owns this object. A worker's task
// waits in a queue under our own lock and an eventfd wakes the owner's event loop, which takes the
// tasks out and runs them in order: nothing a worker made travels through Qt's event queue, so the
// hand-over is visible to ThreadSanitizer and safe with every Qt build.

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;

namespace pelko::ui {

class UiThreadTasks : public QObject {
    Q_OBJECT
public:
    explicit UiThreadTasks(QObject* parent = nullptr);
    ~UiThreadTasks() override;

    // Any thread. The task runs later on the owner's thread, never inside this call.
    void Post(std::function<void()> task);

    // Owner's thread: runs the tasks waiting now (the event loop does this on its own).
    void RunWaiting();

private:
    int m_wakeFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::mutex m_lock;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace pelko::ui
