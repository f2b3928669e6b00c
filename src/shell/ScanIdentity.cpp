#include "shell/ScanIdentity.h"

#include <algorithm>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"

namespace pelko::shell {

ScanObjectKey ScanObjectKey::Of(const catalog::CCD& cd) {
    return {cd.m_nKind, cd.m_strVolumeLabel, cd.m_dwVolumeSerial, cd.m_strFolderPath};
}

ScanObjectKey ScanObjectKey::Of(const catalog::CDiskInfo& entry) {
    return {entry.m_nKind, entry.m_strVolumeLabel, entry.m_dwVolumeSerial, entry.m_strFolderPath};
}

catalog::CDiskInfo* ScanObjectKey::FindIn(const catalog::CCategory& root) const {
    if (kind == catalog::CCD::kKindFixedDir) return root.FindEntryByFolderPath(folderPath);
    return root.FindEntryByLabel(label, serial);
}

CategoryPath CategoryPath::Of(const catalog::CCategory& category) {
    CategoryPath path;
    for (const catalog::CCategory* c = &category; c->m_pParent; c = c->m_pParent)
        path.m_names.push_back(c->m_strName);
    std::reverse(path.m_names.begin(), path.m_names.end());
    return path;
}

catalog::CCategory* CategoryPath::Resolve(catalog::CCategory& root) const {
    catalog::CCategory* category = &root;
    for (const std::string& name : m_names) {
        category = category->FindSubcategory(name);
        if (!category) return nullptr;
    }
    return category;
}

std::string CategoryPath::Text() const {
    std::string text;
    for (const std::string& name : m_names) {
        if (!text.empty()) text += '\\';
        text += name;
    }
    return text;
}

}  // namespace pelko::shell
