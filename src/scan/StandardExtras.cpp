#include "scan/StandardExtras.h"

#include "catalog/CDir.h"
#include "scan/ArchiveListing.h"
#include "scan/ByteSource.h"
#include "scan/CScanProgress.h"
#include "scan/FolderThumbnails.h"
#include "scan/PictureSettings.h"
#include "scan/ProgramIcon.h"

namespace pelko::scan {

StandardExtras::StandardExtras(ScanSettings settings, Mp3Options mp3)
    : m_settings(std::move(settings)), m_mp3(mp3) {}

WalkResult StandardExtras::ListArchive(catalog::CDir& archiveFolder, platform::VolumeFolder& folder,
                                       std::string_view rawName, ScanState& state, CScanProgress* progress) {
    if (progress && progress->IsCancelled()) return CancelReason(*progress);
    // The format follows the archive's own name, so an archive inside a folder whose name
    // looks like another kind of archive is still read.
    const ArchiveFormat format = ArchiveFormatOf(archiveFolder.m_strName);
    if (format == ArchiveFormat::None) return WalkResult::Finished;
    std::optional<VolumeFileSource> source = VolumeFileSource::Open(folder, rawName);
    if (!source) return WalkResult::Finished;
    return scan::ListArchive(archiveFolder, *source, format, m_settings, state, progress);
}

std::string StandardExtras::ReadMp3Tag(platform::VolumeFolder& folder, std::string_view rawName) {
    std::optional<VolumeFileSource> source = VolumeFileSource::Open(folder, rawName);
    return source ? ReadMp3Memo(*source, m_mp3) : std::string();
}

std::unique_ptr<catalog::IconImage> StandardExtras::TakeProgramIcon(platform::VolumeFolder& folder,
                                                                    std::string_view rawName) {
    std::optional<VolumeFileSource> source = VolumeFileSource::Open(folder, rawName);
    return source ? ExtractProgramIcon(*source) : nullptr;
}

std::unique_ptr<StandardExtras> StandardExtras::FromSettings(const settings::SettingsStore& store) {
    const ScanSettings settings = ScanSettings::Load(store);
    auto extras = std::make_unique<StandardExtras>(settings, Mp3Options::Load(store));
    auto thumbnailer = std::make_shared<FolderThumbnailer>(settings, PictureSettings::Load(store));
    extras->SetThumbnailMaker([thumbnailer](catalog::CDir& dir, platform::VolumeFolder& folder,
                                            std::string_view folderPath,
                                            const std::filesystem::path& thumbnailFolder, ScanState& state,
                                            CScanProgress* progress) {
        return thumbnailer->MakeThumbnails(dir, folder, folderPath, thumbnailFolder, state, progress);
    });
    return extras;
}

WalkResult StandardExtras::MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder,
                                          std::string_view folderPath,
                                          const std::filesystem::path& thumbnailFolder, ScanState& state,
                                          CScanProgress* progress) {
    if (!m_makeThumbnails) return WalkResult::Finished;
    return m_makeThumbnails(dir, folder, folderPath, thumbnailFolder, state, progress);
}

}  // namespace pelko::scan
