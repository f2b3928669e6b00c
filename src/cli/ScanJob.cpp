#include "cli/ScanJob.h"

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "settings/SettingsTable.h"
#include "cli/CatalogSession.h"
#include "cli/Command.h"
#include "cli/Interrupt.h"
#include "cli/LiveLine.h"
#include "cli/PostedTasks.h"
#include "cli/ScanFiling.h"
#include "cli/ScanProgressLine.h"
#include "platform/DrivePort.h"
#include "platform/Volume.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "shell/BusyState.h"
#include "shell/DriveDoors.h"
#include "shell/ScanController.h"

namespace pelko::cli {

namespace {

// The live progress line of a scan on the terminal of standard error; the log writes its lines
// through it while it exists, so they never land inside the status.
class LiveScanLine {
public:
    LiveScanLine(const CliContext& context, TerminalLog& log, scan::CScanProgress& inner)
        : m_log(log), m_line(context.err, context.errTerminalFd), m_progress(inner, m_line) {
        m_log.SetLiveLine(&m_line);
    }
    ~LiveScanLine() {
        m_progress.Finish();
        m_log.SetLiveLine(nullptr);
    }
    LiveScanLine(const LiveScanLine&) = delete;
    LiveScanLine& operator=(const LiveScanLine&) = delete;

    LiveLine& Line() { return m_line; }
    ScanProgressLine& Progress() { return m_progress; }

private:
    TerminalLog& m_log;
    LiveLine m_line;
    ScanProgressLine m_progress;
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

    // On a terminal, a live line of what has been read; otherwise the terminal's sink alone.
    InterruptProgress interruptible;
    std::optional<LiveScanLine> live;
    if (context.errTerminalFd >= 0) live.emplace(context, session.Log(), interruptible);
    scan::CScanProgress& progress = live ? static_cast<scan::CScanProgress&>(live->Progress()) : interruptible;

    bool incomplete = false;
    request.walkEnded = [&](scan::WalkResult walked) {
        if (live) live->Progress().Finish();  // before the closing messages, never between them
        incomplete = ReportHowTheWalkEnded(walked, job.mediumGone, context.err);
    };

    // Ctrl+C stays caught until the catalog is saved, so it cannot cut filing short.
    std::optional<shell::ScanOutcome> outcome;
    {
        shell::BusyState busy;
        PostedTasks tasks;
        // A task of the run (the walk's end, a question) may write to the terminal: the live
        // line makes room first, and the next tick draws it again if the walk goes on.
        const auto post = [&tasks, &live](std::function<void()> task) {
            tasks.Post([&live, task = std::move(task)] {
                if (live) live->Line().Clear();
                task();
            });
        };
        shell::ScanController controller(busy, {session.Doc(), session.Discs(), session.Log(), session.Ui()},
                                         post, device.empty() ? nullptr : &drives);
        if (!controller.Start(std::move(request), progress,
                              [&outcome](const shell::ScanOutcome& ended) { outcome = ended; }))
            return kExitFailure;
        tasks.RunUntil([&outcome] { return outcome.has_value(); },
                       [&live] {
                           if (live) live->Progress().Tick(std::chrono::steady_clock::now());
                       });
    }
    if (live) live->Progress().Finish();

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
