#pragma once
// Loads and searches the scan objects of a category walk ahead of it, on several threads.
//
// Searching contents means inflating and parsing one disc file after another, which a single
// thread does one at a time while the other cores idle. Here a few threads take the scan
// objects in walk order, each loading one, searching it into a buffer and freeing it at once;
// the walk takes the buffers back strictly in order and writes them out, so the output is the
// same as a one-at-a-time walk. At most `window` scan objects are ahead of the walk (loaded,
// being searched or waiting to be written), which bounds both the loaded contents and the
// buffered hit lines. The loader's messages are buffered with the hits, so a disc file that
// cannot be read is reported at its place in the order.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "catalog/MessageLog.h"

namespace pelko::catalog {
class CDiskInfo;
}

namespace pelko::search {

struct FindContext;
class FindProgress;

// One line a scan object's search wrote: a hit, or a message of the disc file loader.
struct BufferedLine {
    bool hit;
    catalog::MessageKind kind;  // for messages
    std::string text;
};

struct ContentResult {
    std::vector<BufferedLine> lines;
    bool stopped = false;  // the running flag ended this scan object's search
};

struct ContentJob {
    const catalog::CDiskInfo* entry;
    std::string scanObjectPath;  // the entry's catalog path
};

struct PrefetchOptions {
    unsigned threads = 0;    // 0: one per core, at most `window`
    std::size_t window = 4;  // scan objects ahead of the walk at most
    // Search each disc through its index where a current one exists, and write the index of a
    // disc that had to be read in full. Off: every disc is read in full and no index written.
    bool useIndex = true;
};

class ContentPrefetcher {
public:
    ContentPrefetcher(std::vector<ContentJob> jobs, const FindContext& context,
                      std::filesystem::path catalogFolder, PrefetchOptions options);
    // Stops the threads (a job under way ends at its next stop point) and joins them.
    ~ContentPrefetcher();
    ContentPrefetcher(const ContentPrefetcher&) = delete;
    ContentPrefetcher& operator=(const ContentPrefetcher&) = delete;

    std::size_t JobCount() const { return m_jobs.size(); }
    // Waits for the next job in order and hands over its result.
    ContentResult TakeNext();

private:
    void RunThread();
    ContentResult RunJob(std::size_t index);

    std::vector<ContentJob> m_jobs;
    const FindContext& m_context;
    std::filesystem::path m_catalogFolder;
    std::size_t m_window;
    bool m_useIndex;

    std::mutex m_mutex;
    std::condition_variable m_resultReady;
    std::condition_variable m_roomAhead;
    std::vector<std::optional<ContentResult>> m_results;  // guarded by m_mutex
    std::size_t m_nextToStart = 0;                        // guarded by m_mutex
    std::atomic<std::size_t> m_nextToTake{0};             // written under m_mutex; read by jobs for progress
    bool m_quit = false;                                  // guarded by m_mutex
    std::vector<std::jthread> m_threads;                  // last: started once everything above exists
};

}  // namespace pelko::search
