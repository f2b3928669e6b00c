#pragma once
// The extras a scan runs by default: archive listings, MP3 tag memos, program icons, and the
// thumbnails of pictures. Every reader works on
// the file through the medium's folder, so the extras behave the same on a local disk and on a
// disc image. Damaged or hostile files give no listing, memo or icon; the scan goes on.

#include <functional>
#include <memory>

#include "scan/Mp3Tag.h"
#include "scan/ScanExtras.h"
#include "scan/ScanSettings.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::scan {

class StandardExtras final : public ScanExtras {
public:
    using ThumbnailMaker = std::function<WalkResult(
        catalog::CDir& dir, platform::VolumeFolder& folder, std::string_view folderPath,
        const std::filesystem::path& thumbnailFolder, ScanState& state, CScanProgress* progress)>;

    // `settings` are the scan's options (the file limits apply to archive entries too).
    StandardExtras(ScanSettings settings, Mp3Options mp3);

    // The extras with the user's options read from the settings, thumbnails of pictures made by
    // the folder thumbnailer. What a scan uses unless a test supplies its own maker.
    static std::unique_ptr<StandardExtras> FromSettings(const settings::SettingsStore& store);

    // Sets what MakeThumbnails runs; without one, folders get no thumbnails.
    void SetThumbnailMaker(ThumbnailMaker maker) { m_makeThumbnails = std::move(maker); }

    WalkResult ListArchive(catalog::CDir& archiveFolder, platform::VolumeFolder& folder,
                           std::string_view rawName, ScanState& state, CScanProgress* progress) override;
    std::string ReadMp3Tag(platform::VolumeFolder& folder, std::string_view rawName) override;
    std::unique_ptr<catalog::IconImage> TakeProgramIcon(platform::VolumeFolder& folder,
                                                        std::string_view rawName) override;
    WalkResult MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder, std::string_view folderPath,
                              const std::filesystem::path& thumbnailFolder, ScanState& state,
                              CScanProgress* progress) override;

private:
    ScanSettings m_settings;
    Mp3Options m_mp3;
    ThumbnailMaker m_makeThumbnails;
};

}  // namespace pelko::scan
