#include "catalog/ObjectDeletion.h"

#include <memory>
#include <string_view>

#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/DeferredDeletions.h"
#include "catalog/DiscStore.h"
#include "catalog/ExportPaths.h"

namespace pelko::catalog {

void ObjectDeletion::DeleteEntry(CDiskInfo& entry) {
    const std::string& label = entry.m_strVolumeLabel;
    const std::uint32_t serial = entry.m_dwVolumeSerial;
    EntryLeftovers leftovers;
    leftovers.volumeLabel = label;
    leftovers.volumeSerial = serial;
    leftovers.discFiles = {m_discs.PlainPath(label, serial), m_discs.ZipPath(label, serial)};
    leftovers.index = m_discs.IndexPath(label, serial);
    for (const std::string_view extension : {".htm", ".txt"})
        leftovers.pages.push_back(EntryExportPage(m_catalogFolder, entry, extension));
    if (m_deletePictureFolders) leftovers.folders.push_back(m_discs.PictureFolder(label, serial));

    CCategory* category = entry.m_pCategory;
    std::unique_ptr<CDiskInfo> taken = category ? category->RemoveEntry(&entry) : nullptr;
    m_pending.Add(std::move(leftovers));
}

bool ObjectDeletion::DeleteCategory(CCategory& category) {
    CCategory* parent = category.m_pParent;
    if (parent == nullptr) return false;
    while (!category.Entries().empty()) DeleteEntry(*category.Entries().back());
    while (!category.Subcategories().empty()) DeleteCategory(*category.Subcategories().back());
    parent->RemoveSubcategory(&category);
    return true;
}

bool DeleteFolder(CDir& folder) {
    CDir* parent = folder.m_pParent;
    return parent != nullptr && parent->RemoveSubdir(&folder);
}

bool DeleteFile(CFileInfo& file) {
    CDir* parent = file.m_pParent;
    return parent != nullptr && parent->RemoveFile(&file);
}

}  // namespace pelko::catalog
