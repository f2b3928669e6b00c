#include "export/CTransHtmlThread.h"

#include <system_error>

#include "catalog/CCD.h"

namespace pelko::exporting {

CTransHtmlThread::CTransHtmlThread(std::filesystem::path catalogFolder, catalog::MessageLog& log,
                                   ExportOptions options, ExportTarget target, ExportSink& sink)
    : m_catalogFolder(std::move(catalogFolder)),
      m_log(log),
      m_discs(m_catalogFolder, log),
      m_options(std::move(options)),
      m_target(target),
      m_sink(sink) {}

CTransHtmlThread::~CTransHtmlThread() {
    Stop();
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
        m_thread.detach();  // destroyed from its own finished call, which touches nothing after
        return;
    }
    Wait();
}

bool CTransHtmlThread::Start() {
    if (m_thread.joinable()) return false;
    m_running.store(true);
    m_active.store(true);
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        m_active.store(false);
        return false;
    }
    return true;
}

void CTransHtmlThread::Wait() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void CTransHtmlThread::Run() {
    Exporter exporter(
        m_catalogFolder, [this](const catalog::CDiskInfo& entry) { return m_discs.Open(entry); }, m_log,
        m_options, m_running, m_sink);
    const ExportEnd end = exporter.Export(m_target);
    m_end.store(end);
    // The finished call is the last use of this object: whoever receives it may destroy it.
    ExportSink& sink = m_sink;
    m_active.store(false);
    sink.ExportFinished(end);
}

}  // namespace pelko::exporting
