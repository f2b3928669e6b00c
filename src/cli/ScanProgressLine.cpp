#include "cli/ScanProgressLine.h"

#include <cstdio>

#include "cli/LiveLine.h"
#include "cli/TerminalLog.h"
#include "cli/TerminalWidth.h"

namespace pelko::cli {

namespace {

std::string Bytes(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB"};
    if (bytes < 1024) return std::to_string(bytes) + " B";
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(kUnits)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string Counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

}  // namespace

std::string ScanProgressText(const ScanCounts& counts, std::string_view pathUtf8, int columns) {
    const std::string status = Counted(counts.folders, "folder", "folders") + ", " +
                               Counted(counts.files, "file", "files") + ", " + Bytes(counts.bytes);
    const std::string separator = "  ";
    const int pathRoom = columns - DisplayColumns(status) - static_cast<int>(separator.size());
    // A path cut to a few dots tells nothing: below that, the counts alone.
    if (pathUtf8.empty() || pathRoom < 8) return ShortenMiddle(status, columns);
    return status + separator + ShortenMiddle(pathUtf8, pathRoom);
}

void ScanProgressLine::ShowFolderPath(std::string_view path) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_counts.folders;
        m_path.assign(path);
        ++m_changes;
    }
    m_inner.ShowFolderPath(path);
}

void ScanProgressLine::FileRecorded(std::uint64_t size) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_counts.files;
        m_counts.bytes += size;
        ++m_changes;
    }
    m_inner.FileRecorded(size);
}

void ScanProgressLine::Tick(std::chrono::steady_clock::time_point now) {
    if (m_finished) return;
    if (m_drawnOnce && now - m_lastDrawn < kRedrawInterval) return;
    ScanCounts counts;
    std::string path;
    {
        const std::lock_guard lock(m_mutex);
        // Unchanged counts are drawn again only when a message line has erased them.
        if (m_drawnOnce && m_changes == m_drawnChanges && m_line.IsShown()) return;
        counts = m_counts;
        path = m_path;
        m_drawnChanges = m_changes;
    }
    // The last column stays free: a line that fills it makes some terminals wrap.
    m_line.Show(ScanProgressText(counts, TerminalText(path), m_line.Columns() - 1));
    m_lastDrawn = now;
    m_drawnOnce = true;
}

void ScanProgressLine::Finish() {
    m_finished = true;
    m_line.Clear();
}

}  // namespace pelko::cli
