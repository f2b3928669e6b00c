// Makes thumbnails of picture files the way a scan does (decode at the smallest useful scale,
// fit into the box on a white canvas, JPEG at quality 80) and prints the seconds it took.
// Usage: thumbnail-bench OUTPUT_FOLDER WIDTH HEIGHT THREADS FILE...
// Files are shared among THREADS workers, each with its own picture area, so that the figure
// can be set beside tools that use every core.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/LocalVolume.h"
#include "platform/Volume.h"
#include "scan/ByteSource.h"
#include "scan/CPicStatic.h"
#include "scan/FolderThumbnails.h"
#include "scan/PictureSettings.h"
#include "text/MbString.h"

namespace fs = std::filesystem;
using namespace pelko;

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER WIDTH HEIGHT THREADS FILE...\n", argv[0]);
        return 2;
    }
    const fs::path output = argv[1];
    scan::PictureSettings settings;
    settings.bPicSize = true;
    settings.nPicWidth = std::atoi(argv[2]);
    settings.nPicHight = std::atoi(argv[3]);
    const int threads = std::max(1, std::atoi(argv[4]));
    const std::vector<fs::path> files(argv + 5, argv + argc);
    fs::create_directories(output);

    std::atomic<std::size_t> next{0};
    std::atomic<int> made{0};
    const auto work = [&] {
        platform::LocalVolume volume;
        scan::CPicStatic picture;
        for (std::size_t i = next++; i < files.size(); i = next++) {
            const fs::path& file = files[i];
            const auto folder = volume.OpenFolder(file.parent_path().string());
            if (!folder) continue;
            auto source = scan::VolumeFileSource::Open(*folder, file.filename().string());
            const std::string name = file.filename().string();
            if (picture.MakeThumbnail(source ? &*source : nullptr, text::Extension(name),
                                      output / scan::ThumbnailFileName(name), imaging::Size{0, 0}, settings))
                ++made;
        }
    };
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) workers.emplace_back(work);
    work();
    for (std::thread& w : workers) w.join();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f\n", took.count());
    std::fprintf(stderr, "%d of %zu thumbnails made\n", made.load(), files.size());
    return made.load() == static_cast<int>(files.size()) ? 0 : 1;
}
