#pragma once
// Where the exported pages of the catalog live: a folder per category below the catalog
// folder, named by the categories from the root down, and a page per entry named after it.
// Every name is made safe first, so no name can lead outside the catalog folder. The export
// writes there and deleting an entry deletes there, so both build paths here.

#include <filesystem>
#include <string>
#include <string_view>

namespace pelko::catalog {

class CCategory;
class CDiskInfo;

// File-system name (UTF-8) of a category or entry name: no "/" or NUL, never empty, "." or "..",
// and short enough that the files made from it (name + ".htm" and its temporary twin) stay within
// the 255 bytes a Linux file name may have (cut at a character boundary).
std::string ExportSafeName(std::string_view modelName);

// The folder of a category's exported pages: the catalog folder, then one folder per category
// from the root down to this one.
std::filesystem::path CategoryExportFolder(const std::filesystem::path& catalogFolder,
                                           const CCategory& category);

// An entry's exported page with the given extension (".htm" or ".txt") in its category's folder.
std::filesystem::path EntryExportPage(const std::filesystem::path& catalogFolder, const CDiskInfo& entry,
                                      std::string_view extension);

}  // namespace pelko::catalog
