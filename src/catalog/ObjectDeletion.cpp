#include "catalog/ObjectDeletion.h"

#include <array>
#include <memory>
#include <string_view>
#include <system_error>

#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/DiscStore.h"
#include "catalog/ExportPaths.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

// Deletes a page file unless something other than a file stands there.
void DeletePage(const fs::path& page) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(page, ec);
    if (ec || fs::is_directory(status)) return;
    fs::remove(page, ec);
}

}  // namespace

void ObjectDeletion::DeleteEntry(CDiskInfo& entry) {
    CCategory* category = entry.m_pCategory;
    constexpr std::array<std::string_view, 2> kPageExtensions{".htm", ".txt"};
    std::array<fs::path, 2> pages;
    for (std::size_t i = 0; i < pages.size(); ++i)
        pages[i] = EntryExportPage(m_catalogFolder, entry, kPageExtensions[i]);

    std::unique_ptr<CDiskInfo> taken = category ? category->RemoveEntry(&entry) : nullptr;
    for (const fs::path& page : pages) DeletePage(page);
    m_discs.DeleteFiles(entry, m_deletePictureFolders);
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
