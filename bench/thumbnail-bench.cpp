// Thumbnails every picture of one folder with the scan's own folder thumbnailer (pictures
// decoded ahead on two threads, saved in order), prints how many it made, and fails unless it
// made one for every picture of the folder.
// Usage: thumbnail-bench PICTURE_FOLDER OUTPUT_FOLDER WIDTH HEIGHT

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "catalog/CDir.h"
#include "catalog/CFileInfo.h"
#include "platform/LocalVolume.h"
#include "platform/Volume.h"
#include "scan/CScanProgress.h"
#include "scan/FolderThumbnails.h"
#include "scan/ScanState.h"
#include "text/MbString.h"

namespace fs = std::filesystem;
using namespace pelko;

namespace {

class CountingProgress final : public scan::CScanProgress {
public:
    bool IsCancelled() override { return false; }
    void ShowFolderPath(std::string_view) override {}
    void ShowPicture(std::string_view, const fs::path&) override { ++shown; }
    int shown = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PICTURE_FOLDER OUTPUT_FOLDER WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const std::string pictures = argv[1];
    const fs::path output = argv[2];
    scan::PictureSettings settings;
    settings.bPicSize = true;
    settings.nPicWidth = std::atoi(argv[3]);
    settings.nPicHight = std::atoi(argv[4]);
    fs::create_directories(output);

    platform::LocalVolume volume;
    const auto folder = volume.OpenFolder(pictures);
    if (!folder) {
        std::fprintf(stderr, "cannot open %s\n", pictures.c_str());
        return 1;
    }
    catalog::CDir dir;
    dir.m_strName = pictures;
    int candidates = 0;
    folder->Enumerate([&](const platform::VolumeEntry& entry) {
        if (entry.isDirectory) return true;
        if (scan::IsPictureCandidate(text::Extension(entry.name), settings)) ++candidates;
        auto file = std::make_unique<catalog::CFileInfo>();
        file->m_strName = entry.name;
        dir.InsertFile(std::move(file));
        return true;
    });
    scan::ScanState state;
    state.nDirFileCount = static_cast<int>(dir.Files().size());
    CountingProgress progress;
    scan::FolderThumbnailer thumbnailer(scan::ScanSettings{}, settings);

    thumbnailer.MakeThumbnails(dir, *folder, pictures, output, state, &progress);
    std::printf("%d thumbnails of %d pictures\n", progress.shown, candidates);
    if (candidates == 0 || progress.shown != candidates) {
        std::fprintf(stderr, "thumbnail-bench: not every file of %s was thumbnailed\n", pictures.c_str());
        return 1;
    }
    return 0;
}
