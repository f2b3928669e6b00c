#include "cli/ScanDiscCommand.h"

#include <sys/stat.h>

#include <csignal>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/SettingsTable.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "cli/Interrupt.h"
#include "cli/ScanFiling.h"
#include "platform/DrivePort.h"
#include "platform/LocalVolume.h"
#include "platform/MountTable.h"
#include "platform/UnmountedDisc.h"
#include "platform/VolumeInformation.h"
#include "scan/CScanProgress.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "scan/WalkResult.h"
#include "shell/DriveDoors.h"
#include "shell/ScanGuards.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace fs = std::filesystem;
using catalog::CCD;

namespace {

// Where the scan reads: the volume, the root name the catalog records, and the optical device
// behind it (empty for an image or a partition).
struct Medium {
    std::unique_ptr<platform::Volume> volume;
    fs::path rootPath;
    std::string device;
    std::optional<platform::VolumeInformation> info;
};

std::optional<Medium> OpenMedium(const fs::path& source, bool partition, std::ostream& err) {
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) {
        err << "pelko-cli: no such device, folder or image: " << source.native() << '\n';
        return std::nullopt;
    }
    Medium medium;
    const std::vector<platform::MountedVolume> mounts = platform::ReadMountedVolumes();
    if (S_ISDIR(st.st_mode)) {
        medium.rootPath = source;
        medium.volume = std::make_unique<platform::LocalVolume>();
        const platform::MountedVolume* mount = platform::MountHolding(mounts, source.native());
        if (mount && mount->type == platform::DriveType::Optical) medium.device = mount->mount.source;
    } else if (partition) {
        err << "pelko-cli: scan-drive takes the folder a partition is mounted on\n";
        return std::nullopt;
    } else if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) {
        medium.rootPath = source;
        if (S_ISBLK(st.st_mode)) medium.device = source.native();
        medium.volume = platform::OpenUnmountedDisc(source, text::FromUtf8(source.native()));
        if (!medium.volume && S_ISBLK(st.st_mode)) {
            // Neither ISO 9660 nor UDF that libudf reads: read it where the system mounted it.
            if (const std::optional<std::string> point = platform::MountPointOf(mounts, source.native())) {
                medium.rootPath = *point;
                medium.volume = std::make_unique<platform::LocalVolume>();
            }
        }
        if (!medium.volume) {
            err << "pelko-cli: " << source.native()
                << " holds no ISO 9660 or UDF file system (mount it and scan the mount point)\n";
            return std::nullopt;
        }
    } else {
        err << "pelko-cli: not a device, folder or image: " << source.native() << '\n';
        return std::nullopt;
    }
    medium.info = platform::ReadVolumeInformation(source);
    if (!medium.info && medium.rootPath != source)
        medium.info = platform::ReadVolumeInformation(medium.rootPath);
    if (!medium.info) {
        err << "pelko-cli: cannot read the volume information of " << source.native() << " (no disc?)\n";
        return std::nullopt;
    }
    return medium;
}

}  // namespace

std::string_view ScanDiscCommand::Synopsis() const {
    return m_partition ? "scan-drive MOUNTPOINT [--category CATPATH] [--name NAME] [--memo TEXT]"
                       : "scan-disc SOURCE [--category CATPATH] [--name NAME] [--memo TEXT]";
}

std::string_view ScanDiscCommand::Description() const {
    return m_partition
               ? "Scan a partition from its mount point into the catalog, filed by its volume label and "
                 "serial (a partition already in the catalog is scanned again into its entry)."
               : "Scan a disc from its device (/dev/sr0, read without mounting), its mount point or an "
                 ".iso image into the catalog, filed by its volume label and serial (a disc already in "
                 "the catalog is scanned again into its entry).";
}

int ScanDiscCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<ScanOptions> options = ParseScanOptions(args);
    if (!options) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    fs::path source = fs::absolute(options->source).lexically_normal();
    if (source.native().size() > 1 && source.native().back() == '/') source = source.parent_path();
    std::optional<Medium> medium = OpenMedium(source, m_partition, context.err);
    if (!medium) return kExitFailure;
    const platform::VolumeInformation& info = *medium->info;

    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;

    catalog::CDiskInfo* existing = session.Root().FindEntryByLabel(info.label, info.serial);
    if (!existing && info.alternateSerial)
        existing = session.Root().FindEntryByLabel(info.label, *info.alternateSerial);
    catalog::CCategory* category = &session.Root();
    if (!existing && options->category) {
        const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(*options->category));
        if (!item.found() || item.entry) {
            context.err << "pelko-cli: no category " << *options->category << " in the catalog\n";
            return kExitFailure;
        }
        category = item.category;
    }

    const std::string rootName = text::FromUtf8(medium->rootPath.native());
    std::unique_ptr<CCD> cd;
    if (existing) {
        cd = OpenForRescan(session, *existing, context.err);
        if (!cd) return kExitFailure;
    } else {
        cd = std::make_unique<CCD>();
    }
    const std::uint8_t kind = m_partition ? CCD::kKindFixedDisk : CCD::kKindDisk;
    cd->m_nKind = kind;
    cd->m_strVolumeLabel = info.label;
    // A disc recognised by its serial in the other byte order keeps the serial it is filed under.
    cd->m_dwVolumeSerial = existing ? existing->m_dwVolumeSerial : info.serial;
    cd->m_dwMaxComponentLength = info.maxComponentLength;
    cd->m_dwFileSystemFlags = info.fileSystemFlags;
    cd->m_strFileSystem = info.fileSystem;
    cd->m_strName = rootName;

    std::string name;
    if (existing) {
        name = existing->m_strName;
    } else if (options->name) {
        name = text::FromUtf8(*options->name);
    } else {
        name = info.label.empty() ? rootName : info.label;
    }
    if (!existing && category->HasEntry(name)) {
        session.Ui().ShowMessage(text::LocalWith("光盘 %s 已经存在", name));
        return kExitFailure;
    }

    const scan::ScanSettings settings = scan::ScanSettings::Load(context.settings);
    platform::SystemDrivePort drives;
    scan::WalkResult walked = scan::WalkResult::Finished;
    {
        shell::TrayLock lock(drives, medium->device);
        InterruptProgress interrupt;
        const std::string device = medium->device;
        shell::MediumWatchProgress progress(
            &interrupt, [&drives, device] { return device.empty() || drives.HasMedium(device); });
        const auto extras = scan::StandardExtras::FromSettings(context.settings);
        scan::DirectoryWalker walker(*medium->volume, settings, session.Discs().DiskFolder(), extras.get(),
                                     &session.Log());
        walked = walker.Scan(*cd, &progress);
    }
    if (walked == scan::WalkResult::RootUnreadable) {
        // Nothing was read: filing would record the medium as empty.
        context.err << "pelko-cli: cannot read the root of " << medium->rootPath.native() << '\n';
        return kExitFailure;
    }
    const bool incomplete = ReportHowTheWalkEnded(walked, "the disc left the drive", context.err);
    medium->volume.reset();  // lets go of the device before its door may open
    const std::optional<fs::path> zip =
        FileScan(session, std::move(cd), {existing, category, name, text::FromUtf8(options->memo)});
    if (!zip) return kExitFailure;
    if (!session.SaveIfModified()) return kExitFailure;
    if (!medium->device.empty() && catalog::ReadSettingInt(context.settings, "EjectCDAfterScanning") != 0) {
        shell::DriveDoors doors(drives);
        doors.OpenDrive(medium->device);
    }
    context.out << zip->native() << '\n';
    return incomplete ? kExitIncomplete : kExitOk;
}

}  // namespace pelko::cli
