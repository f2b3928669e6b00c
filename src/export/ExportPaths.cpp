#include "export/ExportPaths.h"

#include <system_error>

#include "catalog/CCategory.h"
#include "export/HtmlText.h"

namespace pelko::exporting {

namespace fs = std::filesystem;

namespace {

// The categories from the root down to `category`, both included.
std::vector<const catalog::CCategory*> Lineage(const catalog::CCategory& category) {
    std::vector<const catalog::CCategory*> chain;
    for (const catalog::CCategory* c = &category; c != nullptr; c = c->m_pParent) chain.push_back(c);
    return {chain.rbegin(), chain.rend()};
}

}  // namespace

std::string_view FileExtension(ExportFormat format) { return format == ExportFormat::Text ? ".txt" : ".htm"; }

fs::path CategoryFolder(const fs::path& catalogFolder, const catalog::CCategory& category) {
    return catalog::CategoryExportFolder(catalogFolder, category);
}

fs::path EntryPagePath(const fs::path& catalogFolder, const catalog::CDiskInfo& entry, ExportFormat format) {
    return catalog::EntryExportPage(catalogFolder, entry, FileExtension(format));
}

void CreateCategoryFolders(const fs::path& catalogFolder, const catalog::CCategory& root) {
    std::vector<std::pair<const catalog::CCategory*, fs::path>> pending{
        {&root, CategoryFolder(catalogFolder, root)}};
    while (!pending.empty()) {
        auto [category, folder] = std::move(pending.back());
        pending.pop_back();
        std::error_code ec;
        fs::create_directories(folder, ec);
        const auto& subs = category->Subcategories();
        for (auto it = subs.rbegin(); it != subs.rend(); ++it)
            pending.emplace_back(it->get(), folder / ExportSafeName((*it)->m_strName));
    }
}

std::string EntryLink(const catalog::CDiskInfo& entry, ExportFormat format) {
    std::string link;
    if (entry.m_pCategory != nullptr) {
        const std::vector<const catalog::CCategory*> chain = Lineage(*entry.m_pCategory);
        for (std::size_t i = 1; i < chain.size(); ++i) {
            link += PercentEncode(ExportSafeName(chain[i]->m_strName));
            link += '/';
        }
    }
    link += PercentEncode(ExportSafeName(entry.m_strName) + std::string(FileExtension(format)));
    return link;
}

}  // namespace pelko::exporting
