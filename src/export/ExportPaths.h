#pragma once
// Where an export writes. Every category has a folder under the catalog folder that mirrors the
// category tree ("<catalog>/Pelko/软件/系统软件"); a scan object's text file and page sit in its
// category's folder, named after the entry; the two index pages sit in the root category's folder.
//
// Category and entry names become file names through ExportSafeName, so no name can reach outside
// the root category's folder, whatever it holds.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ExportPaths.h"
#include "export/ExportOptions.h"

namespace pelko::catalog {
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::exporting {

inline constexpr std::string_view kIndexPage = "index.htm";
inline constexpr std::string_view kTextIndexPage = "indexTxt.htm";

using catalog::ExportSafeName;

// The folder of a category: the catalog folder, then the safe names from the root down.
std::filesystem::path CategoryFolder(const std::filesystem::path& catalogFolder,
                                     const catalog::CCategory& category);

// The file a scan object is exported to in the given format (".txt" or ".htm").
std::filesystem::path EntryPagePath(const std::filesystem::path& catalogFolder,
                                    const catalog::CDiskInfo& entry, ExportFormat format);

// Creates the folder of every category below and including `root`, parents first. Failures are
// ignored here: writing into a missing folder fails later and is reported there.
void CreateCategoryFolders(const std::filesystem::path& catalogFolder, const catalog::CCategory& root);

// The link from the root category's folder to a scan object's exported file: the safe names of
// the categories below the root and of the entry, percent-encoded, joined by "/".
std::string EntryLink(const catalog::CDiskInfo& entry, ExportFormat format);

std::string_view FileExtension(ExportFormat format);

}  // namespace pelko::exporting
