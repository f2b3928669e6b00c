#include "shell/ScanGuards.h"

namespace pelko::shell {

TrayLock::TrayLock(platform::DrivePort& port, std::string device)
    : m_port(port), m_device(std::move(device)) {
    m_locked = !m_device.empty() && m_port.LockTray(m_device, true);
}

TrayLock::~TrayLock() {
    if (m_locked) m_port.LockTray(m_device, false);
}

}  // namespace pelko::shell
