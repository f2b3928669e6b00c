#include "catalog/CDir.h"

#include <algorithm>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace {

// Index of the first record whose name compares greater or equal to `name`.
template <typename List>
std::size_t LowerBound(const List& list, std::string_view name) {
    const auto it = std::lower_bound(
        list.begin(), list.end(), name,
        [](const auto& item, std::string_view n) { return text::CompareNoCase(item->m_strName, n) < 0; });
    return static_cast<std::size_t>(it - list.begin());
}

template <typename List, typename Item>
Item* InsertSorted(List& list, std::unique_ptr<Item> item, CDir* parent) {
    // Scans append in name order surprisingly often (sorted file systems, reloaded lists), so
    // check the end first before the binary search.
    std::size_t at = list.size();
    if (!list.empty()) {
        const int vsLast = text::CompareNoCase(list.back()->m_strName, item->m_strName);
        if (vsLast == 0) return nullptr;
        if (vsLast > 0) {
            at = LowerBound(list, item->m_strName);
            if (text::CompareNoCase(list[at]->m_strName, item->m_strName) == 0) return nullptr;
        }
    }
    item->m_pParent = parent;
    Item* raw = item.get();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return raw;
}

template <typename List, typename Item>
std::ptrdiff_t IndexOf(const List& list, const Item* item) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == item; });
    return it == list.end() ? -1 : it - list.begin();
}

template <typename List, typename Item>
void MoveToSortedPlace(List& list, const Item* item) {
    const std::ptrdiff_t from = IndexOf(list, item);
    if (from < 0) return;
    auto taken = std::move(list[static_cast<std::size_t>(from)]);
    list.erase(list.begin() + from);
    const auto at = std::upper_bound(
        list.begin(), list.end(), taken->m_strName,
        [](const auto& name, const auto& p) { return text::CompareNoCase(name, p->m_strName) < 0; });
    // The erase left room for the insert, so it cannot fail and lose the record.
    list.insert(at, std::move(taken));
}

}  // namespace

CDir::~CDir() = default;

bool CDir::RemoveFile(const CFileInfo* file) {
    const std::ptrdiff_t at = IndexOf(m_files, file);
    if (at < 0) return false;
    RemoveFileAt(static_cast<std::size_t>(at));
    return true;
}

bool CDir::RemoveSubdir(const CDir* dir) {
    const std::ptrdiff_t at = IndexOf(m_subdirs, dir);
    if (at < 0) return false;
    RemoveSubdirAt(static_cast<std::size_t>(at));
    return true;
}

void CDir::KeepSorted(const CFileInfo* file) { MoveToSortedPlace(m_files, file); }

void CDir::KeepSorted(const CDir* dir) { MoveToSortedPlace(m_subdirs, dir); }

CFileInfo* CDir::InsertFile(std::unique_ptr<CFileInfo> file) {
    return InsertSorted(m_files, std::move(file), this);
}

CDir* CDir::InsertSubdir(std::unique_ptr<CDir> dir) { return InsertSorted(m_subdirs, std::move(dir), this); }

void CDir::RemoveFileAt(std::size_t index) {
    m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(index));
    if (CCD* cd = OwningCD()) cd->m_bModified = true;
}

void CDir::RemoveSubdirAt(std::size_t index) {
    m_subdirs.erase(m_subdirs.begin() + static_cast<std::ptrdiff_t>(index));
    if (CCD* cd = OwningCD()) cd->m_bModified = true;
}

CCD* CDir::OwningCD() {
    CDir* dir = this;
    for (int visited = 0; dir && visited < kMaxOwnerChain; ++visited) {
        if (CCD* cd = dir->AsCD()) return cd;
        dir = dir->m_pParent;
    }
    return nullptr;
}

void CDir::Accumulate(double& bytes, std::uint32_t& fileCount, std::uint32_t& folderCount) const {
    fileCount += static_cast<std::uint32_t>(m_files.size());
    folderCount += static_cast<std::uint32_t>(m_subdirs.size());
    for (const auto& file : m_files) bytes += static_cast<double>(file->Size());
    for (const auto& dir : m_subdirs) dir->Accumulate(bytes, fileCount, folderCount);
}

std::string CDir::FullPath() const {
    if (!m_pParent) return m_strName.str();
    std::vector<const CDir*> chain;
    const CDir* root = this;
    for (; root->m_pParent; root = root->m_pParent) chain.push_back(root);
    std::string path = root->m_strName.str();
    const char sep = !path.empty() && path.front() == '/' ? '/' : '\\';
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::size_t first = path.find(sep);
        if (first == std::string::npos || first + 1 != path.size()) path += sep;
        path += (*it)->m_strName;
    }
    return path;
}

std::string CDir::RelativePath() const {
    if (!m_pParent) return {};
    std::string path = m_pParent->RelativePath();
    path += '\\';
    path += m_strName.view();
    return path;
}

void CDir::Serialize(CArchive& ar) { SerializeFolder(ar, 0); }

void CDir::SerializeFolder(CArchive& ar, int depth) {
    if (ar.IsStoring()) {
        ar.WriteByte(kVersion);
        ar.WriteByte(m_nDirKind);
        ar.WriteString(m_strName);
        ar.WriteString(m_strMemo);
        ar.WriteDword(static_cast<std::uint32_t>(m_files.size()));
        for (const auto& file : m_files) file->Serialize(ar);
        ar.WriteDword(static_cast<std::uint32_t>(m_subdirs.size()));
        for (const auto& dir : m_subdirs) dir->SerializeFolder(ar, depth + 1);
        return;
    }
    if (depth > kMaxDepth) throw ArchiveError(ArchiveError::Kind::BadData, "folders nested too deep");
    const std::uint8_t version = ar.ReadByte();
    if (version >= 0x23) m_nDirKind = ar.ReadByte();
    m_strName = ar.ReadStringView();
    m_strMemo = ar.ReadStringView();

    // Counts are signed in the format: zero or less means no element.
    const auto fileCount = static_cast<std::int32_t>(ar.ReadDword());
    if (fileCount > 0) {
        m_files.reserve(
            ar.ReservableCount(static_cast<std::uint32_t>(fileCount), CFileInfo::kMinEncodedBytes));
        for (std::int32_t i = 0; i < fileCount; ++i) {
            auto file = std::make_unique<CFileInfo>();
            file->Serialize(ar);
            file->m_pParent = this;
            m_files.push_back(std::move(file));
        }
    }
    const auto dirCount = static_cast<std::int32_t>(ar.ReadDword());
    if (dirCount > 0) {
        m_subdirs.reserve(ar.ReservableCount(static_cast<std::uint32_t>(dirCount), kMinEncodedBytes));
        for (std::int32_t i = 0; i < dirCount; ++i) {
            auto dir = std::make_unique<CDir>();
            dir->m_pParent = this;
            dir->SerializeFolder(ar, depth + 1);
            m_subdirs.push_back(std::move(dir));
        }
    }
}

}  // namespace pelko::catalog
