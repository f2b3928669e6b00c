#pragma once
// The export walk: a category with all its sub-categories, or one scan object, each scan object
// loaded from its disc file, listed and written to its own file, one at a time.
//
// A category's entries go first in stored order, then each sub-category, depth first. The
// running flag is polled before each scan object and inside every listing; when it is found
// cleared the scan object being listed is not written (files written before stay). A disc file
// that cannot be loaded is skipped (the loader has reported why). An output file that cannot be
// written ends the export there, with an error line naming the file.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <variant>

#include "export/ExportOptions.h"
#include "export/ExportSink.h"

namespace pelko::catalog {
class CCategory;
class CCD;
class CDiskInfo;
class MessageLog;
}  // namespace pelko::catalog

namespace pelko::exporting {

// What is exported: a category (with everything below it) or one scan object.
using ExportTarget = std::variant<const catalog::CCategory*, const catalog::CDiskInfo*>;

// Loads the contents of a scan object; null when it cannot be read.
using DiscLoader = std::function<std::unique_ptr<catalog::CCD>(const catalog::CDiskInfo&)>;

class Exporter {
public:
    Exporter(std::filesystem::path catalogFolder, DiscLoader load, catalog::MessageLog& log,
             const ExportOptions& options, const std::atomic<bool>& running, ExportSink& sink);

    ExportEnd Export(ExportTarget target);
    ExportEnd ExportCategory(const catalog::CCategory& category);
    ExportEnd ExportEntry(const catalog::CDiskInfo& entry);
    // Writes the file of a scan object whose contents are loaded.
    ExportEnd ExportLoaded(const catalog::CDiskInfo& entry, const catalog::CCD& contents);

private:
    std::filesystem::path m_catalogFolder;
    DiscLoader m_load;
    catalog::MessageLog& m_log;
    const ExportOptions& m_options;
    const std::atomic<bool>& m_running;
    ExportSink& m_sink;
};

}  // namespace pelko::exporting
