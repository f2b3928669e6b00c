#pragma once
// Folding another catalog into this one: its category tree merged by names, and the disc files
// and thumbnail folders of its "Disk" folder copied over without replacing anything here.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog/CRootCategory.h"

namespace pelko::catalog {

class MessageLog;
class UserInterface;

// True when the folder holds a catalog file ("tnk.dat" or the older "pelko.pkb").
bool HoldsCatalogFile(const std::filesystem::path& folder);

// Reads the category tree of the catalog in `folder` (its find history is not read): "tnk.dat"
// with its header, or without one when the header is not there, else "pelko.pkb". Null when
// neither can be read.
std::unique_ptr<CRootCategory> LoadOtherCatalog(const std::filesystem::path& folder);

// What copying another "Disk" folder did: how many files arrived, and the files that could not
// be copied (their paths in this folder), each already reported.
struct DiskFolderCopy {
    std::size_t copied = 0;
    std::vector<std::filesystem::path> failed;
    std::vector<std::string> failedDiscFiles;  // the names among them of disc files (".pkb", ".zip")

    // File names (as in this folder) of the disc files whose copy failed and of which this
    // folder holds neither the plain file nor the ZIP: entries naming them would be broken.
    std::set<std::string> MissingDiscFiles(const std::filesystem::path& thisDisk) const;
};

// Copies the disc files (".pkb", ".zip") and thumbnail folders of another "Disk" folder into
// this one. Nothing here is replaced, symbolic links are never followed, and other files (cover
// pictures) stay behind. A ZIP never comes over beside a plain disc file of the same name here,
// which holds this catalog's own, possibly newer, content. Each failed copy is reported.
DiskFolderCopy CopyOtherDiskFolder(const std::filesystem::path& otherDisk, const std::filesystem::path& thisDisk,
                                   MessageLog& log);

// What a merge added.
struct MergeCounts {
    int entries = 0;
    int categories = 0;
    int leftOut = 0;  // entries whose disc file did not arrive
};

// Merges the entries and sub-categories of `other` into `target` by name: entries whose name
// `target` has are skipped, categories present on both sides are merged, new ones are created
// with their memos. An entry whose disc file is in `missingDiscFiles` is left out and reported:
// filed, it would point at nothing. Every addition marks the catalog modified.
void MergeCategory(const CCategory& other, CCategory& target, MessageLog& log, UserInterface& ui,
                   const std::set<std::string>& missingDiscFiles, MergeCounts& counts);

}  // namespace pelko::catalog
