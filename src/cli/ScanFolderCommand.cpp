#include "cli/ScanFolderCommand.h"

#include <csignal>
#include <ctime>
#include <optional>
#include <ostream>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "cli/Interrupt.h"
#include "cli/ScanFiling.h"
#include "platform/LocalVolume.h"
#include "scan/CScanProgress.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanSettings.h"
#include "scan/StandardExtras.h"
#include "scan/WalkResult.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace fs = std::filesystem;
using catalog::CCD;

namespace {

// The path as the user means it: absolute, without "." and ".." parts or a trailing "/".
fs::path NormalisedFolder(const std::string& argument) {
    fs::path path = fs::absolute(argument).lexically_normal();
    std::string text = path.native();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::string_view ScanFolderCommand::Description() const {
    return "Scan a folder into the catalog (under CATPATH, the root when none; a folder already in the "
           "catalog is scanned again into its entry) and print the path of its compressed disc file.";
}

int ScanFolderCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<ScanOptions> options = ParseScanOptions(args);
    if (!options) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    const fs::path folder = NormalisedFolder(options->source);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        context.err << "pelko-cli: not a folder: " << folder.native() << '\n';
        return kExitFailure;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;

    const std::string folderPath = text::FromUtf8(folder.native());
    catalog::CDiskInfo* existing = session.Root().FindEntryByFolderPath(folderPath);
    catalog::CCategory* category = &session.Root();
    if (!existing && options->category) {
        const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(*options->category));
        if (!item.found() || item.entry) {
            context.err << "pelko-cli: no category " << *options->category << " in the catalog\n";
            return kExitFailure;
        }
        category = item.category;
    }

    std::unique_ptr<CCD> cd;
    if (existing) {
        cd = OpenForRescan(session, *existing, context.err);
        if (!cd) return kExitFailure;
    } else {
        cd = std::make_unique<CCD>();
        const std::string lastComponent =
            folder.has_filename() ? folder.filename().native() : folder.native();
        cd->m_strVolumeLabel = text::FromUtf8(lastComponent);
        cd->m_dwVolumeSerial = static_cast<std::uint32_t>(std::time(nullptr));
        cd->m_strFolderPath = folderPath;
    }
    const std::string name = existing
                                 ? existing->m_strName
                                 : (options->name ? text::FromUtf8(*options->name) : cd->m_strVolumeLabel);
    if (!existing && category->HasEntry(name)) {
        session.Ui().ShowMessage(text::LocalWith("光盘 %s 已经存在", name));
        return kExitFailure;
    }

    cd->m_nKind = CCD::kKindFixedDir;
    cd->m_strName = folderPath;
    const scan::ScanSettings settings = scan::ScanSettings::Load(context.settings);
    platform::LocalVolume volume;
    const auto extras = scan::StandardExtras::FromSettings(context.settings);
    scan::DirectoryWalker walker(volume, settings, session.Discs().DiskFolder(), extras.get(),
                                 &session.Log());
    InterruptProgress progress;
    const scan::WalkResult walked = walker.Scan(*cd, &progress);
    if (walked == scan::WalkResult::RootUnreadable) {
        // Nothing was read: filing would record the folder as empty.
        context.err << "pelko-cli: cannot read the folder " << folder.native() << '\n';
        return kExitFailure;
    }
    const bool incomplete = ReportHowTheWalkEnded(walked, "the medium was taken out", context.err);
    const std::optional<fs::path> zip =
        FileScan(session, std::move(cd), {existing, category, name, text::FromUtf8(options->memo)});
    if (!zip) return kExitFailure;
    if (!session.SaveIfModified()) return kExitFailure;
    context.out << zip->native() << '\n';
    return incomplete ? kExitIncomplete : kExitOk;
}

}  // namespace pelko::cli
