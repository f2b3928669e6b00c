// Lists one ZIP or RAR archive the way a scan does (through the local volume's folder
// interface, into an archive folder record) and prints how many file records it made.
// Usage: archive-list ARCHIVE

#include <cstdio>
#include <filesystem>
#include <memory>

#include "catalog/CDir.h"
#include "platform/LocalVolume.h"
#include "scan/ScanSettings.h"
#include "scan/ScanState.h"
#include "scan/StandardExtras.h"
#include "text/Codec.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive-list ARCHIVE\n");
        return 2;
    }
    const std::filesystem::path archive = std::filesystem::absolute(argv[1]);
    pelko::platform::LocalVolume volume;
    const auto folder = volume.OpenFolder(pelko::text::FromUtf8(archive.parent_path().native()));
    if (!folder) {
        std::fprintf(stderr, "archive-list: cannot open the folder of %s\n", argv[1]);
        return 1;
    }
    auto listing = std::make_unique<pelko::catalog::CDir>();
    listing->m_strName = pelko::text::FromUtf8(archive.filename().native());
    listing->m_nDirKind = pelko::catalog::CDir::kKindArchive;
    pelko::scan::ScanSettings settings;
    settings.bCheckFileLimit = false;
    settings.bCheckFileLimitDisk = false;
    pelko::scan::StandardExtras extras(settings, {});
    pelko::scan::ScanState state;
    extras.ListArchive(*listing, *folder, archive.filename().native(), state, nullptr);
    std::printf("%zu records\n", listing->Files().size());
    // A scan keeps the records; like the tool this is compared with, the process ends here
    // without taking its memory apart piece by piece.
    (void)listing.release();
    return 0;
}
