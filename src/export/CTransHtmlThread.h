#pragma once
// The export worker: runs one export (a category with its sub-categories, or one scan object) on
// its own thread, loading one disc file at a time, and tells its sink when it has ended.
//
// The running flag is atomic: the export window clears it from its own thread (Stop) and the
// worker polls it. The object waits for its thread when destroyed, stopping it first, so a
// worker never outlives the catalog it reads.

#include <atomic>
#include <filesystem>
#include <thread>

#include "catalog/DiscStore.h"
#include "export/ExportOptions.h"
#include "export/ExportSink.h"
#include "export/Exporter.h"

namespace pelko::catalog {
class CCategory;
class CDiskInfo;
class MessageLog;
}  // namespace pelko::catalog

namespace pelko::exporting {

class CTransHtmlThread {
public:
    CTransHtmlThread(std::filesystem::path catalogFolder, catalog::MessageLog& log, ExportOptions options,
                     ExportTarget target, ExportSink& sink);
    ~CTransHtmlThread();
    CTransHtmlThread(const CTransHtmlThread&) = delete;
    CTransHtmlThread& operator=(const CTransHtmlThread&) = delete;

    // Starts the thread. False when it cannot be created (nothing runs then).
    bool Start();
    // Asks the export to stop at its next check.
    void Stop() { m_running.store(false); }
    // Waits until the thread has ended (returns at once when it never started).
    void Wait();
    // True from Start until the export is done (just before the sink hears that it has finished).
    bool IsRunning() const { return m_active.load(); }
    // How the export ended (valid once IsRunning is false after a Start).
    ExportEnd End() const { return m_end.load(); }

private:
    void Run();

    std::filesystem::path m_catalogFolder;
    catalog::MessageLog& m_log;
    catalog::DiscStore m_discs;
    ExportOptions m_options;
    ExportTarget m_target;
    ExportSink& m_sink;
    std::atomic<bool> m_running{true};
    std::atomic<bool> m_active{false};
    std::atomic<ExportEnd> m_end{ExportEnd::Finished};
    std::thread m_thread;
};

}  // namespace pelko::exporting
