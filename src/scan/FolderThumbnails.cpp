#include "scan/FolderThumbnails.h"

#include "catalog/CDir.h"
#include "catalog/DiscStore.h"
#include "platform/Volume.h"
#include "scan/ByteSource.h"
#include "scan/CScanProgress.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanState.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace fs = std::filesystem;

bool IsPictureCandidate(std::string_view x, const PictureSettings& s) {
    return (x == ".jpg" && s.bPicJpg) || (x == ".gif" && s.bPicGif) || (x == ".bmp" && s.bPicBmp) ||
           ((x == ".tiff" || x == ".tif") && s.bPicTiff) || (x == ".jpe" && s.bPicJpe) ||
           (x == ".psd" && s.bPicPsd);
}

std::string ThumbnailFileName(std::string_view pictureName) {
    const std::size_t dot = text::FindLastChar(pictureName, '.');
    std::string name(dot == std::string_view::npos ? pictureName : pictureName.substr(0, dot));
    name += ".jpg";
    return catalog::SafeFileName(name);
}

FolderThumbnailer::FolderThumbnailer(ScanSettings scan, PictureSettings pictures)
    : m_scan(std::move(scan)), m_pictures(pictures) {}

int FolderThumbnailer::MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder,
                                      std::string_view folderPath, const fs::path& thumbnailFolder,
                                      ScanState& state, CScanProgress* progress) {
    m_rawNames.clear();
    m_rawNamesRead = false;
    const char separator = !folderPath.empty() && folderPath.front() == '/' ? '/' : '\\';
    int picturesHere = 0;
    int visited = 0;
    for (const auto& file : dir.Files()) {
        if (visited % 5 == 0 && progress && progress->IsCancelled()) return 0;
        ++visited;
        // No budget left: at most as many pictures as this walk added files to the folder.
        if (state.nDirFileCount <= 0) continue;
        const std::string name = file->m_strName.str();
        const std::string extension = text::Extension(name);
        if (!IsPictureCandidate(extension, m_pictures)) continue;
        if (m_scan.bCheckFileExt2 && !IsExtensionListed(m_scan.szFileLimit2, extension)) continue;
        if (m_scan.bCheckFileExt && IsExtensionListed(m_scan.szFileLimit, extension)) continue;
        if (m_pictures.bMostPicPerDir && ++picturesHere > m_pictures.nMostPicPerDir) return 1;
        if (m_pictures.bMostPicPerDisk && ++state.nScanPicCount > m_pictures.nMostPicPerDisk) return 1;

        std::string picturePath(folderPath);
        if (picturePath.empty() || picturePath.back() != separator) picturePath += separator;
        picturePath += name;
        ShowPicture(progress, folder, name, extension, picturePath,
                    thumbnailFolder / ThumbnailFileName(name));
        --state.nDirFileCount;
    }
    return 1;
}

bool FolderThumbnailer::ShowPicture(CScanProgress* progress, platform::VolumeFolder& folder,
                                    std::string_view name, std::string_view extension,
                                    std::string_view picturePath, const fs::path& target) {
    if (!progress) return false;
    const std::optional<std::string> raw = RawName(folder, name);
    std::optional<VolumeFileSource> source;
    if (raw) source = VolumeFileSource::Open(folder, *raw);
    const PictureAreaSize area = progress->PictureArea();
    const bool made = m_picture.MakeThumbnail(source ? &*source : nullptr, extension, target,
                                              imaging::Size{area.width, area.height}, m_pictures);
    if (made) progress->ShowPicture(picturePath, m_picture.LastThumbnail());
    return made;
}

// Records carry model names; the medium wants its own. One pass over the folder maps them.
std::optional<std::string> FolderThumbnailer::RawName(platform::VolumeFolder& folder, std::string_view name) {
    if (!m_rawNamesRead) {
        m_rawNamesRead = true;
        folder.Enumerate([&](const platform::VolumeEntry& entry) {
            if (!entry.isDirectory) m_rawNames.emplace(std::string(entry.name), std::string(entry.rawName));
            return true;
        });
    }
    const auto found = m_rawNames.find(std::string(name));
    if (found == m_rawNames.end()) return std::nullopt;
    return found->second;
}

}  // namespace pelko::scan
