#pragma once
// Deleting objects of the catalog with everything that belongs to them on the disk: an entry
// takes its disc file, its ZIP, its thumbnail folder (when asked) and its exported pages along;
// a category takes every entry and category below it.

#include <filesystem>

namespace pelko::catalog {

class CCategory;
class CDir;
class CDiskInfo;
class CFileInfo;
class DiscStore;

class ObjectDeletion {
public:
    ObjectDeletion(std::filesystem::path catalogFolder, DiscStore& discs, bool deletePictureFolders)
        : m_catalogFolder(std::move(catalogFolder)),
          m_discs(discs),
          m_deletePictureFolders(deletePictureFolders) {}

    // Removes the entry from its category, deletes its files and destroys it. Files that
    // cannot be deleted are reported by the disc store; the entry goes all the same.
    void DeleteEntry(CDiskInfo& entry);

    // Deletes everything below the category depth first, then removes and destroys it. The
    // root cannot be deleted: false, and nothing happens.
    bool DeleteCategory(CCategory& category);

private:
    std::filesystem::path m_catalogFolder;
    DiscStore& m_discs;
    bool m_deletePictureFolders;
};

// Removes a folder with its subtree, or a file, from the folder that holds it, marking the
// owning disc modified. False when it has no parent folder (the disc itself).
bool DeleteFolder(CDir& folder);
bool DeleteFile(CFileInfo& file);

}  // namespace pelko::catalog
