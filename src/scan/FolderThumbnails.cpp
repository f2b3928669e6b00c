#include "scan/FolderThumbnails.h"

#include <deque>
#include <future>
#include <memory>
#include <new>
#include <system_error>

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

namespace {

// Pictures in the making at once; with two, both cores decode while the scan thread saves.
constexpr std::size_t kPicturesInFlight = 2;
// Smaller files decode faster than a hand-over to another thread takes.
constexpr std::size_t kDecodeHereBytes = 64 * 1024;

}  // namespace

struct FolderThumbnailer::Job {
    std::string name;
    std::string extension;
    std::string picturePath;
    fs::path target;
    // A raster picture being decoded on another thread, or already decoded here.
    std::future<std::optional<PreparedThumbnail>> decoding;
    std::optional<PreparedThumbnail> decoded;
};

struct FolderThumbnailer::Walk {
    const catalog::CDir& dir;
    std::string_view folderPath;
    const fs::path& thumbnailFolder;
    ScanState& state;
    CScanProgress* progress;
    std::size_t next = 0;  // record index
    int visited = 0;
    int picturesHere = 0;
};

std::optional<FolderThumbnailer::Job> FolderThumbnailer::NextPicture(Walk& walk, WalkResult& result) {
    const char separator = !walk.folderPath.empty() && walk.folderPath.front() == '/' ? '/' : '\\';
    for (; walk.next < walk.dir.Files().size(); ++walk.next) {
        if (walk.visited % 5 == 0 && walk.progress && walk.progress->IsCancelled()) {
            result = CancelReason(*walk.progress);
            return std::nullopt;
        }
        ++walk.visited;
        // No budget left: at most as many pictures as this walk added files to the folder.
        if (walk.state.nDirFileCount <= 0) continue;
        std::string name = walk.dir.Files()[walk.next]->m_strName.str();
        std::string extension = text::Extension(name);
        if (!IsPictureCandidate(extension, m_pictures)) continue;
        if (m_scan.bCheckFileExt2 && !IsExtensionListed(m_scan.szFileLimit2, extension)) continue;
        if (m_scan.bCheckFileExt && IsExtensionListed(m_scan.szFileLimit, extension)) continue;
        if (m_pictures.bMostPicPerDir && ++walk.picturesHere > m_pictures.nMostPicPerDir) break;
        if (m_pictures.bMostPicPerDisk && ++walk.state.nScanPicCount > m_pictures.nMostPicPerDisk) break;

        // Counted now, before the picture is made: whether it succeeds changes nothing.
        --walk.state.nDirFileCount;
        ++walk.next;
        Job job;
        job.picturePath = std::string(walk.folderPath);
        if (job.picturePath.empty() || job.picturePath.back() != separator) job.picturePath += separator;
        job.picturePath += name;
        job.target = walk.thumbnailFolder / ThumbnailFileName(name);
        job.name = std::move(name);
        job.extension = std::move(extension);
        return job;
    }
    result = WalkResult::Finished;
    return std::nullopt;
}

WalkResult FolderThumbnailer::MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder,
                                             std::string_view folderPath, const fs::path& thumbnailFolder,
                                             ScanState& state, CScanProgress* progress) {
    m_rawNames.clear();
    m_rawNamesRead = false;
    const PictureAreaSize areaSize = progress ? progress->PictureArea() : PictureAreaSize{};
    const imaging::Size area{areaSize.width, areaSize.height};
    Walk walk{dir, folderPath, thumbnailFolder, state, progress};
    std::deque<Job> queue;
    WalkResult result = WalkResult::Finished;
    bool more = true;
    const auto fill = [&] {
        while (more && queue.size() < kPicturesInFlight) {
            std::optional<Job> job = NextPicture(walk, result);
            if (!job) {
                more = false;
                break;
            }
            if (progress) StartDecoding(*job, folder, area);
            queue.push_back(std::move(*job));
        }
    };
    try {
        fill();
        while (!queue.empty()) {
            Job job = std::move(queue.front());
            queue.pop_front();
            fill();
            ShowPicture(job, progress, folder, area);
        }
    } catch (const std::bad_alloc&) {
        return WalkResult::OutOfMemory;  // this folder's remaining pictures get no thumbnails
    }
    return result;
}

// Reads the picture here (media need not be read from several threads) and decodes it on one
// of the decoding threads. Photoshop files are read later, in turn, since their reader writes the
// embedded thumbnail as it goes.
void FolderThumbnailer::StartDecoding(Job& job, platform::VolumeFolder& folder, imaging::Size area) {
    if (job.extension == ".psd" || !HasPictureDecoder(job.extension)) return;
    const std::optional<std::string> raw = RawName(folder, job.name);
    if (!raw) return;
    std::optional<VolumeFileSource> source = VolumeFileSource::Open(folder, *raw);
    if (!source) return;
    std::optional<std::vector<std::uint8_t>> bytes = source->ReadAll(kMaxPictureFileBytes);
    if (!bytes) return;
    if (bytes->size() < kDecodeHereBytes) {
        job.decoded = PrepareThumbnail(*bytes, job.extension, area, m_pictures);
        return;
    }
    const auto file = std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes));
    if (!m_decoders) m_decoders = std::make_unique<WorkerPool>(kPicturesInFlight);
    job.decoding = m_decoders->Submit([file, extension = job.extension, area, settings = m_pictures] {
        return PrepareThumbnail(*file, extension, area, settings);
    });
}

bool FolderThumbnailer::ShowPicture(Job& job, CScanProgress* progress, platform::VolumeFolder& folder,
                                    imaging::Size area) {
    if (!progress) return false;
    bool made = false;
    if (job.extension == ".psd") {
        const std::optional<std::string> raw = RawName(folder, job.name);
        std::optional<VolumeFileSource> source;
        if (raw) source = VolumeFileSource::Open(folder, *raw);
        made =
            m_picture.MakeThumbnail(source ? &*source : nullptr, job.extension, job.target, area, m_pictures);
    } else {
        if (job.decoding.valid()) {
            try {
                job.decoded = job.decoding.get();
            } catch (const std::exception&) {  // out of memory while decoding
                job.decoded.reset();
            }
        }
        made = job.decoded && m_picture.SaveThumbnail(*job.decoded, job.target);
    }
    if (made) progress->ShowPicture(job.picturePath, m_picture.LastThumbnail());
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
