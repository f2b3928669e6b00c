#include "export/IndexPages.h"

#include "catalog/CCategory.h"
#include "catalog/UserInterface.h"
#include "export/ExportPaths.h"
#include "export/HtmlText.h"
#include "export/Templates.h"
#include "platform/AtomicFile.h"

namespace pelko::exporting {

namespace {

constexpr std::string_view kIndent = "&nbsp;&nbsp;&nbsp;";

void AppendMemo(std::string& out, std::string_view memo, const ExportStyle& style) {
    if (memo.empty()) return;
    out.append("&nbsp;&nbsp;").append(style.txtPre);
    AppendEscaped(out, memo);
    out.append(style.txtPost);
}

void AppendFragment(std::string& out, const catalog::CCategory& category, std::string indent,
                    ExportFormat links, const ExportStyle& style) {
    out.append("<br>").append(indent).append("<b><font color=\"#008000\" size=\"3\">");
    AppendEscaped(out, category.m_strName);
    out.append("</font></b><font size=\"2\" color=\"#808080\">");
    AppendMemo(out, category.m_strMemo, style);
    out.append("</font>");
    indent.append(kIndent);
    for (const auto& entry : category.Entries()) {
        out.append("<br>").append(indent).append("<font size=\"2\"><a href=\"");
        out.append(EntryLink(*entry, links));
        out.append("\">");
        AppendEscaped(out, entry->m_strName);
        out.append("</a></font><font size=\"2\" color=\"#808080\">");
        AppendMemo(out, entry->m_strMemo, style);
        out.append("</font>");
    }
    for (const auto& sub : category.Subcategories()) AppendFragment(out, *sub, indent, links, style);
}

// Every placeholder of the page replaced by `content`.
std::string FillAll(std::string_view page, std::string_view content) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = page.find(kPlaceholder); at != std::string_view::npos;
         at = page.find(kPlaceholder, start)) {
        out.append(page.substr(start, at - start)).append(content);
        start = at + kPlaceholder.size();
    }
    out.append(page.substr(start));
    return out;
}

}  // namespace

std::string IndexFragment(const catalog::CCategory& category, ExportFormat links, const ExportStyle& style) {
    std::string indent;
    for (const catalog::CCategory* c = category.m_pParent; c != nullptr; c = c->m_pParent)
        indent.append(kIndent);
    std::string out;
    AppendFragment(out, category, std::move(indent), links, style);
    return out;
}

bool WriteIndexPages(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                     const ExportStyle& style, catalog::UserInterface& ui) {
    const std::optional<std::string_view> page = TemplateBytes(kPageTemplate);
    if (!page) {
        ui.ShowMessage("Template error");
        return false;
    }
    const std::filesystem::path folder = CategoryFolder(catalogFolder, root);
    for (const ExportFormat links : {ExportFormat::Html, ExportFormat::Text}) {
        const std::string_view name = links == ExportFormat::Html ? kIndexPage : kTextIndexPage;
        const std::string content = FillAll(*page, IndexFragment(root, links, style) + "<br>");
        if (!platform::ReplaceFileContent(folder / name, content)) {
            ui.ShowMessage("Error! cannot open the dest file.");
            return false;
        }
    }
    return true;
}

bool PrepareExportFolders(const std::filesystem::path& catalogFolder, const catalog::CCategory& root,
                          const ExportStyle& style, catalog::UserInterface& ui) {
    CreateCategoryFolders(catalogFolder, root);
    return WriteIndexPages(catalogFolder, root, style, ui);
}

}  // namespace pelko::exporting
