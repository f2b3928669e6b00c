#pragma once
// The live progress of a scan on a terminal: folders and files read so far, their bytes and the
// folder being read, on one LiveLine fitted to the terminal's width. The walk reports on its
// worker thread and only notes the counts (under a lock, no terminal write); the command's own
// thread draws them with Tick, at most ten times a second, and Finish erases the line for good
// before the scan's closing messages.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "scan/CScanProgress.h"

namespace pelko::cli {

class LiveLine;

struct ScanCounts {
    std::uint64_t folders = 0;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

// The status text within `columns` (the path, UTF-8, shortened in the middle to what the
// counts leave), e.g. "12 folders, 340 files, 1.5 MiB  /media/cd/photos".
std::string ScanProgressText(const ScanCounts& counts, std::string_view pathUtf8, int columns);

// Passes every call on to `inner` (which decides about cancelling) and notes the counts.
class ScanProgressLine final : public scan::CScanProgress {
public:
    static constexpr std::chrono::milliseconds kRedrawInterval{100};

    ScanProgressLine(scan::CScanProgress& inner, LiveLine& line) : m_inner(inner), m_line(line) {}

    // Worker thread.
    bool IsCancelled() override { return m_inner.IsCancelled(); }
    bool MediumGone() const override { return m_inner.MediumGone(); }
    void ShowFolderPath(std::string_view path) override;
    void FileRecorded(std::uint64_t size) override;
    scan::PictureAreaSize PictureArea() override { return m_inner.PictureArea(); }
    void ShowPicture(std::string_view picturePath, const std::filesystem::path& thumbnailPath) override {
        m_inner.ShowPicture(picturePath, thumbnailPath);
    }

    // The command's thread. Draws the counts when something changed and the last drawing is at
    // least kRedrawInterval old; nothing after Finish.
    void Tick(std::chrono::steady_clock::time_point now);
    // The command's thread. Erases the line; later ticks draw nothing.
    void Finish();

private:
    scan::CScanProgress& m_inner;
    LiveLine& m_line;
    std::mutex m_mutex;  // guards the counts and the path, written by the worker
    ScanCounts m_counts;
    std::string m_path;  // model bytes
    std::uint64_t m_changes = 0;
    // The command's thread only.
    std::uint64_t m_drawnChanges = 0;
    std::chrono::steady_clock::time_point m_lastDrawn{};
    bool m_drawnOnce = false;
    bool m_finished = false;
};

}  // namespace pelko::cli
