#pragma once
// Stand-ins for the two sides of a scan run: the caller's thread, where the worker posts its end,
// and a progress window that records every call and can hold the worker mid-walk.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "scan/CScanProgress.h"

namespace pelko::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The caller's thread: tasks posted by the worker wait here until the test runs them.
class TaskQueue {
public:
    void Post(std::function<void()> task) {
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_ready.notify_all();
    }
    // Runs the next posted task; false when none came in time.
    bool RunNext() {
        std::unique_lock lock(m_mutex);
        if (!m_ready.wait_for(lock, 10s, [this] { return !m_tasks.empty(); })) return false;
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_tasks;
};

// A progress sink that records every call (paths relative to the scanned root) and can hold the
// worker in the folder whose path ends in `gateSuffix`, so the test acts in the middle of a walk.
class GateSink final : public scan::CScanProgress {
public:
    GateSink(std::string root, std::string gateSuffix)
        : m_root(std::move(root)), m_gate(std::move(gateSuffix)) {}

    bool IsCancelled() override { return cancelled.load(); }
    void ShowFolderPath(std::string_view path) override {
        Record("path " + Relative(path));
        if (m_gate.empty() || !path.ends_with(m_gate)) return;
        std::unique_lock lock(m_mutex);
        m_blocked = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    scan::PictureAreaSize PictureArea() override {
        Record("area");
        return {};
    }
    void ShowPicture(std::string_view picturePath, const fs::path& thumbnailPath) override {
        Record("picture " + Relative(picturePath) + " " + thumbnailPath.filename().string());
    }

    bool WaitUntilHeld() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [this] { return m_blocked; });
    }
    void Open() {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }
    std::atomic<bool> cancelled{false};  // what the window's Cancel would set

    std::vector<std::string> Calls() {
        const std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    std::string Relative(std::string_view path) const {
        return path.starts_with(m_root) ? std::string(path.substr(m_root.size())) : std::string(path);
    }
    void Record(std::string call) {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }

    std::string m_root;
    std::string m_gate;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_blocked = false;
    bool m_open = false;
    std::vector<std::string> m_calls;
};

}  // namespace pelko::test
