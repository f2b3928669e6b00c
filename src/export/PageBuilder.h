#pragma once
// The whole content of a scan object's exported file, built in memory before anything is
// written.
//
// Text file: the line "<category path>\<entry name>", an empty line, then the listing; GBK with
// CR LF. Page: the page template with the bold heading "<category path>\<entry name>" in front
// of the placeholder and the listing, in a small-font paragraph, in its place.

#include <atomic>
#include <optional>
#include <string>

#include "export/ExportOptions.h"

namespace pelko::catalog {
class CDir;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::exporting {

class ExportSink;

// Nullopt when the running flag was cleared before the listing was complete.
std::optional<std::string> BuildEntryFile(const catalog::CDiskInfo& entry, const catalog::CDir& root,
                                          const ExportOptions& options, const std::atomic<bool>& running,
                                          ExportSink* progress);

// The page template with `content` in place of its first placeholder (the template itself
// when it has none).
std::string FillFirstPlaceholder(std::string_view page, std::string_view content);

}  // namespace pelko::exporting
