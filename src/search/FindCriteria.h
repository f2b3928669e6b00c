#pragma once
// What a search looks for and where: the five options of the find dialog and the target mask.

#include <cstdint>
#include <string>

namespace pelko::search {

// Bits of the target mask ("FW_nFindWhat"). The four content targets need the disc files; the
// others are answered from the catalog tree.
enum FindTarget : int {
    kFileName = 1,
    kFileMemo = 2,
    kFolderName = 4,
    kFolderMemo = 8,
    kCategoryName = 16,
    kCategoryMemo = 32,
    kDiscName = 64,
    kDiscMemo = 128,
    kDiscLabel = 256,
};

inline constexpr int kContentTargets = kFileName | kFileMemo | kFolderName | kFolderMemo;
inline constexpr int kCatalogTargets = kCategoryName | kCategoryMemo | kDiscName | kDiscMemo | kDiscLabel;
inline constexpr int kAllTargets = kContentTargets | kCatalogTargets;

struct FindCriteria {
    std::string text;               // model bytes, trimmed; folded when the search ignores case
    int targets = kFileName;        // FindTarget bits
    bool partMatch = true;          // false: the value must equal the one word
    bool caseSensitive = false;     // false: only the letters A-Z fold to a-z
    bool onlyThisCategory = false;  // sub-categories are not entered
    bool readme = false;            // also the readme text of each scan object

    bool HasContentTargets() const { return (targets & kContentTargets) != 0; }
    bool HasCatalogTargets() const { return (targets & kCatalogTargets) != 0; }
};

}  // namespace pelko::search
