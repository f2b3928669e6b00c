#include "catalog/CCategory.h"

#include <algorithm>
#include <new>

#include "catalog/CArchive.h"
#include "catalog/CRootCategory.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace {

template <typename List>
auto FindByName(const List& list, std::string_view name) -> decltype(list.front().get()) {
    for (const auto& item : list)
        if (item->m_strName == name) return item.get();
    return nullptr;
}

template <typename List, typename Item>
std::unique_ptr<Item> TakeOut(List& list, const Item* item) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == item; });
    if (it == list.end()) return nullptr;
    std::unique_ptr<Item> taken = std::move(*it);
    list.erase(it);
    return taken;
}

// Selection sort by lower-cased name compared as bytes; the first of equal names stays first.
// True when anything moved.
template <typename List>
bool SortByLowerName(List& list) {
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const auto& item : list) keys.push_back(text::AsciiLower(item->m_strName));
    bool changed = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::size_t smallest = i;
        for (std::size_t j = i + 1; j < list.size(); ++j)
            if (keys[j] < keys[smallest]) smallest = j;
        if (smallest != i) {
            std::swap(list[i], list[smallest]);
            std::swap(keys[i], keys[smallest]);
            changed = true;
        }
    }
    return changed;
}

// Smallest encoding of an entry record: version, three empty strings, serial.
constexpr std::uint64_t kMinEntryBytes = 1 + 1 + 1 + 4 + 1;

}  // namespace

CCategory::CCategory() : m_strName("Pelko") {}

CCategory::~CCategory() = default;

CCategory* CCategory::FindSubcategory(std::string_view name) const {
    return FindByName(m_subcategories, name);
}

CDiskInfo* CCategory::FindEntry(std::string_view name) const { return FindByName(m_entries, name); }

bool CCategory::ContainsSubcategory(const CCategory& category) const {
    for (const auto& sub : m_subcategories)
        if (sub.get() == &category) return true;
    return HasSubcategory(category.m_strName);
}

template <typename List, typename Item>
Item* CCategory::InsertByRule(List& list, std::unique_ptr<Item> item) {
    const auto at = std::find_if(list.begin(), list.end(), [&](const auto& existing) {
        return text::CompareNoCase(existing->m_strName, item->m_strName) < 0;
    });
    Item* raw = item.get();
    list.insert(at, std::move(item));
    return raw;
}

bool CCategory::SetName(std::string_view name, MessageLog& log) {
    if (m_pParent && m_pParent->HasSubcategory(name)) {
        log.Post(MessageKind::Hint, text::LocalWith("类别 %s 已经存在", name));
        return false;
    }
    m_strName = name;
    MarkModified();
    return true;
}

CCategory* CCategory::AddNewSubcategory(std::string_view name, MessageLog& log, UserInterface& ui) {
    if (HasSubcategory(name)) {
        log.Post(MessageKind::Hint, text::LocalWith("目录 %s 已经存在", name));
        return nullptr;
    }
    try {
        auto child = std::make_unique<CCategory>();
        child->m_strName = name;
        child->m_pParent = this;
        CCategory* added = InsertByRule(m_subcategories, std::move(child));
        MarkModified();
        return added;
    } catch (const std::bad_alloc&) {
        ui.ShowMessage(text::Local("内存不足!"));
        return nullptr;
    }
}

bool CCategory::AddExistingSubcategory(std::unique_ptr<CCategory>& child, MessageLog& log) {
    if (HasSubcategory(child->m_strName)) {
        log.Post(MessageKind::Hint, text::LocalWith("类别 %s 已经存在", child->m_strName));
        return false;
    }
    child->m_pParent = this;
    InsertByRule(m_subcategories, std::move(child));
    MarkModified();
    return true;
}

CDiskInfo* CCategory::AddNewEntry(std::string_view name, MessageLog& log) {
    if (HasEntry(name)) {
        log.Post(MessageKind::Hint, text::LocalWith("光盘 %s 已经存在", name));
        return nullptr;
    }
    auto entry = std::make_unique<CDiskInfo>();
    entry->m_strName = name;
    entry->m_pCategory = this;
    CDiskInfo* added = InsertByRule(m_entries, std::move(entry));
    MarkModified();
    return added;
}

void CCategory::NoteNameTwin(const CDiskInfo& entry, MessageLog& log) const {
    if (HasEntry(entry.m_strName))
        log.Post(MessageKind::Hint, text::LocalWith("有同名项目存在 '%s', 最好更名", entry.m_strName));
}

CDiskInfo* CCategory::AddExistingEntry(std::unique_ptr<CDiskInfo> entry, MessageLog& log) {
    NoteNameTwin(*entry, log);
    entry->m_pCategory = this;
    CDiskInfo* added = InsertByRule(m_entries, std::move(entry));
    MarkModified();
    return added;
}

std::unique_ptr<CCategory> CCategory::RemoveSubcategory(const CCategory* child) {
    auto taken = TakeOut(m_subcategories, child);
    if (taken) {
        MarkModified();
        taken->m_pParent = nullptr;
    }
    return taken;
}

std::unique_ptr<CDiskInfo> CCategory::RemoveEntry(const CDiskInfo* entry) {
    auto taken = TakeOut(m_entries, entry);
    if (taken) {
        MarkModified();
        taken->m_pCategory = nullptr;
    }
    return taken;
}

bool CCategory::MoveSubcategoryTo(const CCategory* child, CCategory& target, MessageLog& log) {
    const auto at = std::find_if(m_subcategories.begin(), m_subcategories.end(),
                                 [&](const auto& p) { return p.get() == child; });
    if (at == m_subcategories.end()) return false;
    if (target.HasSubcategory(child->m_strName)) {
        log.Post(MessageKind::Hint, text::LocalWith("类别 %s 已经存在", child->m_strName));
        return false;
    }
    target.m_subcategories.reserve(target.m_subcategories.size() + 1);
    std::unique_ptr<CCategory> taken = RemoveSubcategory(child);
    taken->m_pParent = &target;
    target.InsertByRule(target.m_subcategories, std::move(taken));
    target.MarkModified();
    return true;
}

CDiskInfo* CCategory::MoveEntryTo(const CDiskInfo* entry, CCategory& target, MessageLog& log) {
    const auto at =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& p) { return p.get() == entry; });
    if (at == m_entries.end()) return nullptr;
    target.NoteNameTwin(*entry, log);
    target.m_entries.reserve(target.m_entries.size() + 1);
    std::unique_ptr<CDiskInfo> taken = RemoveEntry(entry);
    taken->m_pCategory = &target;
    CDiskInfo* moved = target.InsertByRule(target.m_entries, std::move(taken));
    target.MarkModified();
    return moved;
}

bool CCategory::IsWithin(const CCategory& category) const {
    for (const CCategory* c = this; c != nullptr; c = c->m_pParent)
        if (c == &category) return true;
    return false;
}

std::string CCategory::Path() const {
    if (!m_pParent) return m_strName;
    std::string path = m_pParent->Path();
    path += '\\';
    path += m_strName;
    return path;
}

CDiskInfo* CCategory::FindEntryByLabel(std::string_view volumeLabel, std::uint32_t volumeSerial) const {
    for (const auto& entry : m_entries)
        if (entry->m_strVolumeLabel == volumeLabel && entry->m_dwVolumeSerial == volumeSerial)
            return entry.get();
    for (const auto& sub : m_subcategories)
        if (CDiskInfo* found = sub->FindEntryByLabel(volumeLabel, volumeSerial)) return found;
    return nullptr;
}

CDiskInfo* CCategory::FindEntryByFolderPath(std::string_view folderPath) const {
    for (const auto& entry : m_entries)
        if (entry->m_strFolderPath == folderPath) return entry.get();
    for (const auto& sub : m_subcategories)
        if (CDiskInfo* found = sub->FindEntryByFolderPath(folderPath)) return found;
    return nullptr;
}

bool CCategory::Sort() {
    // The direction flag is set before every sort and turned over after it, so a sort run from
    // the tree always comes out ascending.
    m_bSortAscending = true;
    bool changed = SortByLowerName(m_subcategories);
    changed = SortByLowerName(m_entries) || changed;
    m_bSortAscending = !m_bSortAscending;
    for (const auto& sub : m_subcategories) changed = sub->Sort() || changed;
    return changed;
}

CRootCategory* CCategory::Root() {
    CCategory* category = this;
    while (category->m_pParent) category = category->m_pParent;
    return dynamic_cast<CRootCategory*>(category);
}

void CCategory::MarkModified() {
    if (CRootCategory* root = Root()) root->m_bModified = true;
}

void CCategory::Serialize(CArchive& ar) { SerializeBody(ar, 0); }

void CCategory::SerializeBody(CArchive& ar, int depth) {
    if (ar.IsStoring()) {
        ar.WriteByte(kVersion);
        ar.WriteString(m_strName);
        ar.WriteString(m_strMemo);
        ar.WriteRaw(m_reserved);
        ar.WriteDword(static_cast<std::uint32_t>(m_subcategories.size()));
        for (const auto& sub : m_subcategories) sub->SerializeBody(ar, depth + 1);
        ar.WriteDword(static_cast<std::uint32_t>(m_entries.size()));
        for (const auto& entry : m_entries) entry->Serialize(ar);
        return;
    }
    if (depth > kMaxDepth) throw ArchiveError(ArchiveError::Kind::BadData, "categories nested too deep");
    const std::uint8_t version = ar.ReadByte();
    m_strName = ar.ReadString();
    m_strMemo = ar.ReadString();
    if (version >= 0x24) ar.ReadRaw(m_reserved);
    m_subcategories.clear();
    m_entries.clear();
    const auto subCount = static_cast<std::int32_t>(ar.ReadDword());
    if (subCount > 0) {
        m_subcategories.reserve(ar.ReservableCount(static_cast<std::uint32_t>(subCount), kMinEncodedBytes));
        for (std::int32_t i = 0; i < subCount; ++i) {
            auto sub = std::make_unique<CCategory>();
            sub->m_pParent = this;
            sub->SerializeBody(ar, depth + 1);
            m_subcategories.push_back(std::move(sub));
        }
    }
    const auto entryCount = static_cast<std::int32_t>(ar.ReadDword());
    if (entryCount > 0) {
        m_entries.reserve(ar.ReservableCount(static_cast<std::uint32_t>(entryCount), kMinEntryBytes));
        for (std::int32_t i = 0; i < entryCount; ++i) {
            auto entry = std::make_unique<CDiskInfo>();
            entry->Serialize(ar);
            entry->m_pCategory = this;
            m_entries.push_back(std::move(entry));
        }
    }
}

std::string EntryPath(const CDiskInfo& entry) {
    std::string path = entry.m_pCategory ? entry.m_pCategory->Path() : std::string();
    path += '\\';
    path += entry.m_strName;
    return path;
}

bool SetEntryName(CDiskInfo& entry, std::string_view name, MessageLog& log) {
    if (entry.m_pCategory && entry.m_pCategory->HasEntry(name)) {
        log.Post(MessageKind::Hint, text::LocalWith("光盘 %s 已经存在", name));
        return false;
    }
    entry.m_strName = name;
    if (entry.m_pCategory) entry.m_pCategory->MarkModified();
    return true;
}

}  // namespace pelko::catalog
