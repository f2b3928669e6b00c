#pragma once
// The search worker: runs one search on its own thread, writes each hit as a result line to
// the message log as it goes, counts the hits, and calls the finished callback as the last
// thing it does, exactly once, whether the search ran through or was stopped.
//
// The object outlives its thread: whoever owns it may Stop() it at any time, also after the
// thread has ended, and destroys it after Join(). The catalog tree it reads must not change
// while it runs (the busy state refuses the commands that would change it).

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "search/ContentPrefetcher.h"
#include "search/FindCriteria.h"

namespace pelko::catalog {
class CCategory;
class CCD;
class MessageLog;
}  // namespace pelko::catalog

namespace pelko::search {

class FindProgress;

// The search object: a category, or the loaded contents of one scan object with its catalog
// path.
struct FindObject {
    const catalog::CCategory* category = nullptr;
    const catalog::CCD* contents = nullptr;
    std::string scanObjectPath;
};

class CFindThread {
public:
    // `progress` may be null. Disc files are read from `catalogFolder`.
    CFindThread(FindCriteria criteria, FindObject object, std::filesystem::path catalogFolder,
                catalog::MessageLog& log, FindProgress* progress, std::function<void()> onFinished,
                PrefetchOptions prefetch = {});
    // Stops and joins a thread that is still running.
    ~CFindThread();
    CFindThread(const CFindThread&) = delete;
    CFindThread& operator=(const CFindThread&) = delete;

    // Starts the thread; false when it could not be created (nothing has run then).
    bool Start();
    // Asks the search to stop at its next stop point. Safe from any thread at any time.
    void Stop() { m_running.store(false, std::memory_order_relaxed); }
    // Waits for the thread to end.
    void Join();

    // Hit lines written so far.
    int HitCount() const { return m_hits.load(); }

    // The whole search on the calling thread; returns false when it was stopped.
    bool Run();

private:
    FindCriteria m_criteria;
    FindObject m_object;
    std::filesystem::path m_catalogFolder;
    catalog::MessageLog& m_log;
    FindProgress* m_progress;
    std::function<void()> m_onFinished;
    PrefetchOptions m_prefetch;
    std::atomic<bool> m_running{true};
    std::atomic<int> m_hits{0};
    std::thread m_thread;
};

}  // namespace pelko::search
