// Thumbnails every picture of one folder with the scan's own folder thumbnailer (pictures
// decoded ahead on two threads, saved in order) and prints the seconds it took.
// Usage: thumbnail-bench PICTURE_FOLDER OUTPUT_FOLDER WIDTH HEIGHT

#include <chrono>
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
    folder->Enumerate([&](const platform::VolumeEntry& entry) {
        if (entry.isDirectory) return true;
        auto file = std::make_unique<catalog::CFileInfo>();
        file->m_strName = entry.name;
        dir.InsertFile(std::move(file));
        return true;
    });
    scan::ScanState state;
    state.nDirFileCount = static_cast<int>(dir.Files().size());
    CountingProgress progress;
    scan::FolderThumbnailer thumbnailer(scan::ScanSettings{}, settings);

    const auto start = std::chrono::steady_clock::now();
    thumbnailer.MakeThumbnails(dir, *folder, pictures, output, state, &progress);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f\n", took.count());
    std::fprintf(stderr, "%d thumbnails of %zu files\n", progress.shown, dir.Files().size());
    return 0;
}
