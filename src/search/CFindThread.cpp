#include "search/CFindThread.h"

#include <system_error>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/MessageLog.h"
#include "search/CategoryWalk.h"
#include "search/FindContext.h"
#include "search/HitSink.h"
#include "search/ScanObjectSearch.h"
#include "text/Codec.h"

namespace pelko::search {

namespace {

// Writes each hit as a result line and counts it.
class CountingHits final : public HitSink {
public:
    CountingHits(catalog::MessageLog& log, std::atomic<int>& count) : m_log(log), m_count(count) {}
    void Hit(std::string line) override {
        m_count.fetch_add(1);
        m_log.Post(catalog::MessageKind::Result, line);
    }

private:
    catalog::MessageLog& m_log;
    std::atomic<int>& m_count;
};

}  // namespace

CFindThread::CFindThread(FindCriteria criteria, FindObject object, std::filesystem::path catalogFolder,
                         catalog::MessageLog& log, FindProgress* progress, std::function<void()> onFinished,
                         PrefetchOptions prefetch)
    : m_criteria(std::move(criteria)),
      m_object(std::move(object)),
      m_catalogFolder(std::move(catalogFolder)),
      m_log(log),
      m_progress(progress),
      m_onFinished(std::move(onFinished)),
      m_prefetch(prefetch) {}

CFindThread::~CFindThread() {
    Stop();
    Join();
}

bool CFindThread::Start() {
    try {
        m_thread = std::thread([this] {
            try {
                Run();
            } catch (const std::bad_alloc&) {
                Stop();
                m_log.Post(catalog::MessageKind::Error, text::Local("内存不足"));
            }
            if (m_onFinished) m_onFinished();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CFindThread::Join() {
    if (m_thread.joinable()) m_thread.join();
}

bool CFindThread::Run() {
    const FindContext context(m_criteria, m_running, m_progress);
    CountingHits hits(m_log, m_hits);
    if (m_object.category) {
        CategoryWalk walk(context, m_catalogFolder, hits, m_log, m_prefetch);
        return walk.Run(*m_object.category);
    }
    if (m_object.contents)
        return SearchScanObject(*m_object.contents, m_object.scanObjectPath, context, hits, m_progress);
    return true;
}

}  // namespace pelko::search
