#include "catalog/ExportPaths.h"

#include <vector>

#include "catalog/CCategory.h"
#include "catalog/DiscStore.h"

namespace pelko::catalog {

namespace {

// Leaves room for the ".htm" or ".txt" that follows the name, and for the ".tmpXXXXXX" of the
// temporary file that replaces it.
constexpr std::size_t kMaxNameBytes = 255 - 4 - 10;

}  // namespace

std::string ExportSafeName(std::string_view modelName) {
    std::string name = SafeFileName(modelName);
    if (name.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;  // UTF-8 continuation
        name.resize(cut);
    }
    if (name.empty()) name.assign(1, '_');
    return name;
}

std::filesystem::path CategoryExportFolder(const std::filesystem::path& catalogFolder,
                                           const CCategory& category) {
    std::vector<const CCategory*> chain;
    for (const CCategory* c = &category; c != nullptr; c = c->m_pParent) chain.push_back(c);
    std::filesystem::path folder = catalogFolder;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) folder /= ExportSafeName((*it)->m_strName);
    return folder;
}

std::filesystem::path EntryExportPage(const std::filesystem::path& catalogFolder, const CDiskInfo& entry,
                                      std::string_view extension) {
    std::filesystem::path folder =
        entry.m_pCategory ? CategoryExportFolder(catalogFolder, *entry.m_pCategory) : catalogFolder;
    std::string name = ExportSafeName(entry.m_strName);
    name += extension;
    return folder / name;
}

}  // namespace pelko::catalog
