#pragma once
// The two index pages in the root category's folder: "index.htm" links every scan object's page,
// "indexTxt.htm" every text file. Each category is a green bold line indented by its depth, its
// scan objects are links one step further in; memos of categories and entries follow in grey
// between the text memo wrappers (whether or not memos are exported).

#include <filesystem>
#include <string>

#include "export/ExportOptions.h"

namespace pelko::catalog {
class CCategory;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::exporting {

// The index lines of a category and, after its entries, of each sub-category.
std::string IndexFragment(const catalog::CCategory& category, ExportFormat links, const ExportStyle& style);

// Writes both index pages of `root` (the root category). Shows "Template error" when the page
// template is missing and "Error! cannot open the dest file." when a page cannot be written
// (then the other is not tried). False after either.
bool WriteIndexPages(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                     const ExportStyle& style, catalog::UserInterface& ui);

// What opening the export window does before anything else: every category's folder, then
// both index pages.
bool PrepareExportFolders(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                          const ExportStyle& style, catalog::UserInterface& ui);

}  // namespace pelko::exporting
