#include "cli/ScanDiscCommand.h"

#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "cli/CatalogSession.h"
#include "cli/ScanFiling.h"
#include "cli/ScanJob.h"
#include "platform/VolumeInformation.h"
#include "shell/ScanMedium.h"
#include "text/Codec.h"

namespace pelko::cli {

using catalog::CCD;

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

std::span<const std::string_view> ScanDiscCommand::OptionsTakingValue() const { return kScanValueOptions; }

int ScanDiscCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<ScanOptions> options = ParseScanOptions(args);
    if (!options) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    shell::OpenedMedium opened = shell::OpenDriveMedium(options->source, m_partition);
    if (!opened.medium) {
        context.err << "pelko-cli: " << opened.error << '\n';
        return kExitFailure;
    }
    ScanJob job;
    job.medium = std::move(*opened.medium);
    const platform::VolumeInformation& info = *job.medium.info;

    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;

    catalog::CDiskInfo* existing = session.Root().FindEntryByLabel(info.label, info.serial);
    if (!existing && info.alternateSerial)
        existing = session.Root().FindEntryByLabel(info.label, *info.alternateSerial);

    const std::string rootName = text::FromUtf8(job.medium.rootPath.native());
    if (existing) {
        job.cd = OpenForRescan(session, *existing, context.err);
        if (!job.cd) return kExitFailure;
        job.rescanOf = existing;
    } else {
        if (options->name) job.name = text::FromUtf8(*options->name);
        else job.name = info.label.empty() ? rootName : info.label;
        job.category = PlaceForNewObject(session, *options, job.name, context.err);
        if (!job.category) return kExitFailure;
        job.memo = text::FromUtf8(options->memo);
        job.cd = std::make_unique<CCD>();
    }
    job.cd->m_nKind = m_partition ? CCD::kKindFixedDisk : CCD::kKindDisk;
    job.cd->m_strVolumeLabel = info.label;
    // A disc recognised by its serial in the other byte order keeps the serial it is filed under.
    job.cd->m_dwVolumeSerial = existing ? existing->m_dwVolumeSerial : info.serial;
    job.cd->m_dwMaxComponentLength = info.maxComponentLength;
    job.cd->m_dwFileSystemFlags = info.fileSystemFlags;
    job.cd->m_strFileSystem = info.fileSystem;
    job.cd->m_strName = rootName;
    job.mediumGone = "the disc left the drive";
    job.nothingRead = "cannot read the root of " + job.medium.rootPath.native();
    return RunScanJob(context, session, std::move(job));
}

}  // namespace pelko::cli
