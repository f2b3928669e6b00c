#include "cli/ScanFolderCommand.h"

#include <ctime>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "cli/CatalogSession.h"
#include "cli/ScanFiling.h"
#include "cli/ScanJob.h"
#include "shell/ScanMedium.h"
#include "text/Codec.h"

namespace pelko::cli {

using catalog::CCD;

std::string_view ScanFolderCommand::Description() const {
    return "Scan a folder into the catalog (under CATPATH, the root when none; a folder already in the "
           "catalog is scanned again into its entry) and print the path of its compressed disc file.";
}

std::span<const std::string_view> ScanFolderCommand::OptionsTakingValue() const { return kScanValueOptions; }

int ScanFolderCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<ScanOptions> options = ParseScanOptions(args);
    if (!options) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    shell::OpenedMedium opened = shell::OpenFolderMedium(options->source);
    if (!opened.medium) {
        context.err << "pelko-cli: " << opened.error << '\n';
        return kExitFailure;
    }
    ScanJob job;
    job.medium = std::move(*opened.medium);
    const std::filesystem::path& folder = job.medium.rootPath;

    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;

    const std::string folderPath = text::FromUtf8(folder.native());
    catalog::CDiskInfo* existing = session.Root().FindEntryByFolderPath(folderPath);
    if (existing) {
        job.cd = OpenForRescan(session, *existing, context.err);
        if (!job.cd) return kExitFailure;
        job.rescanOf = existing;
    } else {
        const std::string label =
            text::FromUtf8(folder.has_filename() ? folder.filename().native() : folder.native());
        job.name = options->name ? text::FromUtf8(*options->name) : label;
        job.category = PlaceForNewObject(session, *options, job.name, context.err);
        if (!job.category) return kExitFailure;
        job.memo = text::FromUtf8(options->memo);
        job.cd = std::make_unique<CCD>();
        job.cd->m_strVolumeLabel = label;
        job.cd->m_dwVolumeSerial = static_cast<std::uint32_t>(std::time(nullptr));
    }
    job.cd->m_nKind = CCD::kKindFixedDir;
    // Also for a re-scan: the entry is found again by this path when the walk has ended, and a
    // disc file from before folder paths were stored has none.
    job.cd->m_strFolderPath = folderPath;
    job.cd->m_strName = folderPath;
    job.mediumGone = "the medium was taken out";
    job.nothingRead = "cannot read the folder " + folder.native();
    return RunScanJob(context, session, std::move(job));
}

}  // namespace pelko::cli
