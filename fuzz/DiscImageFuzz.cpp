// Reads a hostile disc image as a scan would without mounting it: the volume information, then
// the folder tree through the volume interface with the first bytes of every file. The input is
// the image from sector 16 on (the system area before it is zeros), so seeds stay small.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/DiscDescriptors.h"
#include "platform/DiscImageVolume.h"
#include "platform/VolumeInformation.h"

namespace {

using namespace pelko::platform;

void Walk(VolumeFolder& folder, int depth, int& budget) {
    std::vector<std::pair<std::string, bool>> entries;
    folder.Enumerate([&](const VolumeEntry& e) {
        if (--budget < 0) return false;
        if (e.rawName != "." && e.rawName != "..") entries.emplace_back(std::string(e.rawName), e.isDirectory);
        return true;
    });
    std::vector<std::uint8_t> head(4096);
    for (const auto& [name, isDirectory] : entries) {
        folder.Stat(name);
        if (!isDirectory) {
            folder.ReadAt(name, 0, head);
            folder.ReadAt(name, 1u << 20, head);
        } else if (depth < 8) {
            if (auto child = folder.OpenChild(name)) Walk(*child, depth + 1, budget);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> image(16 * kDiscSectorSize, 0);
    image.insert(image.end(), data, data + size);
    MemoryByteSource source(image);
    ReadMediumInformation(source);
    auto volume = DiscImageVolume::Open(std::make_unique<MemoryByteSource>(image), "d");
    if (!volume) return 0;
    if (auto root = volume->OpenFolder("d")) {
        int budget = 5000;
        Walk(*root, 0, budget);
    }
    return 0;
}
