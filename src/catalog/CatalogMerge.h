#pragma once
// Folding another catalog into this one: its category tree merged by names, and the disc files
// and thumbnail folders of its "Disk" folder copied over without replacing anything here.

#include <filesystem>
#include <memory>

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

// Merges the entries and sub-categories of `other` into `target` by name: entries whose name
// `target` has are skipped, categories present on both sides are merged, new ones are created
// with their memos. Every addition marks the catalog modified.
void MergeCategory(const CCategory& other, CCategory& target, MessageLog& log, UserInterface& ui);

// Copies the disc files (".pkb", ".zip") and thumbnail folders of another "Disk" folder into
// this one. Nothing here is replaced, symbolic links are never followed, and other files (cover
// pictures) stay behind. Returns how many files were copied.
std::size_t CopyOtherDiskFolder(const std::filesystem::path& otherDisk,
                                const std::filesystem::path& thisDisk);

}  // namespace pelko::catalog
