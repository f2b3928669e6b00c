#include "shell/ScanGuards.h"

namespace pelko::shell {

TrayLock::TrayLock(platform::DrivePort& port, std::string device)
    : m_port(port), m_device(std::move(device)) {
    m_locked = !m_device.empty() && m_port.LockTray(m_device, true);
}

TrayLock::~TrayLock() {
    if (m_locked) m_port.LockTray(m_device, false);
}

MediumWatchProgress::MediumWatchProgress(scan::CScanProgress* inner, std::function<bool()> mediumPresent,
                                         std::chrono::milliseconds interval)
    : m_inner(inner), m_mediumPresent(std::move(mediumPresent)), m_interval(interval) {}

bool MediumWatchProgress::IsCancelled() {
    if (m_inner && m_inner->IsCancelled()) return true;
    if (m_gone) return true;
    const auto now = std::chrono::steady_clock::now();
    if (!m_asked || now - m_lastAsked >= m_interval) {
        m_asked = true;
        m_lastAsked = now;
        m_gone = m_mediumPresent && !m_mediumPresent();
    }
    return m_gone;
}

void MediumWatchProgress::ShowFolderPath(std::string_view path) {
    if (m_inner) m_inner->ShowFolderPath(path);
}

}  // namespace pelko::shell
