#include "scan/DirectoryWalker.h"

#include <array>
#include <new>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "platform/Volume.h"
#include "scan/CScanProgress.h"
#include "scan/ScanExtras.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace fs = std::filesystem;
using catalog::CCD;
using catalog::CDir;
using catalog::CFileInfo;

namespace {

// A readme larger than this is not taken into the catalog.
constexpr std::uint64_t kMaxReadmeBytes = 64ull << 20;

constexpr std::array<std::string_view, 6> kPictureExtensions = {".jpg", ".tiff", ".bmp",
                                                                ".gif", ".psd",  ".tif"};

bool IsPictureExtension(std::string_view extension) {
    for (std::string_view x : kPictureExtensions)
        if (x == extension) return true;
    return false;
}

bool IsCancelled(CScanProgress* progress) { return progress && progress->IsCancelled(); }

// System folders that a partition or folder scan records but never walks.
bool IsSkippedSystemFolder(std::string_view name) {
    return text::CompareNoCase(name, "system volume information") == 0 ||
           text::CompareNoCase(name, "RECYCLER") == 0;
}

bool IsAscii(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return false;
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else if (c >= 0x80) {
            return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// Readme files on Linux media are usually UTF-8; the catalog keeps GB18030. Text that is valid
// UTF-8 and not plain ASCII is converted; anything else is kept as the bytes it is.
std::string ReadmeText(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    if (IsAscii(bytes) || !IsValidUtf8(bytes)) return bytes;
    return text::FromUtf8(bytes);
}

}  // namespace

bool IsExtensionListed(std::string_view list, std::string_view extension) {
    const std::size_t at = text::FindWhole(list, extension);
    if (at == std::string_view::npos) return false;
    const std::size_t after = at + extension.size();
    return after == list.size() || list[after] == ';';
}

bool MatchesCopyList(std::string_view list, std::string_view lowerName, std::string_view extension) {
    if (list.find(lowerName) != std::string_view::npos) return true;
    const std::size_t at = text::FindWhole(list, extension);
    if (at == std::string_view::npos || at < 1 || list[at - 1] != '*') return false;
    const std::size_t after = at + extension.size();
    return after == list.size() || list[after] == ';';
}

DirectoryWalker::DirectoryWalker(platform::Volume& volume, const ScanSettings& settings, fs::path diskFolder,
                                 ScanExtras* extras, catalog::MessageLog* log)
    : m_volume(volume),
      m_settings(settings),
      m_diskFolder(std::move(diskFolder)),
      m_extras(extras),
      m_log(log) {}

fs::path DirectoryWalker::ThumbnailFolder(const CDir& dir) const {
    if (!dir.m_pParent) return m_pictureRoot;
    return ThumbnailFolder(*dir.m_pParent) / catalog::SafeFileName(dir.m_strName);
}

bool DirectoryWalker::EnsureThumbnailFolder(const CDir& dir) const {
    std::error_code ec;
    const fs::path folder = ThumbnailFolder(dir);
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

WalkResult DirectoryWalker::Scan(CCD& cd, CScanProgress* progress) {
    m_state = ScanState{};
    m_kind = cd.m_nKind;
    m_pictureRoot = m_diskFolder / (catalog::SafeFileName(cd.DiscFileName()) + ".pic");
    if (m_settings.autoFillReadme) {
        const WalkResult readme = ReadReadme(cd);
        if (!RanToEnd(readme)) return readme;
    }
    return ScanFolder(cd, nullptr, {}, progress);
}

// Looks for "readme.txt" in the root without regard to case and takes its text up to the first
// zero byte. An unreadable readme is ignored; a root that cannot be entered or a lack of memory
// ends the scan before the walk.
WalkResult DirectoryWalker::ReadReadme(CCD& cd) {
    const std::unique_ptr<platform::VolumeFolder> root = m_volume.OpenFolder(cd.m_strName);
    if (!root) return WalkResult::RootUnreadable;
    std::string readmeRaw;
    root->Enumerate([&](const platform::VolumeEntry& entry) {
        if (entry.isDirectory || text::CompareNoCase(entry.name, "readme.txt") != 0) return true;
        readmeRaw = entry.rawName;
        return false;
    });
    if (readmeRaw.empty()) return WalkResult::Finished;
    const std::optional<platform::EntryInfo> info = root->Stat(readmeRaw);
    if (!info || info->size == 0 || info->size > kMaxReadmeBytes) return WalkResult::Finished;
    try {
        std::string bytes(static_cast<std::size_t>(info->size), '\0');
        const std::optional<std::size_t> got =
            root->ReadAt(readmeRaw, 0, {reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()});
        if (!got || *got != info->size) return WalkResult::Finished;
        bytes.resize(std::min(bytes.size(), bytes.find('\0')));
        cd.m_strReadme = ReadmeText(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return WalkResult::OutOfMemory;
    }
    return WalkResult::Finished;
}

void DirectoryWalker::CopyIfListed(CDir& dir, platform::VolumeFolder& folder, std::string_view name,
                                   std::string_view rawName, std::string_view extension) {
    const std::string lowerName = text::AsciiLower(name);
    if (!MatchesCopyList(m_settings.szFileCopy, lowerName, extension)) return;
    if (!EnsureThumbnailFolder(dir)) return;
    folder.CopyTo(rawName,
                  ThumbnailFolder(dir) / catalog::SafeFileName(lowerName));  // a failed copy is ignored
}

WalkResult DirectoryWalker::ScanFolder(CDir& dir, platform::VolumeFolder* parent, std::string_view rawName,
                                       CScanProgress* progress) {
    m_state.nDirFileCount = 0;
    if (IsCancelled(progress)) return CancelReason(*progress);
    if (dir.m_nDirKind == CDir::kKindArchive) {
        if (!m_extras || !parent) return WalkResult::Finished;
        return m_extras->ListArchive(dir, *parent, rawName, m_state, progress);
    }

    const std::string path = dir.FullPath();
    const std::unique_ptr<platform::VolumeFolder> folder =
        parent ? parent->OpenChild(rawName) : m_volume.OpenFolder(path);
    // A sub-folder that cannot be entered stays empty and the walk goes on; a root that cannot
    // be entered means nothing at all was read.
    if (!folder) return parent ? WalkResult::Finished : WalkResult::RootUnreadable;
    if (progress) progress->ShowFolderPath(path);

    // Names as the medium spells them, for the sub-folders recorded by this walk; records left
    // by an earlier scan are converted back from their stored names.
    std::unordered_map<const CDir*, std::string> rawNames;
    const ScanSettings& s = m_settings;
    int entryCount = 0;
    int fileCount = 0;
    bool cancelled = false;
    bool outOfMemory = false;
    bool holdsPicture = false;

    folder->Enumerate([&](const platform::VolumeEntry& entry) {
        if (entryCount % 5 == 0 && IsCancelled(progress)) {
            cancelled = true;
            return false;
        }
        ++entryCount;
        if (entry.rawName == "." || entry.rawName == "..") return true;
        try {
            if (entry.isDirectory) {
                auto sub = std::make_unique<CDir>();
                sub->m_strName = entry.name;
                if (CDir* added = dir.InsertSubdir(std::move(sub))) rawNames.emplace(added, entry.rawName);
                return true;
            }
            if (s.bCheckOnlyDir) return true;
            const std::string extension = text::Extension(entry.name);
            if (s.bCheckFileLimit) {
                if (fileCount >= s.nFileLimit) return true;
                ++fileCount;
            }
            if (s.bCheckFileLimitDisk && ++m_state.nScanFileCount > s.nFileLimitTotal) return true;
            if (s.bCheckFileExt2 && !IsExtensionListed(s.szFileLimit2, extension)) return true;
            if (s.bCheckFileExt && IsExtensionListed(s.szFileLimit, extension)) return true;

            CFileInfo* file = nullptr;
            try {
                auto record = std::make_unique<CFileInfo>();
                record->m_strName = entry.name;
                file = dir.InsertFile(std::move(record));
            } catch (const std::bad_alloc&) {
                if (m_log) m_log->Post(catalog::MessageKind::Error, "Memory not enough");
                throw;
            }
            if (!file) return true;
            std::uint64_t size = 0;
            if (const std::optional<platform::EntryInfo> info = folder->Stat(entry.rawName)) {
                file->SetSize(info->size);
                file->m_ftTime = info->creationTime;
                size = info->size;
            }
            if (progress) progress->FileRecorded(size);

            if (s.extractZip && (extension == ".zip" || extension == ".rar")) {
                auto archive = std::make_unique<CDir>();
                archive->m_strName = entry.name;
                archive->m_nDirKind = CDir::kKindArchive;
                if (CDir* added = dir.InsertSubdir(std::move(archive)))
                    rawNames.emplace(added, entry.rawName);
            }
            if (m_extras && s.extractMp3 && extension == ".mp3") {
                std::string memo = m_extras->ReadMp3Tag(*folder, entry.rawName);
                if (!memo.empty()) file->m_strMemo = std::move(memo);
            }
            if (m_extras && s.extractExeIcon && extension == ".exe") {
                if (auto icon = m_extras->TakeProgramIcon(*folder, entry.rawName))
                    file->SetIcon(std::move(icon));
            }
            if (s.bFileCopy) CopyIfListed(dir, *folder, entry.name, entry.rawName, extension);
            ++m_state.nDirFileCount;
            if (!holdsPicture && IsPictureExtension(extension)) holdsPicture = true;
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
            return false;
        }
        return true;
    });
    if (cancelled) return CancelReason(*progress);
    if (outOfMemory) return WalkResult::OutOfMemory;

    // The worst of what happened in this folder and below it. A stop from outside ends every
    // walk at once; a limit or a lack of memory ends one folder's walk and the parent goes on.
    WalkResult result = WalkResult::Finished;
    if (holdsPicture && s.bPicScan && m_extras && EnsureThumbnailFolder(dir)) {
        result = m_extras->MakeThumbnails(dir, *folder, path, ThumbnailFolder(dir), m_state, progress);
        if (Interrupted(result)) return result;
    }
    if (m_state.nScanFileCount > s.nFileLimitTotal) return Worse(result, WalkResult::LimitReached);

    const bool filterSystemFolders = m_kind == CCD::kKindFixedDisk || m_kind == CCD::kKindFixedDir;
    for (std::size_t i = 0; i < dir.Subdirs().size(); ++i) {
        CDir& sub = *dir.Subdirs()[i];
        if (filterSystemFolders && IsSkippedSystemFolder(sub.m_strName)) continue;
        ++m_state.nScanDepth;
        if ((!s.bCheckDirLimit || m_state.nScanDepth < s.nDirLimit) && m_state.nScanDepth < CDir::kMaxDepth) {
            const auto known = rawNames.find(&sub);
            const std::string raw = known != rawNames.end() ? known->second : m_volume.RawName(sub.m_strName);
            result = Worse(result, ScanFolder(sub, folder.get(), raw, progress));
        }
        --m_state.nScanDepth;
        if (Interrupted(result)) return result;
    }
    return result;
}

}  // namespace pelko::scan
