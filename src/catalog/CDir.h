#pragma once
// A folder of a scanned medium, or the listing of an archive shown as a folder.
//
// The file list and the folder list are each kept in ascending order of name under
// text::CompareNoCase and never hold two names that compare equal: insertion is a binary
// search that refuses an equal name. A folder owns its children; each child points back to it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog/CFileInfo.h"

namespace pelko::catalog {

class CArchive;
class CCD;

class CDir {
public:
    static constexpr std::uint8_t kVersion = 0x23;
    static constexpr std::uint8_t kKindFolder = 0;
    static constexpr std::uint8_t kKindArchive = 1;
    // Smallest encoding of a record: version, two empty strings, two counts.
    static constexpr std::uint64_t kMinEncodedBytes = 1 + 1 + 1 + 4 + 4;
    // Deepest folder nesting that is read or walked. Far beyond what a path on any supported
    // system can reach, and small enough that the recursive readers and writers stay well
    // within a thread's stack.
    static constexpr int kMaxDepth = 1000;
    // An owning disc is looked for among at most this many folders, starting with this one.
    static constexpr int kMaxOwnerChain = 130;

    using FileList = std::vector<std::unique_ptr<CFileInfo>>;
    using DirList = std::vector<std::unique_ptr<CDir>>;

    CDir() = default;
    virtual ~CDir();
    CDir(const CDir&) = delete;
    CDir& operator=(const CDir&) = delete;

    CDir* m_pParent = nullptr;  // not stored; null for the root, which is the CCD
    text::PackedString m_strName;
    text::PackedString m_strMemo;
    std::uint8_t m_nDirKind = kKindFolder;

    const FileList& Files() const { return m_files; }
    const DirList& Subdirs() const { return m_subdirs; }

    // Inserts at the sorted position and sets the parent. Returns the inserted record, or null
    // when a record of an equal name exists (the new record is then destroyed).
    CFileInfo* InsertFile(std::unique_ptr<CFileInfo> file);
    CDir* InsertSubdir(std::unique_ptr<CDir> dir);

    // Removes and destroys a child with its subtree, and marks the owning disc modified.
    void RemoveFileAt(std::size_t index);
    void RemoveSubdirAt(std::size_t index);
    // The same for a child given by address; false when it is not a child of this folder.
    bool RemoveFile(const CFileInfo* file);
    bool RemoveSubdir(const CDir* dir);

    // Moves a child whose name was changed to its place in the sorted list. The new name is not
    // checked against the others: a name equal to another's goes after it.
    void KeepSorted(const CFileInfo* file);
    void KeepSorted(const CDir* dir);

    // The disc this folder belongs to: followed over at most kMaxOwnerChain parents.
    CCD* OwningCD();
    virtual CCD* AsCD() { return nullptr; }

    // Adds this folder's files, sub-folders and file bytes, then those of every sub-folder.
    void Accumulate(double& bytes, std::uint32_t& fileCount, std::uint32_t& folderCount) const;

    // Full path on the scanned medium: the root's name, then the names below it joined by the
    // root's separator ("/" for a root that starts with "/", else "\"). The separator is not
    // doubled after a root that already ends in it, so D:\ and D: both give D:\a.
    std::string FullPath() const;
    // Path below the root, each name preceded by "\": empty for the root.
    std::string RelativePath() const;

    virtual void Serialize(CArchive& ar);

protected:
    void SerializeFolder(CArchive& ar, int depth);

private:
    FileList m_files;
    DirList m_subdirs;
};

}  // namespace pelko::catalog
