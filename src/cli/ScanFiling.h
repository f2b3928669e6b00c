#pragma once
// What the scan commands of pelko-cli share: their options, and filing a finished scan, which is
// the headless part of the desktop program's scan completion: recount the disc, write its file,
// then file a new entry or update the entry that was scanned again, and say so.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "scan/WalkResult.h"

namespace pelko::catalog {
class CCD;
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::cli {

class CatalogSession;

// SOURCE [--category CATPATH] [--name NAME] [--memo TEXT]
struct ScanOptions {
    std::string source;
    std::optional<std::string> category;
    std::optional<std::string> name;
    std::string memo;
};
std::optional<ScanOptions> ParseScanOptions(std::span<const std::string> args);

// Where a scan goes: the entry scanned again, or a new entry of `name` and `memo` (model bytes)
// in `category`.
struct ScanDestination {
    catalog::CDiskInfo* existing = nullptr;
    catalog::CCategory* category = nullptr;
    std::string name;
    std::string memo;
};

// Says on standard error why the walk did not read the whole source; true when the scan is
// incomplete for a reason the user did not ask for, so the exit status says so too. A passed
// whole-scan limit is the user's own setting: a notice, not a failure. `mediumGone` is the
// sentence for a medium that went away during the walk.
bool ReportHowTheWalkEnded(scan::WalkResult walked, std::string_view mediumGone, std::ostream& err);

// The stored disc of an entry scanned again: a re-scan starts from the stored tree. When that
// cannot be read, null after saying so: scanning anew would replace the stored content.
std::unique_ptr<catalog::CCD> OpenForRescan(CatalogSession& session, const catalog::CDiskInfo& entry,
                                            std::ostream& err);

// Recounts the disc, writes its disc file (compressed) and then files it. The disc file is
// written first, so an entry never points at a file that failed to save; when it cannot be
// written the user is asked to make room and retry. The path of the ZIP, or nothing after the
// reason was reported.
std::optional<std::filesystem::path> FileScan(CatalogSession& session, std::unique_ptr<catalog::CCD> cd,
                                              const ScanDestination& destination);

}  // namespace pelko::cli
