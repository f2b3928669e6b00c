#pragma once
// Totals over the catalog's items and the texts that describe them: a multi-line description
// (the item's information in the views and the exports), a one-line status text for the status
// bar and a short size text for list columns. Every text is model bytes; lines are separated by
// "\r\n". Byte totals are shown in megabytes (bytes / 1048576) with three decimals.

#include <cstdint>
#include <string>

namespace pelko::catalog {

class CCategory;
class CCD;
class CDir;
class CDiskInfo;
class CFileInfo;

// Totals over the whole subtree of a category, the category itself not counted.
struct CategoryTotals {
    double scanBytes = 0;
    double currentBytes = 0;
    std::uint32_t folderCount = 0;
    std::uint32_t fileCount = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t categoryCount = 0;
};

// Visits the category's entries and then each sub-category in order, depth first, adding every
// entry's four statistics and counting entries and sub-categories.
CategoryTotals AggregateCategory(const CCategory& category);

// Totals over the subtree below a folder, the folder itself not counted.
struct FolderTotals {
    double bytes = 0;
    std::uint32_t fileCount = 0;
    std::uint32_t folderCount = 0;
};
FolderTotals AggregateFolder(const CDir& dir);

// "%.3f" of bytes / 1048576.
std::string MegabytesText(double bytes);

std::string CategoryDescription(const CCategory& category);
std::string CategorySizeText(const CCategory& category);
// With `listDiskOnly` (the setting that lists only scan objects) the category count shows 0.
std::string CategoryStatusText(const CCategory& category, bool listDiskOnly);

// An entry whose file and folder counts are both 0 was written before statistics existed: its
// description and size text are then one text that asks to open it.
std::string EntryDescription(const CDiskInfo& entry);
std::string EntrySizeText(const CDiskInfo& entry);
std::string OldVersionEntryText();

// A loaded scan object: its display name, its stored totals and the memo of its root folder.
std::string DiscDescription(const CCD& cd);
std::string DiscStatusText(const CCD& cd);

std::string FolderDescription(const CDir& dir);
std::string FolderSizeText(const CDir& dir);
std::string FolderStatusText(const CDir& dir);

std::string FileDescription(const CFileInfo& file);
// Year, month, day, hour and minute of the file time as stored ("2003-7-4 9:5"), without any
// time-zone conversion; empty for a time past the last representable one (the high bit set).
std::string FileTimeText(std::uint64_t fileTime);

}  // namespace pelko::catalog
