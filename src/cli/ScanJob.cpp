#include "cli/ScanJob.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "settings/SettingsTable.h"
#include "cli/CatalogSession.h"
#include "cli/Command.h"
#include "cli/Interrupt.h"
#include "cli/ScanFiling.h"
#include "platform/DrivePort.h"
#include "platform/Volume.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "shell/BusyState.h"
#include "shell/DriveDoors.h"
#include "shell/ScanController.h"

namespace pelko::cli {

namespace {

// The command's thread standing in for a user-interface thread: the scan's worker posts the end
// of its walk here, and the command runs it, so filing happens on the thread that owns the
// catalog.
class PostedTasks {
public:
    void Post(std::function<void()> task) {
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_ready.notify_one();
    }

    // Waits as long as the walk takes: a disc may take hours, and Ctrl+C ends it through the sink.
    void RunNext() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_tasks.empty(); });
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace

int RunScanJob(CliContext& context, CatalogSession& session, ScanJob job) {
    const std::string device = job.medium.device;
    platform::SystemDrivePort drives;

    shell::ScanRequest request;
    request.volume = std::move(job.medium.volume);
    request.cd = std::move(job.cd);
    request.rescanOf = job.rescanOf;
    request.device = device;
    request.settings = scan::ScanSettings::Load(context.settings);
    request.extras = scan::StandardExtras::FromSettings(context.settings);
    if (job.category) {
        shell::NewObjectPlace place{shell::CategoryPath::Of(*job.category), job.name, job.memo};
        request.placeNewObject = [place](const catalog::CCD&) { return std::optional(place); };
    }

    bool incomplete = false;
    request.walkEnded = [&](scan::WalkResult walked) {
        incomplete = ReportHowTheWalkEnded(walked, job.mediumGone, context.err);
    };

    // Ctrl+C stays caught until the catalog is saved, so it cannot cut filing short.
    InterruptProgress progress;
    std::optional<shell::ScanOutcome> outcome;
    {
        shell::BusyState busy;
        PostedTasks tasks;
        shell::ScanController controller(
            busy, {session.Doc(), session.Discs(), session.Log(), session.Ui()},
            [&tasks](std::function<void()> task) { tasks.Post(std::move(task)); },
            device.empty() ? nullptr : &drives);
        if (!controller.Start(std::move(request), progress,
                              [&outcome](const shell::ScanOutcome& ended) { outcome = ended; }))
            return kExitFailure;
        while (!outcome) tasks.RunNext();
    }

    if (outcome->end == shell::ScanEnd::NothingRead) {
        // Nothing was read: filing would have recorded the medium as empty.
        context.err << "pelko-cli: " << job.nothingRead << '\n';
        return kExitFailure;
    }
    if (outcome->end != shell::ScanEnd::Filed) return kExitFailure;
    if (!session.SaveIfModified()) return kExitFailure;
    if (!device.empty() && settings::ReadSettingInt(context.settings, "EjectCDAfterScanning") != 0) {
        shell::DriveDoors doors(drives);
        doors.OpenDrive(device);
    }
    context.out << outcome->zip.native() << '\n';
    return incomplete ? kExitIncomplete : kExitOk;
}

}  // namespace pelko::cli
