#include "catalog/ExportPaths.h"

#include <vector>

#include "catalog/CCategory.h"
#include "catalog/DiscStore.h"

namespace pelko::catalog {

std::filesystem::path CategoryExportFolder(const std::filesystem::path& catalogFolder,
                                           const CCategory& category) {
    std::vector<const CCategory*> chain;
    for (const CCategory* c = &category; c != nullptr; c = c->m_pParent) chain.push_back(c);
    std::filesystem::path folder = catalogFolder;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) folder /= SafeFileName((*it)->m_strName);
    return folder;
}

std::filesystem::path EntryExportPage(const std::filesystem::path& catalogFolder, const CDiskInfo& entry,
                                      std::string_view extension) {
    std::filesystem::path folder =
        entry.m_pCategory ? CategoryExportFolder(catalogFolder, *entry.m_pCategory) : catalogFolder;
    std::string name = SafeFileName(entry.m_strName);
    name += extension;
    return folder / name;
}

}  // namespace pelko::catalog
