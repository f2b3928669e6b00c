#pragma once
// The command's own thread as the "caller's thread" of a worker: tasks the worker posts wait
// here until the command runs them, in order, while it waits for its work to end.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace pelko::cli {

class PostedTasks {
public:
    // Any thread.
    void Post(std::function<void()> task) {
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_posted.notify_one();
    }

    // Runs posted tasks until `done` holds, calling `idle` (when given) every tenth of a second
    // meanwhile. Waits as long as the work takes: a disc may take hours, and Ctrl+C ends it.
    void RunUntil(const std::function<bool()>& done, const std::function<void()>& idle = {}) {
        while (!done()) {
            std::unique_lock lock(m_mutex);
            if (!m_posted.wait_for(lock, std::chrono::milliseconds(100), [&] { return !m_tasks.empty(); })) {
                lock.unlock();
                if (idle) idle();
                continue;
            }
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace pelko::cli
