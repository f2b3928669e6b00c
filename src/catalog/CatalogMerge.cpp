#include "catalog/CatalogMerge.h"

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "platform/FileCopy.h"
#include "platform/WholeFile.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

// Deeper folders than this are not copied out of a thumbnail folder (they hold one level).
constexpr int kMaxCopyDepth = 64;

bool ExistsNoFollow(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

enum class EntryType { Folder, File, Other };

EntryType TypeOf(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_status status = entry.symlink_status(ec);
    if (ec) return EntryType::Other;
    if (fs::is_directory(status)) return EntryType::Folder;
    if (fs::is_regular_file(status)) return EntryType::File;
    return EntryType::Other;
}

// Copies a folder's regular files and folders into `to`, which exists; nothing is replaced.
std::size_t CopyFolderContent(const fs::path& from, const fs::path& to, int depth) {
    std::size_t copied = 0;
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = to / it->path().filename();
        switch (TypeOf(*it)) {
            case EntryType::Folder:
                if (std::error_code made;
                    depth < kMaxCopyDepth && !ExistsNoFollow(target) && fs::create_directory(target, made))
                    copied += CopyFolderContent(it->path(), target, depth + 1);
                break;
            case EntryType::File:
                if (platform::CopyFileNoReplace(it->path(), target) == platform::CopyResult::Copied) ++copied;
                break;
            case EntryType::Other:
                break;
        }
    }
    return copied;
}

// Whether a file of another "Disk" folder is brought over: disc files unless this folder has
// them already, plain or compressed.
bool ShouldCopyDiscFile(const std::string& name, const fs::path& thisDisk) {
    const std::string lower = text::AsciiLower(name);
    constexpr std::string_view kPkb = ".pkb";
    constexpr std::string_view kZip = ".zip";
    if (lower.find(kPkb, 1) != std::string::npos)
        return !ExistsNoFollow(thisDisk / name) && !ExistsNoFollow(thisDisk / (name + std::string(kZip)));
    if (lower.find(kZip, 1) != std::string::npos) {
        if (ExistsNoFollow(thisDisk / name)) return false;
        if (lower.ends_with(kZip))
            return !ExistsNoFollow(thisDisk / name.substr(0, name.size() - kZip.size()));
        return true;
    }
    return false;
}

std::unique_ptr<CRootCategory> ReadTree(const std::vector<std::uint8_t>& bytes, bool expectHeader) {
    auto root = std::make_unique<CRootCategory>();
    return ReadCatalogTree(bytes, expectHeader, *root) == CatalogRead::Ok ? std::move(root) : nullptr;
}

}  // namespace

bool HoldsCatalogFile(const fs::path& folder) {
    return ExistsNoFollow(folder / CPelkoDoc::kOldCatalogFile) ||
           ExistsNoFollow(folder / CPelkoDoc::kCatalogFile);
}

std::unique_ptr<CRootCategory> LoadOtherCatalog(const fs::path& folder) {
    std::vector<std::uint8_t> bytes;
    const platform::WholeFileRead read = platform::ReadWholeFile(folder / CPelkoDoc::kCatalogFile, bytes);
    if (read == platform::WholeFileRead::Ok) {
        auto root = std::make_unique<CRootCategory>();
        const CatalogRead result = ReadCatalogTree(bytes, true, *root);
        if (result == CatalogRead::Ok) return root;
        if (result == CatalogRead::BadHeader) return ReadTree(bytes, false);
        return nullptr;
    }
    if (read == platform::WholeFileRead::Unreadable) return nullptr;
    bytes.clear();
    if (platform::ReadWholeFile(folder / CPelkoDoc::kOldCatalogFile, bytes) != platform::WholeFileRead::Ok)
        return nullptr;
    return ReadTree(bytes, false);
}

void MergeCategory(const CCategory& other, CCategory& target, MessageLog& log, UserInterface& ui) {
    for (const auto& entry : other.Entries()) {
        if (target.HasEntry(entry->m_strName)) continue;
        CDiskInfo* added = target.AddNewEntry(entry->m_strName, log);
        if (!added) continue;
        added->m_nKind = entry->m_nKind;
        added->m_strVolumeLabel = entry->m_strVolumeLabel;
        added->m_strMemo = entry->m_strMemo;
        added->m_dwVolumeSerial = entry->m_dwVolumeSerial;
        added->m_strFolderPath = entry->m_strFolderPath;
        added->m_dScanBytes = entry->m_dScanBytes;
        added->m_dCurrentBytes = entry->m_dCurrentBytes;
        added->m_nFileCount = entry->m_nFileCount;
        added->m_nFolderCount = entry->m_nFolderCount;
    }
    for (const auto& sub : other.Subcategories()) {
        if (CCategory* existing = target.FindSubcategory(sub->m_strName)) {
            MergeCategory(*sub, *existing, log, ui);
            continue;
        }
        CCategory* added = target.AddNewSubcategory(sub->m_strName, log, ui);
        if (!added) continue;
        added->m_strMemo = sub->m_strMemo;
        MergeCategory(*sub, *added, log, ui);
    }
}

std::size_t CopyOtherDiskFolder(const fs::path& otherDisk, const fs::path& thisDisk) {
    std::error_code ec;
    fs::create_directories(thisDisk, ec);
    std::size_t copied = 0;
    for (fs::directory_iterator it(otherDisk, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().native();
        const fs::path target = thisDisk / name;
        switch (TypeOf(*it)) {
            case EntryType::Folder: {
                std::error_code made;
                if (!ExistsNoFollow(target) && fs::create_directory(target, made))
                    copied += CopyFolderContent(it->path(), target, 1);
                break;
            }
            case EntryType::File:
                if (ShouldCopyDiscFile(name, thisDisk) &&
                    platform::CopyFileNoReplace(it->path(), target) == platform::CopyResult::Copied)
                    ++copied;
                break;
            case EntryType::Other:
                break;
        }
    }
    return copied;
}

}  // namespace pelko::catalog
