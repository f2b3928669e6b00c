#include "export/PageBuilder.h"

#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "export/HtmlText.h"
#include "export/ListingWriter.h"
#include "export/Templates.h"

namespace pelko::exporting {

namespace {

std::string TextFile(const catalog::CDiskInfo& entry, const catalog::CDir& root, ListingWriter& listing,
                     bool& complete) {
    std::string out = catalog::EntryPath(entry);
    out += "\r\n\r\n";
    complete = listing.Append(root, out);
    return out;
}

std::string Page(const catalog::CDiskInfo& entry, const catalog::CDir& root, ListingWriter& listing,
                 bool& complete) {
    std::string page(TemplateBytes(kPageTemplate).value_or(kPlaceholder));
    std::string heading = "<b><font color=\"#000000\" size=\"5\">";
    AppendEscaped(heading, catalog::EntryPath(entry));
    heading += "</font></b>";
    const std::size_t at = page.find(kPlaceholder);
    if (at != std::string::npos) page.insert(at, heading);

    std::string list = "<p><font size=\"2\">";
    complete = listing.Append(root, list);
    list += "</font></p>";
    return FillFirstPlaceholder(page, list);
}

}  // namespace

std::string FillFirstPlaceholder(std::string_view page, std::string_view content) {
    std::string out(page);
    const std::size_t at = out.find(kPlaceholder);
    if (at != std::string::npos) out.replace(at, kPlaceholder.size(), content);
    return out;
}

std::optional<std::string> BuildEntryFile(const catalog::CDiskInfo& entry, const catalog::CDir& root,
                                          const ExportOptions& options, const std::atomic<bool>& running,
                                          ExportSink* progress) {
    ListingWriter listing(options, running, progress);
    bool complete = false;
    std::string out = options.format == ExportFormat::Text ? TextFile(entry, root, listing, complete)
                                                           : Page(entry, root, listing, complete);
    if (!complete) return std::nullopt;
    return out;
}

}  // namespace pelko::exporting
