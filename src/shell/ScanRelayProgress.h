#pragma once
// The progress the walk of a scan run reports to: every call is passed on, unchanged and in
// order, to the caller's sink (the scanning window, the terminal), and the walk is told to stop
// when the run is cancelled, when the sink says so, or when the medium has left its drive.
// Lives on the worker thread; only the cancel flag is shared.

#include <atomic>
#include <chrono>
#include <functional>

#include "scan/CScanProgress.h"

namespace pelko::shell {

class ScanRelayProgress final : public scan::CScanProgress {
public:
    // `mediumPresent` may be empty (a folder or an image: nothing to leave); otherwise it is asked
    // at most once per `interval`, since asking a drive costs an ioctl.
    ScanRelayProgress(scan::CScanProgress& sink, const std::atomic<bool>& cancelled,
                      std::function<bool()> mediumPresent,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(500));

    bool IsCancelled() override;
    bool MediumGone() const override { return m_gone; }
    void ShowFolderPath(std::string_view path) override { m_sink.ShowFolderPath(path); }
    void FileRecorded(std::uint64_t size) override { m_sink.FileRecorded(size); }
    scan::PictureAreaSize PictureArea() override { return m_sink.PictureArea(); }
    void ShowPicture(std::string_view picturePath, const std::filesystem::path& thumbnailPath) override {
        m_sink.ShowPicture(picturePath, thumbnailPath);
    }

private:
    scan::CScanProgress& m_sink;
    const std::atomic<bool>& m_cancelled;
    std::function<bool()> m_mediumPresent;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_lastAsked{};
    bool m_asked = false;
    bool m_gone = false;
};

}  // namespace pelko::shell
