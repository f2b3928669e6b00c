#include "shell/DiscInsertions.h"

#include "catalog/CCD.h"
#include "shell/ScanRun.h"

namespace pelko::shell {

bool DiscInsertions::Poll(const std::vector<platform::MountedVolume>& mounts, Clock::time_point now) {
    for (const platform::PendingInsertions::Ready& ready : m_pending.Poll(mounts, now)) {
        m_run.ScanDrive(ready.mountPoint ? *ready.mountPoint : ready.device, true, catalog::CCD::kKindDisk);
    }
    return !m_pending.Empty();
}

}  // namespace pelko::shell
