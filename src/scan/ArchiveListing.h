#pragma once
// Lists the entries of a ZIP or RAR archive into its archive folder record, flat: each file
// entry becomes a file record named after the entry's last path part, with the folder part
// inside the archive ("a\b\") as its memo. Only headers are read; nothing is decompressed.
//
// Every entry passes one gate, in archive order: the per-folder limit ends the listing
// normally, the whole-scan limit and cancellation (tested before every fifth entry) stop it.
// Folder entries pass the gate but make no record; an entry whose name is already recorded in
// the folder (compared without regard to case) is left out, so the first one in the archive
// wins and records kept from an earlier scan stay as they are.

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/ByteSource.h"
#include "scan/WalkResult.h"

namespace pelko::catalog {
class CDir;
}

namespace pelko::scan {

class CScanProgress;
struct ScanSettings;
struct ScanState;

enum class ArchiveFormat { None, Zip, Rar };

// The format an archive file is read as, from its name's extension (".zip" or ".rar", any case).
ArchiveFormat ArchiveFormatOf(std::string_view fileName);

// Finished when the listing ran to its end, also when the archive could not be read (the folder
// then stays as it was); LimitReached or the cancel's reason when one of those stopped it;
// OutOfMemory when memory ran out, with the records made until then filed.
WalkResult ListArchive(catalog::CDir& archiveFolder, ByteSource& source, ArchiveFormat format,
                       const ScanSettings& settings, ScanState& state, CScanProgress* progress);

// A ZIP entry name as a model path: UTF-8 names converted, every "/" turned into "\".
std::string ZipNameToModel(std::string_view rawName, bool utf8);

}  // namespace pelko::scan
