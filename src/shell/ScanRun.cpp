#include "shell/ScanRun.h"

#include <ctime>
#include <string_view>
#include <utility>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "platform/Volume.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "shell/CatalogChanges.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace fs = std::filesystem;
using catalog::CCD;
using catalog::CDiskInfo;

namespace {

constexpr std::string_view kDiscKnown = "%s光驱中光盘[ %s ]已经存在，路径为 [ %s ]. 是否需要重新扫描？";
constexpr std::string_view kFolderKnown = "[ %s ] 内容已经扫描，路径为 [ %s ]. 是否需要重新扫描？";
constexpr std::string_view kDiscTakenOut = "光盘在扫描期间离开了光驱，只记录了已经读到的内容";

// The entry's place as the user sees it: its category's path, "\" and its name.
std::string CatalogPathOf(const CDiskInfo& entry) {
    std::string path = entry.m_pCategory ? entry.m_pCategory->Path() : std::string();
    if (!path.empty()) path += '\\';
    return path + entry.m_strName;
}

bool SettingOn(const settings::SettingsStore& store, std::string_view key) {
    return settings::ReadSettingInt(store, key) != 0;
}


}  // namespace

std::string SuggestedName(std::string_view label, std::string_view scanPath) {
    if (!label.empty()) return std::string(label);
    while (!scanPath.empty() && (scanPath.back() == '\\' || scanPath.back() == '/' || scanPath.back() == ':'))
        scanPath.remove_suffix(1);
    return std::string(scanPath);
}

ScanRun::ScanRun(ScanRunServices services)
    : m_services(services), m_controller(services.busy, services.filing, services.post, services.drives) {}

ScanRun::~ScanRun() = default;

bool ScanRun::ScanDrive(const fs::path& root, bool byInsertion, std::uint8_t kind) {
    if (m_controller.RefusesNewScan()) return false;
    OpenedMedium opened = m_services.port.OpenDrive(root, kind == CCD::kKindFixedDisk);
    // No disc, or nothing readable: the command simply does not start, as with an empty drive.
    if (!opened.medium || !opened.medium->info) return false;
    ScanMedium& medium = *opened.medium;
    const platform::VolumeInformation& info = *medium.info;

    catalog::CRootCategory& catalogRoot = *m_services.filing.doc.Root();
    CDiskInfo* existing = catalogRoot.FindEntryByLabel(info.label, info.serial);
    if (!existing && info.alternateSerial) existing = catalogRoot.FindEntryByLabel(info.label, *info.alternateSerial);
    const std::string rootText = catalog::ModelPath(root);
    if (existing && !m_services.filing.ui.AskYesNo(
                        text::LocalWith(kDiscKnown, {rootText, info.label, CatalogPathOf(*existing)}))) {
        return false;
    }
    m_scanPath = rootText;
    if (byInsertion && !SettingOn(m_services.settings, "ScanUnAskNewCDDlg")) {
        if (!SettingOn(m_services.settings, "PopAskNewCDDlg")) return false;
        if (!m_services.port.AskNewDisc(info.label)) return false;
    }

    ScanRequest request;
    if (!PrepareTree(request, existing, kind)) return false;
    CCD& cd = *request.cd;
    cd.m_nKind = kind;
    cd.m_strVolumeLabel = info.label;
    // A disc recognised by its serial in the other byte order keeps the serial it is filed under.
    cd.m_dwVolumeSerial = existing ? existing->m_dwVolumeSerial : info.serial;
    cd.m_dwMaxComponentLength = info.maxComponentLength;
    cd.m_dwFileSystemFlags = info.fileSystemFlags;
    cd.m_strFileSystem = info.fileSystem;
    cd.m_strName = catalog::ModelPath(medium.rootPath);
    request.volume = std::move(medium.volume);
    request.device = medium.device;
    if (!StartScan(std::move(request))) return false;
    m_ejectDrive = medium.device;
    return true;
}

void ScanRun::ScanFolder(const fs::path& requested) {
    // One folder always has one identity, however the path was typed.
    const fs::path folder = NormalisedPath(requested);
    if (const std::optional<platform::DriveType> drive = m_services.port.DriveMountedAt(folder)) {
        // The mount point of a drive scans the drive; a pseudo file system (tmpfs and the like) has
        // no volume to identify and is scanned as the folder it is.
        if (*drive == platform::DriveType::Optical) {
            ScanDrive(folder, false, CCD::kKindDisk);
            return;
        }
        if (*drive != platform::DriveType::Other) {
            ScanDrive(folder, false, CCD::kKindFixedDisk);
            return;
        }
    }
    if (m_controller.RefusesNewScan()) return;
    const std::string folderPath = catalog::ModelPath(folder);
    const std::string folderName =
        text::FromUtf8(folder.has_filename() ? folder.filename().native() : folder.native());
    CDiskInfo* existing = m_services.filing.doc.Root()->FindEntryByFolderPath(folderPath);
    if (existing && !m_services.filing.ui.AskYesNo(
                        text::LocalWith(kFolderKnown, {folderName, CatalogPathOf(*existing)}))) {
        return;
    }

    OpenedMedium opened = m_services.port.OpenFolder(folder);
    if (!opened.medium) {
        m_services.filing.log.Post(catalog::MessageKind::Error, ScanFailedText(CCD::kKindFixedDir));
        return;
    }
    ScanRequest request;
    if (!PrepareTree(request, existing, CCD::kKindFixedDir)) return;
    if (!existing) {
        request.cd->m_strVolumeLabel = folderName;
        request.cd->m_dwVolumeSerial = static_cast<std::uint32_t>(std::time(nullptr));
    }
    request.cd->m_nKind = CCD::kKindFixedDir;
    request.cd->m_strName = folderPath;
    // Set for a re-scan too: older disc files of folders may lack the path the run finds the entry
    // by again.
    request.cd->m_strFolderPath = folderPath;
    request.volume = std::move(opened.medium->volume);
    m_scanPath = folderPath;
    StartScan(std::move(request));
}

bool ScanRun::PrepareTree(ScanRequest& request, CDiskInfo* existing, std::uint8_t kind) {
    if (!existing) {
        request.cd = std::make_unique<CCD>();
        return true;
    }
    // A re-scan starts from the stored tree; without it the entry would be replaced by what this
    // walk alone reads, so nothing starts.
    request.cd = m_services.filing.discs.Open(*existing);
    if (!request.cd) {
        m_services.filing.log.Post(catalog::MessageKind::Error, ScanFailedText(kind));
        return false;
    }
    request.rescanOf = existing;
    return true;
}

void ScanRun::AutoScan() {
    m_services.port.ShowMainWindowOnce();
    for (const std::string& device : m_services.port.OpticalDrives()) {
        if (ScanDrive(device, false, CCD::kKindDisk)) return;
    }
}

bool ScanRun::StartScan(ScanRequest request) {
    m_services.port.ShowMainWindowOnce();
    scan::CScanProgress* window = m_services.port.OpenScanningWindow();
    if (!window) return false;
    request.settings = scan::ScanSettings::Load(m_services.settings);
    request.extras = scan::StandardExtras::FromSettings(m_services.settings);
    request.announceNewEntry = SettingOn(m_services.settings, "PopAddedInfoDlg");
    request.placeNewObject = [this](const CCD& cd) -> std::optional<NewObjectPlace> {
        m_services.port.CloseScanningWindow();
        std::optional<catalog::NewObjectAnswer> answer =
            m_services.port.AskNewObject(SuggestedName(cd.m_strVolumeLabel, m_scanPath));
        if (!answer || !answer->category) return std::nullopt;
        return NewObjectPlace{CategoryPath::Of(*answer->category), std::move(answer->name),
                              std::move(answer->memo)};
    };
    request.beforeRescanFiled = [this](const CDiskInfo& entry) { m_services.port.ReleaseOpenDisc(entry); };
    if (!m_controller.Start(std::move(request), *window,
                            [this](const ScanOutcome& outcome) { OnScanFinished(outcome); })) {
        m_services.port.CloseScanningWindow();
        return false;
    }
    return true;
}

void ScanRun::OnScanFinished(const ScanOutcome& outcome) {
    m_services.port.CloseScanningWindow();
    if (outcome.walked == scan::WalkResult::MediumGone && outcome.end != ScanEnd::NothingRead)
        m_services.filing.log.Post(catalog::MessageKind::Warning, text::Local(kDiscTakenOut));
    switch (outcome.end) {
        case ScanEnd::NothingRead:
            m_services.filing.log.Post(catalog::MessageKind::Error, ScanFailedText(outcome.kind));
            return;
        case ScanEnd::Declined:
        case ScanEnd::NotFiled:
        case ScanEnd::EntryGone:
        case ScanEnd::CategoryGone:
            return;
        case ScanEnd::Filed:
            break;
    }
    CDiskInfo* entry = outcome.entry;
    if (outcome.rescanned) {
        m_services.changes.Changed(CatalogObject{entry});
    } else {
        m_services.changes.Added(CatalogObject{entry}, CatalogObject{entry->m_pCategory});
    }
    m_services.port.ShowFiled(*entry, SettingOn(m_services.settings, "OpenNewCDNow"));
    if (SettingOn(m_services.settings, "EjectCDAfterScanning") && !m_ejectDrive.empty()) {
        m_services.port.OpenDoor(m_ejectDrive);
        m_ejectDrive.clear();
    }
}

}  // namespace pelko::shell
