#include "cli/ScanFolderCommand.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <ostream>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "cli/TerminalLog.h"
#include "platform/CatalogLocation.h"
#include "platform/LocalVolume.h"
#include "scan/CScanProgress.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanSettings.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace fs = std::filesystem;

namespace {

// Ctrl+C ends the walk the way the scanning window's Cancel does: what was read is kept.
volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void OnInterrupt(int) { g_interrupted = 1; }

class InterruptProgress final : public scan::CScanProgress {
public:
    InterruptProgress() {
        g_interrupted = 0;
        m_previous = std::signal(SIGINT, OnInterrupt);
    }
    ~InterruptProgress() override { std::signal(SIGINT, m_previous); }
    bool IsCancelled() override { return g_interrupted != 0; }
    void ShowFolderPath(std::string_view) override {}

private:
    void (*m_previous)(int) = SIG_DFL;
};

// The path as the user means it: absolute, without "." and ".." parts or a trailing "/".
fs::path NormalisedFolder(const std::string& argument) {
    fs::path path = fs::absolute(argument).lexically_normal();
    std::string text = path.native();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::string_view ScanFolderCommand::Description() const {
    return "Scan a folder into the catalog's Disk folder and print the path of its compressed disc file.";
}

int ScanFolderCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (args.size() != 1) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    const fs::path folder = NormalisedFolder(args[0]);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        context.err << "pelko-cli: not a folder: " << folder.native() << '\n';
        return kExitFailure;
    }
    const fs::path catalogFolder = platform::ResolveCatalogFolder(context.catalogFolder);
    if (!platform::EnsureFolder(catalogFolder / "Disk")) {
        context.err << "pelko-cli: cannot create the catalog folder " << catalogFolder.native() << '\n';
        return kExitFailure;
    }

    TerminalLog log(context.err);
    catalog::DiscStore store(catalogFolder, log);
    const scan::ScanSettings settings = scan::ScanSettings::Load(context.settings);

    auto cd = std::make_unique<catalog::CCD>();
    const std::string modelPath = text::FromUtf8(folder.native());
    const std::string lastComponent = folder.has_filename() ? folder.filename().native() : folder.native();
    cd->m_nKind = catalog::CCD::kKindFixedDir;
    cd->m_strVolumeLabel = text::FromUtf8(lastComponent);
    cd->m_dwVolumeSerial = static_cast<std::uint32_t>(std::time(nullptr));
    cd->m_strFolderPath = modelPath;
    cd->m_strName = modelPath;

    platform::LocalVolume volume;
    scan::DirectoryWalker walker(volume, settings, store.DiskFolder(), nullptr, &log);
    InterruptProgress progress;
    if (walker.Scan(*cd, &progress) == 0 && g_interrupted)
        context.err << "pelko-cli: scan interrupted; keeping what was read\n";

    cd->RecomputeTotals();
    cd->m_dScanBytes = cd->m_dCurrentBytes;
    cd->m_bModified = true;
    const fs::path zip = store.ZipPath(cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
    if (!store.Release(std::move(cd))) return kExitFailure;
    if (!fs::exists(zip, ec)) {
        context.err << "pelko-cli: could not write " << zip.native() << '\n';
        return kExitFailure;
    }
    context.out << zip.native() << '\n';
    return kExitOk;
}

}  // namespace pelko::cli
