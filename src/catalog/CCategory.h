#pragma once
// A category of the catalog: a name, a memo, sub-categories and scan-object entries.
//
// Both child lists follow one insertion rule: a new child goes before the first child whose
// name compares lower without regard to case, else at the end (so a descending list stays
// descending). Sub-category names are unique byte for byte; entry names are unique too,
// except that moving or adding an existing entry only warns. Every change marks the catalog
// modified through the root.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/CDiskInfo.h"

namespace pelko::catalog {

class CArchive;
class CRootCategory;
class MessageLog;
class UserInterface;

class CCategory {
public:
    static constexpr std::uint8_t kVersion = 0x24;
    // Smallest encoding of a body: version, two empty strings, two counts.
    static constexpr std::uint64_t kMinEncodedBytes = 1 + 1 + 1 + 4 + 4;
    // Deepest category nesting that is read.
    static constexpr int kMaxDepth = 1000;

    using CategoryList = std::vector<std::unique_ptr<CCategory>>;
    using EntryList = std::vector<std::unique_ptr<CDiskInfo>>;

    CCategory();
    virtual ~CCategory();
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    std::string m_strName;
    std::string m_strMemo;
    CCategory* m_pParent = nullptr;            // not stored; null for the root
    std::array<std::uint8_t, 8> m_reserved{};  // written back exactly as read
    bool m_bSortAscending = true;              // not stored

    const CategoryList& Subcategories() const { return m_subcategories; }
    const EntryList& Entries() const { return m_entries; }

    // Look-ups by byte-identical name.
    bool HasSubcategory(std::string_view name) const { return FindSubcategory(name) != nullptr; }
    CCategory* FindSubcategory(std::string_view name) const;
    bool HasEntry(std::string_view name) const { return FindEntry(name) != nullptr; }
    CDiskInfo* FindEntry(std::string_view name) const;
    // `category` itself or a sub-category of its name is present.
    bool ContainsSubcategory(const CCategory& category) const;

    // Renames unless a sibling (this category included) already has the name: then reports
    // "类别 %s 已经存在" and keeps the old name. The root can always be renamed.
    bool SetName(std::string_view name, MessageLog& log);

    // A new empty sub-category, or null after reporting "目录 %s 已经存在" (or, out of memory,
    // showing "内存不足!").
    CCategory* AddNewSubcategory(std::string_view name, MessageLog& log, UserInterface& ui);
    // Takes `child` unless a sub-category of its name exists ("类别 %s 已经存在"); on success
    // `child` is left empty.
    bool AddExistingSubcategory(std::unique_ptr<CCategory>& child, MessageLog& log);
    // A new entry, or null after reporting "光盘 %s 已经存在".
    CDiskInfo* AddNewEntry(std::string_view name, MessageLog& log);
    // Takes an entry made elsewhere; a duplicate name only draws the notice
    // "有同名项目存在 '%s', 最好更名".
    CDiskInfo* AddExistingEntry(std::unique_ptr<CDiskInfo> entry, MessageLog& log);

    // Moves a sub-category of this category under `target`, unless `target` has a sub-category
    // of its name ("类别 %s 已经存在"). Room in the target is made first, so running out of memory
    // leaves the category where it was, never lost or owned twice.
    bool MoveSubcategoryTo(const CCategory* child, CCategory& target, MessageLog& log);
    // Moves an entry of this category into `target` the same way; a duplicate name there only
    // draws the notice of AddExistingEntry.
    CDiskInfo* MoveEntryTo(const CDiskInfo* entry, CCategory& target, MessageLog& log);

    // `this` is `category` or lies below it.
    bool IsWithin(const CCategory& category) const;

    // Takes a child out without destroying it (null when it is not a child of this category).
    std::unique_ptr<CCategory> RemoveSubcategory(const CCategory* child);
    std::unique_ptr<CDiskInfo> RemoveEntry(const CDiskInfo* entry);

    // Names from the root down joined by "\", the root's name included.
    std::string Path() const;

    // Depth first: this category's entries in order, then each sub-category.
    CDiskInfo* FindEntryByLabel(std::string_view volumeLabel, std::uint32_t volumeSerial) const;
    CDiskInfo* FindEntryByFolderPath(std::string_view folderPath) const;

    // Sorts the whole subtree ascending by lower-cased name. True when any order changed.
    bool Sort();

    // Marks the catalog this category belongs to as modified.
    void MarkModified();
    CRootCategory* Root();

    // Reads or writes the body (no header).
    virtual void Serialize(CArchive& ar);

protected:
    void SerializeBody(CArchive& ar, int depth);

private:
    // An entry taken in whose name this category already has is kept, with a notice.
    void NoteNameTwin(const CDiskInfo& entry, MessageLog& log) const;

    template <typename List, typename Item>
    Item* InsertByRule(List& list, std::unique_ptr<Item> item);

    CategoryList m_subcategories;
    EntryList m_entries;
};

// "分类\子类\名称": the path of an entry's category, "\" and its name.
std::string EntryPath(const CDiskInfo& entry);

// Renames an entry unless its category already holds that name (the entry itself included):
// then reports "光盘 %s 已经存在" and keeps the old name.
bool SetEntryName(CDiskInfo& entry, std::string_view name, MessageLog& log);

}  // namespace pelko::catalog
