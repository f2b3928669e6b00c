#pragma once
// A few threads that run submitted tasks in order of submission, started with the pool and
// joined when it goes away. Tasks still waiting then are dropped (their futures report a broken
// promise); a task that runs keeps alive what it captured.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace pelko::scan {

class WorkerPool {
public:
    // Starts up to `threads` threads; fewer when the system refuses more (then Submit runs a
    // task at once on the calling thread if none could be started).
    explicit WorkerPool(std::size_t threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    template <typename Task>
    std::future<std::invoke_result_t<Task>> Submit(Task task) {
        using Result = std::invoke_result_t<Task>;
        auto packaged = std::make_shared<std::packaged_task<Result()>>(std::move(task));
        std::future<Result> future = packaged->get_future();
        if (m_threads.empty()) {
            (*packaged)();
            return future;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.emplace_back([packaged] { (*packaged)(); });
        }
        m_wake.notify_one();
        return future;
    }

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace pelko::scan
