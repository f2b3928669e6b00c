#include "shell/ScanRelayProgress.h"

namespace pelko::shell {

ScanRelayProgress::ScanRelayProgress(scan::CScanProgress& sink, const std::atomic<bool>& cancelled,
                                     std::function<bool()> mediumPresent, std::chrono::milliseconds interval)
    : m_sink(sink), m_cancelled(cancelled), m_mediumPresent(std::move(mediumPresent)), m_interval(interval) {}

bool ScanRelayProgress::IsCancelled() {
    if (m_gone) return true;
    if (m_cancelled.load(std::memory_order_acquire) || m_sink.IsCancelled()) return true;
    if (!m_mediumPresent) return false;
    const auto now = std::chrono::steady_clock::now();
    if (!m_asked || now - m_lastAsked >= m_interval) {
        m_asked = true;
        m_lastAsked = now;
        m_gone = !m_mediumPresent();
    }
    return m_gone;
}

}  // namespace pelko::shell
