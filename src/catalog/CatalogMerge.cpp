#include "catalog/CatalogMerge.h"

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "platform/FileCopy.h"
#include "platform/WholeFile.h"
#include "text/Codec.h"
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

constexpr std::string_view kPkb = ".pkb";
constexpr std::string_view kZip = ".zip";

void ReportFailedCopy(const fs::path& target, DiskFolderCopy& result, MessageLog& log) {
    log.Post(MessageKind::Error, text::Local("复制文件 ") + ModelPath(target) + text::Local(" 失败"));
    result.failed.push_back(target);
}

// False when the copy failed (and was reported).
bool CopyFile(const fs::path& from, const fs::path& to, DiskFolderCopy& result, MessageLog& log) {
    switch (platform::CopyFileNoReplace(from, to)) {
        case platform::CopyResult::Copied:
            ++result.copied;
            return true;
        case platform::CopyResult::Exists:
            return true;
        case platform::CopyResult::Failed:
            break;
    }
    ReportFailedCopy(to, result, log);
    return false;
}

// Copies a folder's regular files and folders into `to`, which exists; nothing is replaced.
void CopyFolderContent(const fs::path& from, const fs::path& to, int depth, DiskFolderCopy& result,
                       MessageLog& log) {
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = to / it->path().filename();
        switch (TypeOf(*it)) {
            case EntryType::Folder:
                if (depth >= kMaxCopyDepth || ExistsNoFollow(target)) break;
                if (std::error_code made; fs::create_directory(target, made))
                    CopyFolderContent(it->path(), target, depth + 1, result, log);
                else
                    ReportFailedCopy(target, result, log);
                break;
            case EntryType::File:
                CopyFile(it->path(), target, result, log);
                break;
            case EntryType::Other:
                break;
        }
    }
}

// Whether a file of another "Disk" folder is brought over: disc files unless this folder has
// them already, plain or compressed.
bool ShouldCopyDiscFile(const std::string& name, const fs::path& thisDisk) {
    const std::string lower = text::AsciiLower(name);
    if (lower.ends_with(".pkb.zip") && ExistsNoFollow(thisDisk / name.substr(0, name.size() - kZip.size())))
        return false;  // our plain file of that disc is newer than any ZIP brought in
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

// The plain disc-file name a disc file stands for ("X.pkb" for "X.pkb" and "X.pkb.zip").
std::string PlainDiscFileName(const std::string& name) {
    if (text::AsciiLower(name).ends_with(".pkb.zip")) return name.substr(0, name.size() - kZip.size());
    return name;
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

std::set<std::string> DiskFolderCopy::MissingDiscFiles(const fs::path& thisDisk) const {
    std::set<std::string> missing;
    for (const std::string& name : failedDiscFiles) {
        const std::string plain = PlainDiscFileName(name);
        if (!ExistsNoFollow(thisDisk / plain) && !ExistsNoFollow(thisDisk / (plain + std::string(kZip))))
            missing.insert(plain);
    }
    return missing;
}

void MergeCategory(const CCategory& other, CCategory& target, MessageLog& log, UserInterface& ui,
                   const std::set<std::string>& missingDiscFiles, MergeCounts& counts) {
    for (const auto& entry : other.Entries()) {
        if (target.HasEntry(entry->m_strName)) continue;
        if (missingDiscFiles.contains(SafeFileName(DiscFileName(entry->m_strVolumeLabel, entry->m_dwVolumeSerial)))) {
            log.Post(MessageKind::Error,
                     text::LocalWith("光盘 %s 的光盘文件没能复制过来，这张光盘没有合并", entry->m_strName));
            ++counts.leftOut;
            continue;
        }
        CDiskInfo* added = target.AddNewEntry(entry->m_strName, log);
        if (!added) continue;
        ++counts.entries;
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
            MergeCategory(*sub, *existing, log, ui, missingDiscFiles, counts);
            continue;
        }
        CCategory* added = target.AddNewSubcategory(sub->m_strName, log, ui);
        if (!added) continue;
        ++counts.categories;
        added->m_strMemo = sub->m_strMemo;
        MergeCategory(*sub, *added, log, ui, missingDiscFiles, counts);
    }
}

DiskFolderCopy CopyOtherDiskFolder(const fs::path& otherDisk, const fs::path& thisDisk, MessageLog& log) {
    DiskFolderCopy result;
    std::error_code ec;
    fs::create_directories(thisDisk, ec);
    for (fs::directory_iterator it(otherDisk, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().native();
        const fs::path target = thisDisk / name;
        switch (TypeOf(*it)) {
            case EntryType::Folder:
                if (ExistsNoFollow(target)) break;
                if (std::error_code made; fs::create_directory(target, made))
                    CopyFolderContent(it->path(), target, 1, result, log);
                else
                    ReportFailedCopy(target, result, log);
                break;
            case EntryType::File:
                if (ShouldCopyDiscFile(name, thisDisk) && !CopyFile(it->path(), target, result, log))
                    result.failedDiscFiles.push_back(name);
                break;
            case EntryType::Other:
                break;
        }
    }
    return result;
}

}  // namespace pelko::catalog
