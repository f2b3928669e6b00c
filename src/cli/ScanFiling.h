#pragma once
// What the scan commands of pelko-cli share before and after the walk: their options, where the
// result goes, and how the walk's end is told on the terminal.

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
inline constexpr std::string_view kScanValueOptions[] = {"--category", "--name", "--memo"};
std::optional<ScanOptions> ParseScanOptions(std::span<const std::string> args);

// Says on standard error why the walk did not read the whole source; true when the scan is
// incomplete for a reason the user did not ask for, so the exit status says so too. A passed
// whole-scan limit is the user's own setting: a notice, not a failure. `mediumGone` is the
// sentence for a medium that went away during the walk.
bool ReportHowTheWalkEnded(scan::WalkResult walked, std::string_view mediumGone, std::ostream& err);

// The stored disc of an entry scanned again: a re-scan starts from the stored tree. When that
// cannot be read, null after saying so: scanning anew would replace the stored content.
std::unique_ptr<catalog::CCD> OpenForRescan(CatalogSession& session, const catalog::CDiskInfo& entry,
                                            std::ostream& err);

// The category a new scan object goes into: --category, or the root without it. Null, after
// saying why, when there is no such category or `name` (model bytes) is taken in it.
catalog::CCategory* PlaceForNewObject(CatalogSession& session, const ScanOptions& options,
                                                     std::string_view name, std::ostream& err);

}  // namespace pelko::cli
