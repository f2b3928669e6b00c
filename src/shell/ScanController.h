#pragma once
// The scan use case of the main window and of pelko-cli: one scan at a time, guarded by the busy
// state; the walk on a worker thread; every progress call passed to the caller's sink; the
// result handed back to the caller's thread, where the scan object is looked up again and the
// result is filed.
//
// Start, Cancel and the destructor are called on the caller's thread (the user-interface thread
// in the desktop program), and so is every Finished callback. The worker owns the disc it builds
// until it posts its end; it never touches the catalog. The destination is kept by identity
// (ScanIdentity.h), never by pointer, because the user may delete or move it meanwhile.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scan/ScanSettings.h"
#include "scan/WalkResult.h"
#include "shell/ScanFiling.h"
#include "shell/ScanIdentity.h"

namespace pelko::catalog {
class CCD;
class CDiskInfo;
}  // namespace pelko::catalog
namespace pelko::platform {
class DrivePort;
class Volume;
}  // namespace pelko::platform
namespace pelko::scan {
class CScanProgress;
class ScanExtras;
}  // namespace pelko::scan

namespace pelko::shell {

class BusyState;

// Where a new scan object is filed: a category, its name and memo (model bytes).
struct NewObjectPlace {
    CategoryPath category;
    std::string name;
    std::string memo;
};

struct ScanRequest {
    // The medium, read on the worker only.
    std::unique_ptr<platform::Volume> volume;
    // What the walk adds to, with its kind, label, serial, folder path and root name set: a new
    // disc, or for a re-scan the stored tree of `rescanOf`.
    std::unique_ptr<catalog::CCD> cd;
    // The entry scanned again; read by Start only (its identity and name are kept, not the pointer).
    const catalog::CDiskInfo* rescanOf = nullptr;
    // The optical drive holding the medium: its tray stays locked for the run, and a disc taken out
    // ends the walk. Empty for folders and image files.
    std::string device;
    scan::ScanSettings settings;
    std::unique_ptr<scan::ScanExtras> extras;  // may be null
    // Asked on the caller's thread when the walk has ended and the catalog holds no entry for the
    // medium: where to file it (the desktop shows the new-object dialog then, pelko-cli answers
    // with its options). Nothing (or no function) drops the result without writing a disc file.
    std::function<std::optional<NewObjectPlace>(const catalog::CCD&)> placeNewObject;
    // Called on the caller's thread once a walk that read something has ended, before anything is
    // filed, so a front end can say how it ended ahead of the filing messages.
    std::function<void(scan::WalkResult)> walkEnded;
    // Called on the caller's thread just before the entry scanned again gets its new disc file,
    // so a view holding the old tree open can let go of it first.
    std::function<void(const catalog::CDiskInfo&)> beforeRescanFiled;
    // Whether filing a new entry says so in a message box (otherwise it goes to the message log).
    bool announceNewEntry = true;
};

enum class ScanEnd {
    Filed,         // a new entry was added, or the entry scanned again was updated
    NothingRead,   // the root could not be entered (or the walk failed): nothing filed
    Declined,      // the user chose not to file the new scan object; its disc file is removed
    NotFiled,      // filing reported why it could not be done
    EntryGone,     // the entry being scanned again was deleted meanwhile; the user was told
    CategoryGone,  // the chosen category no longer exists where it was; the user was told
};

struct ScanOutcome {
    ScanEnd end = ScanEnd::NothingRead;
    scan::WalkResult walked = scan::WalkResult::Finished;  // Cancelled / MediumGone: a partial result
    std::uint8_t kind = 0;
    bool rescanned = false;
    catalog::CDiskInfo* entry = nullptr;  // the entry filed; valid during the Finished call
    std::filesystem::path zip;            // its disc file
};

class ScanController {
public:
    // Runs a task on the caller's thread later; called from the worker. It must not run the task
    // at once on the calling thread.
    using Post = std::function<void(std::function<void()>)>;
    using Finished = std::function<void(const ScanOutcome&)>;

    // `log` of `filing` also receives the walk's lines from the worker, so it must be safe to call
    // from another thread. `drives` may be null when no request names a device.
    ScanController(BusyState& busy, FilingServices filing, Post post, platform::DrivePort* drives = nullptr);
    // Cancels a running walk and waits for its worker; the result is dropped unfiled.
    ~ScanController();
    ScanController(const ScanController&) = delete;
    ScanController& operator=(const ScanController&) = delete;

    // The busy guard of a new scan: true, after writing the error for what is running (the kind of
    // the running scan, or the search), when no scan may start now.
    bool RefusesNewScan();

    // Starts the walk; `sink` receives every progress call on the worker and must outlive the run.
    // `finished` is called on the caller's thread once the result is filed and the busy state is
    // idle again. False when no scan was started (busy, an incomplete request, no thread).
    bool Start(ScanRequest request, scan::CScanProgress& sink, Finished finished);

    // The scanning window's Cancel: the walk stops at its next stop point, and what was read is
    // delivered and filed as usual.
    void Cancel();
    bool IsScanning() const { return m_run != nullptr; }

private:
    struct Run;
    void OnWalkEnded();
    ScanOutcome Conclude(Run& run);

    BusyState& m_busy;
    FilingServices m_filing;
    Post m_post;
    platform::DrivePort* m_drives;
    std::uint8_t m_runningKind = 0;  // names the running scan in the busy message
    std::unique_ptr<Run> m_run;
    // Posted end tasks hold a weak reference, so one that arrives after this controller is gone
    // does nothing.
    std::shared_ptr<ScanController*> m_self;
};

}  // namespace pelko::shell
