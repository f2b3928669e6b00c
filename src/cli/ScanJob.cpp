#include "cli/ScanJob.h"

#include <functional>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "settings/SettingsTable.h"
#include "cli/CatalogSession.h"
#include "cli/Command.h"
#include "cli/Interrupt.h"
#include "cli/PostedTasks.h"
#include "cli/ScanFiling.h"
#include "platform/DrivePort.h"
#include "platform/Volume.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "shell/BusyState.h"
#include "shell/DriveDoors.h"
#include "shell/ScanController.h"

namespace pelko::cli {

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
        tasks.RunUntil([&outcome] { return outcome.has_value(); });
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
