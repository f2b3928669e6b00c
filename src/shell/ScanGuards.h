#pragma once
// What keeps a disc in its drive while a scan reads it: the tray is locked for the length of the
// scan and unlocked on every way out. A disc that leaves the drive anyway ends the walk through
// ScanRelayProgress.

#include <string>

#include "platform/DrivePort.h"

namespace pelko::shell {

class TrayLock {
public:
    TrayLock(platform::DrivePort& port, std::string device);
    ~TrayLock();
    TrayLock(const TrayLock&) = delete;
    TrayLock& operator=(const TrayLock&) = delete;
    bool Locked() const { return m_locked; }

private:
    platform::DrivePort& m_port;
    std::string m_device;
    bool m_locked = false;
};

}  // namespace pelko::shell
