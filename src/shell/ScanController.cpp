#include "shell/ScanController.h"

#include <array>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "platform/DrivePort.h"
#include "platform/Volume.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanExtras.h"
#include "shell/BusyScope.h"
#include "shell/BusyState.h"
#include "shell/ScanGuards.h"
#include "shell/ScanRelayProgress.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace {

// The busy guard's texts by the kind of the scan that is running: disc, partition, folder.
constexpr std::array<std::string_view, 3> kScanRunning = {"正在读取一个光驱中的光盘的信息，不能扫描新的光盘",
                                                          "正在读取一个硬盘分区中的信息，不能扫描新的光盘",
                                                          "正在读取一个文件夹中的信息，不能扫描新的光盘"};
constexpr std::string_view kSearchRunning = "正在查找，不能扫描新的光盘";

constexpr std::string_view kEntryGone = "[ %s ] 在扫描期间已从光盘库中删除，这次扫描的结果没有保存";
constexpr std::string_view kCategoryGone =
    "类别 [ %s ] 在扫描期间已被删除或移动，这次扫描的结果没有加入光盘库";

}  // namespace

// One scan from Start to its end. Members are destroyed in reverse order: the worker is joined
// (in the destructor) before the disc, the medium and the sink's relay go; the tray is unlocked
// and the busy state given back last.
struct ScanController::Run {
    explicit Run(BusyState& busy) : busyScope(busy, Busy::Scanning) {}
    ~Run() {
        if (worker.joinable()) worker.join();
    }

    BusyScope busyScope;
    std::optional<TrayLock> trayLock;
    ScanRequest request;
    std::optional<ScanObjectKey> rescanKey;
    std::string rescanName;
    std::atomic<bool> cancelled{false};
    std::unique_ptr<ScanRelayProgress> progress;
    Finished finished;
    // Written by the worker, read after the join.
    scan::WalkResult walked = scan::WalkResult::RootUnreadable;
    bool walkFailed = false;
    std::thread worker;
};

ScanController::ScanController(BusyState& busy, FilingServices filing, Post post, platform::DrivePort* drives)
    : m_busy(busy),
      m_filing(filing),
      m_post(std::move(post)),
      m_drives(drives),
      m_self(std::make_shared<ScanController*>(this)) {}

ScanController::~ScanController() {
    m_self.reset();
    if (m_run) m_run->cancelled.store(true, std::memory_order_release);
    m_run.reset();
}

bool ScanController::RefusesNewScan() {
    switch (m_busy.Get()) {
        case Busy::Idle:
            return false;
        case Busy::Scanning:
            m_filing.log.Post(
                catalog::MessageKind::Error,
                text::Local(kScanRunning[m_runningKind < kScanRunning.size() ? m_runningKind : 2]));
            return true;
        case Busy::Searching:
            m_filing.log.Post(catalog::MessageKind::Error, text::Local(kSearchRunning));
            return true;
    }
    return true;
}

bool ScanController::Start(ScanRequest request, scan::CScanProgress& sink, Finished finished) {
    if (RefusesNewScan()) return false;
    if (!request.volume || !request.cd) return false;
    const std::uint8_t kind = request.cd->m_nKind;
    auto run = std::make_unique<Run>(m_busy);
    if (!run->busyScope.Held()) {  // taken by another thread between the guard and here
        RefusesNewScan();
        return false;
    }
    if (m_drives && !request.device.empty()) run->trayLock.emplace(*m_drives, request.device);
    if (request.rescanOf) {
        run->rescanKey = ScanObjectKey::Of(*request.rescanOf);
        run->rescanName = request.rescanOf->m_strName;
        request.rescanOf = nullptr;
    }
    std::function<bool()> mediumPresent;
    if (m_drives && !request.device.empty()) {
        mediumPresent = [drives = m_drives, device = request.device] { return drives->HasMedium(device); };
    }
    run->progress = std::make_unique<ScanRelayProgress>(sink, run->cancelled, std::move(mediumPresent));
    run->request = std::move(request);
    run->finished = std::move(finished);

    Run* r = run.get();
    const std::filesystem::path diskFolder = m_filing.discs.DiskFolder();
    catalog::MessageLog* log = &m_filing.log;
    std::weak_ptr<ScanController*> self = m_self;
    Post post = m_post;
    try {
        r->worker = std::thread([r, diskFolder, log, self, post] {
            try {
                scan::DirectoryWalker walker(*r->request.volume, r->request.settings, diskFolder,
                                             r->request.extras.get(), log);
                r->walked = walker.Scan(*r->request.cd, r->progress.get());
            } catch (const std::exception&) {
                // Nothing the walk read can be trusted to be whole; the end says nothing was read.
                r->walkFailed = true;
            }
            post([self] {
                if (const auto controller = self.lock()) (*controller)->OnWalkEnded();
            });
        });
    } catch (const std::system_error&) {
        m_filing.log.Post(catalog::MessageKind::Error, ScanFailedText(kind));
        return false;  // `run` gives back the busy state and unlocks the tray
    }
    m_runningKind = kind;
    m_run = std::move(run);
    return true;
}

void ScanController::Cancel() {
    if (m_run) m_run->cancelled.store(true, std::memory_order_release);
}

void ScanController::OnWalkEnded() {
    if (!m_run) return;
    std::unique_ptr<Run> run = std::move(m_run);
    run->worker.join();
    run->request.volume.reset();  // lets go of the device before a door may be opened
    const ScanOutcome outcome = Conclude(*run);
    Finished finished = std::move(run->finished);
    run.reset();  // tray unlocked, busy state idle
    if (finished) finished(outcome);
}

ScanOutcome ScanController::Conclude(Run& run) {
    std::unique_ptr<catalog::CCD>& cd = run.request.cd;
    ScanOutcome outcome;
    outcome.walked = run.walked;
    outcome.kind = cd->m_nKind;
    if (run.walkFailed || run.walked == scan::WalkResult::RootUnreadable) {
        outcome.end = ScanEnd::NothingRead;
        return outcome;
    }
    if (run.request.walkEnded) run.request.walkEnded(run.walked);

    catalog::CRootCategory& root = *m_filing.doc.Root();
    FilingTarget target;
    target.existing = ScanObjectKey::Of(*cd).FindIn(root);
    if (run.rescanKey && !target.existing) {
        // Writing the stored tree back would bring back the files of an entry the user deleted.
        m_filing.log.Post(catalog::MessageKind::Error, text::LocalWith(kEntryGone, run.rescanName));
        outcome.end = ScanEnd::EntryGone;
        return outcome;
    }
    if (!target.existing) {
        const std::optional<NewObjectPlace> place =
            run.request.placeNewObject ? run.request.placeNewObject(*cd) : std::nullopt;
        if (!place) {
            DiscardUnfiledScan(m_filing, cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
            outcome.end = ScanEnd::Declined;
            return outcome;
        }
        target.category = place->category.Resolve(root);
        if (!target.category) {
            m_filing.log.Post(catalog::MessageKind::Error,
                              text::LocalWith(kCategoryGone, place->category.Text()));
            outcome.end = ScanEnd::CategoryGone;
            return outcome;
        }
        target.name = place->name;
        target.memo = place->memo;
        target.announceNewEntry = run.request.announceNewEntry;
    } else if (run.request.beforeRescanFiled) {
        run.request.beforeRescanFiled(*target.existing);
        // The hook may have saved and closed views; the entry is looked up again to be sure.
        target.existing = ScanObjectKey::Of(*cd).FindIn(root);
        if (!target.existing) {
            m_filing.log.Post(catalog::MessageKind::Error, text::LocalWith(kEntryGone, run.rescanName));
            outcome.end = ScanEnd::EntryGone;
            return outcome;
        }
    }
    outcome.rescanned = target.existing != nullptr;
    const std::optional<FiledScan> filed = FileScan(m_filing, std::move(cd), target);
    if (!filed) {
        outcome.end = ScanEnd::NotFiled;
        return outcome;
    }
    outcome.end = ScanEnd::Filed;
    outcome.entry = filed->entry;
    outcome.zip = filed->zip;
    return outcome;
}

}  // namespace pelko::shell
