#pragma once
// The help page and the questions-and-answers page, written from the program's own templates into
// the catalog folder when the user asks for them, and opened in the browser; and browsing the
// exported pages.

#include <filesystem>
#include <optional>

namespace pelko::catalog {
class CCategory;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::exporting {

class DocumentOpener;

enum class HelpPage { Help, Faq };

// "help.htm" or "faq.htm".
std::string_view HelpPageFileName(HelpPage page);

// Writes the page into the catalog folder and returns its path; on failure shows
// "Template error" or the page's own write error and returns nullopt.
std::optional<std::filesystem::path> WriteHelpPage(const std::filesystem::path& catalogFolder, HelpPage page,
                                                   catalog::UserInterface& ui);

// Writes the page, then opens it; an error line in the log when it cannot be opened.
void ShowHelpPage(const std::filesystem::path& catalogFolder, HelpPage page, catalog::UserInterface& ui,
                  catalog::MessageLog& log, DocumentOpener& opener);

// Opens "index.htm" of the export in the browser (the category folders are made first), or says
// that nothing has been exported as pages yet.
void BrowseExport(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                  catalog::UserInterface& ui, DocumentOpener& opener);

// Opens the root category's export folder in the file manager (the category folders are made
// first).
void OpenExportFolder(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                      DocumentOpener& opener);

}  // namespace pelko::exporting
