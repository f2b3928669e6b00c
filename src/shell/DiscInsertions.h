#pragma once
// Discs inserted into optical drives, scanned once they can be read: from the mount point the
// desktop's automounter gives them, or from the device when none comes in time. Each ready disc
// goes to the scan run as an insertion, which asks the new-disc question by the settings.

#include <vector>

#include "platform/MediaWatcher.h"

namespace pelko::shell {

class ScanRun;

class DiscInsertions {
public:
    using Clock = platform::PendingInsertions::Clock;

    explicit DiscInsertions(ScanRun& run, std::chrono::seconds mountWait = std::chrono::seconds(10))
        : m_run(run), m_pending(mountWait) {}

    // A media event from the watcher: an insertion is followed until it can be read.
    void Note(const platform::MediaEvent& event, Clock::time_point now) { m_pending.Note(event, now); }
    // Starts the scans of the discs ready now. True while others still wait, so the caller polls
    // again a little later.
    bool Poll(const std::vector<platform::MountedVolume>& mounts, Clock::time_point now);

private:
    ScanRun& m_run;
    platform::PendingInsertions m_pending;
};

}  // namespace pelko::shell
