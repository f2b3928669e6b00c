#pragma once
// What both scan commands do once they know what to scan and where it goes: the walk through the
// shell's scan use case (the path the desktop program's scans take too), with this thread as the
// caller's thread and Ctrl+C as the cancel; then saving the catalog, ejecting the disc when the
// settings say so, and the exit status.

#include <memory>
#include <string>
#include <string_view>

#include "shell/ScanMedium.h"

namespace pelko::catalog {
class CCD;
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::cli {

class CatalogSession;
struct CliContext;

struct ScanJob {
    shell::ScanMedium medium;
    // What the walk adds to, with its kind, label, serial, folder path and root name set.
    std::unique_ptr<catalog::CCD> cd;
    // The entry scanned again; null for a new scan object.
    const catalog::CDiskInfo* rescanOf = nullptr;
    // A new scan object's category, name and memo (model bytes); unused for a re-scan.
    catalog::CCategory* category = nullptr;
    std::string name;
    std::string memo;
    // The sentence for a medium that went away during the walk.
    std::string_view mediumGone;
    // The line (UTF-8, without the program's prefix) when nothing could be read.
    std::string nothingRead;
};

// Runs the scan to its end and files it; prints the disc file's path and gives the exit status.
int RunScanJob(CliContext& context, CatalogSession& session, ScanJob job);

}  // namespace pelko::cli
