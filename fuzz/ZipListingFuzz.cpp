// Feeds arbitrary bytes to the ZIP central-directory reader and lists them into an archive
// folder record the way a scan does. Checks that no more records are made than the directory
// has entries, and that every record has a name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "catalog/CDir.h"
#include "scan/ArchiveListing.h"
#include "scan/ByteSource.h"
#include "scan/ScanSettings.h"
#include "scan/ScanState.h"
#include "scan/ZipDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelko::scan::MemoryByteSource source({data, size});
    const auto directory = pelko::scan::ZipDirectory::Read(source);
    const std::size_t entries = directory ? directory->Entries().size() : 0;

    pelko::catalog::CDir folder;
    pelko::scan::ScanState state;
    const pelko::scan::ScanSettings settings;
    if (pelko::scan::ListArchive(folder, source, pelko::scan::ArchiveFormat::Zip, settings, state, nullptr) !=
        pelko::scan::WalkResult::Finished)
        std::abort();
    if (folder.Files().size() > entries) std::abort();
    for (const auto& file : folder.Files())
        if (file->m_strName.view().empty()) std::abort();
    return 0;
}
