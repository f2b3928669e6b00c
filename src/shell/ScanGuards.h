#pragma once
// What keeps a disc in its drive while a scan reads it: the tray is locked for the length of the
// scan and unlocked on every way out, and a disc that leaves the drive anyway ends the walk the
// way the scanning window's Cancel does.

#include <chrono>
#include <functional>
#include <string>

#include "platform/DrivePort.h"
#include "scan/CScanProgress.h"

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

// Passes everything to the scan's own progress window and also reports a cancel once the medium
// is gone. The medium is asked at most once per `interval`.
class MediumWatchProgress final : public scan::CScanProgress {
public:
    MediumWatchProgress(scan::CScanProgress* inner, std::function<bool()> mediumPresent,
                        std::chrono::milliseconds interval = std::chrono::milliseconds(500));
    bool IsCancelled() override;
    void ShowFolderPath(std::string_view path) override;
    bool MediumGone() const override { return m_gone; }

private:
    scan::CScanProgress* m_inner;
    std::function<bool()> m_mediumPresent;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_lastAsked{};
    bool m_asked = false;
    bool m_gone = false;
};

}  // namespace pelko::shell
