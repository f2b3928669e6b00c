#include "scan/StandardExtras.h"

#include "catalog/CDir.h"
#include "scan/ArchiveListing.h"
#include "scan/ByteSource.h"
#include "scan/CScanProgress.h"
#include "scan/ProgramIcon.h"

namespace pelko::scan {

StandardExtras::StandardExtras(ScanSettings settings, Mp3Options mp3)
    : m_settings(std::move(settings)), m_mp3(mp3) {}

int StandardExtras::ListArchive(catalog::CDir& archiveFolder, platform::VolumeFolder& folder,
                                std::string_view rawName, ScanState& state, CScanProgress* progress) {
    if (progress && progress->IsCancelled()) return 0;
    // The format follows the archive's own name, so an archive inside a folder whose name
    // looks like another kind of archive is still read.
    const ArchiveFormat format = ArchiveFormatOf(archiveFolder.m_strName);
    if (format == ArchiveFormat::None) return 1;
    std::optional<VolumeFileSource> source = VolumeFileSource::Open(folder, rawName);
    if (!source) return 1;
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

void StandardExtras::MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder,
                                    std::string_view folderPath, const std::filesystem::path& thumbnailFolder,
                                    ScanState& state, CScanProgress* progress) {
    if (m_makeThumbnails) m_makeThumbnails(dir, folder, folderPath, thumbnailFolder, state, progress);
}

}  // namespace pelko::scan
