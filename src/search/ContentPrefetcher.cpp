#include "search/ContentPrefetcher.h"

#include <algorithm>

#include "catalog/CCD.h"
#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "search/FindContext.h"
#include "search/HitSink.h"
#include "search/IndexSearch.h"
#include "search/ScanObjectSearch.h"

namespace pelko::search {

namespace {

// Collects the loader's messages and the hits of one job in the order they come.
class BufferingOutput final : public catalog::MessageLog, public HitSink {
public:
    explicit BufferingOutput(std::vector<BufferedLine>& lines) : m_lines(lines) {}
    void Post(catalog::MessageKind kind, std::string_view text) override {
        m_lines.push_back({false, kind, std::string(text)});
    }
    void Hit(std::string line) override {
        m_lines.push_back({true, catalog::MessageKind::Result, std::move(line)});
    }

private:
    std::vector<BufferedLine>& m_lines;
};

// Progress of a job reaches the wait dialog only while the walk is waiting for that job, so
// the dialog follows the scan object whose hits come next instead of flickering between them.
class HeadProgress final : public FindProgress {
public:
    HeadProgress(FindProgress& target, const std::atomic<std::size_t>& head, std::size_t index)
        : m_target(target), m_head(head), m_index(index) {}
    void ShowFolderPath(std::string_view path) override {
        if (IsHead()) m_target.ShowFolderPath(path);
    }
    void ShowProgress(int percent) override {
        if (IsHead()) m_target.ShowProgress(percent);
    }

private:
    // Acquire: the walk moves the head on only after taking the previous job's result, so the
    // previous head's calls to the dialog happen before this job's first one.
    bool IsHead() const { return m_head.load(std::memory_order_acquire) == m_index; }

    FindProgress& m_target;
    const std::atomic<std::size_t>& m_head;
    std::size_t m_index;
};

}  // namespace

ContentPrefetcher::ContentPrefetcher(std::vector<ContentJob> jobs, const FindContext& context,
                                     std::filesystem::path catalogFolder, PrefetchOptions options)
    : m_jobs(std::move(jobs)),
      m_context(context),
      m_catalogFolder(std::move(catalogFolder)),
      m_window(std::max<std::size_t>(options.window, 1)),
      m_useIndex(options.useIndex),
      m_results(m_jobs.size()) {
    unsigned threads =
        options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>({threads, m_window, m_jobs.size()}));
    for (unsigned i = 0; i < threads; ++i) m_threads.emplace_back([this] { RunThread(); });
}

ContentPrefetcher::~ContentPrefetcher() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_roomAhead.notify_all();
    m_threads.clear();  // joins
}

ContentResult ContentPrefetcher::TakeNext() {
    std::unique_lock lock(m_mutex);
    const std::size_t index = m_nextToTake.load();
    m_resultReady.wait(lock, [&] { return m_results[index].has_value(); });
    ContentResult result = std::move(*m_results[index]);
    m_results[index].reset();
    m_nextToTake.store(index + 1);
    lock.unlock();
    m_roomAhead.notify_all();
    return result;
}

void ContentPrefetcher::RunThread() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_roomAhead.wait(lock, [&] {
            return m_quit || m_nextToStart == m_jobs.size() || m_nextToStart < m_nextToTake.load() + m_window;
        });
        if (m_quit || m_nextToStart == m_jobs.size()) return;
        const std::size_t index = m_nextToStart++;
        lock.unlock();
        ContentResult result = RunJob(index);
        lock.lock();
        m_results[index] = std::move(result);
        m_resultReady.notify_all();
    }
}

ContentResult ContentPrefetcher::RunJob(std::size_t index) {
    ContentResult result;
    if (!m_context.IsRunning()) {
        result.stopped = true;
        return result;
    }
    const ContentJob& job = m_jobs[index];
    BufferingOutput output(result.lines);
    catalog::DiscStore store(m_catalogFolder, output);
    const catalog::CDiskInfo& entry = *job.entry;
    std::optional<catalog::DiscFileStamp> stamp;
    std::optional<HeadProgress> progress;
    if (m_context.progress) progress.emplace(*m_context.progress, m_nextToTake, index);
    if (m_useIndex) {
        // Stated once: the same stamp checks the index and, when it fails, labels the new one.
        stamp = store.CurrentStamp(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        if (stamp) {
            if (const std::optional<catalog::DiscIndex> found = store.OpenIndex(entry, *stamp)) {
                result.stopped = !SearchIndexedScanObject(*found, job.scanObjectPath, m_context, output,
                                                          progress ? &*progress : nullptr);
                return result;
            }
        }
    }
    std::unique_ptr<catalog::CCD> contents;
    try {
        contents = store.Open(entry);
    } catch (const std::bad_alloc&) {
        // Out of memory while loading: the scan object is skipped like one that cannot be read.
        return result;
    }
    if (!contents) return result;  // the loader has said why
    // The index was missing, stale or damaged: build it from what was just read, unless the
    // disc file changed meanwhile or reading it needed a word to the user.
    if (stamp && result.lines.empty() &&
        store.CurrentStamp(entry.m_strVolumeLabel, entry.m_dwVolumeSerial) == stamp) {
        store.WriteIndex(*contents, *stamp);
    }
    result.stopped =
        !SearchScanObject(*contents, job.scanObjectPath, m_context, output, progress ? &*progress : nullptr);
    return result;
}

}  // namespace pelko::search
