#pragma once
// Deleting objects of the catalog with everything that belongs to them on the disk: an entry
// takes its disc file, its ZIP, its thumbnail folder (when asked) and its exported pages along;
// a category takes every entry and category below it. The files go once the catalog without
// the entry has been saved (see DeferredDeletions).

#include <filesystem>

namespace pelko::catalog {

class CCategory;
class CDir;
class CDiskInfo;
class CFileInfo;
class DeferredDeletions;
class DiscStore;

class ObjectDeletion {
public:
    ObjectDeletion(std::filesystem::path catalogFolder, const DiscStore& discs, DeferredDeletions& pending,
                   bool deletePictureFolders)
        : m_catalogFolder(std::move(catalogFolder)),
          m_discs(discs),
          m_pending(pending),
          m_deletePictureFolders(deletePictureFolders) {}

    // Removes the entry from its category and destroys it; its files wait in `pending` for the
    // next successful save of the catalog.
    void DeleteEntry(CDiskInfo& entry);

    // Deletes everything below the category depth first, then removes and destroys it. The
    // root cannot be deleted: false, and nothing happens.
    bool DeleteCategory(CCategory& category);

private:
    std::filesystem::path m_catalogFolder;
    const DiscStore& m_discs;
    DeferredDeletions& m_pending;
    bool m_deletePictureFolders;
};

// Removes a folder with its subtree, or a file, from the folder that holds it, marking the
// owning disc modified. False when it has no parent folder (the disc itself).
bool DeleteFolder(CDir& folder);
bool DeleteFile(CFileInfo& file);

}  // namespace pelko::catalog
