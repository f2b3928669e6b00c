#pragma once
// Writes small Photoshop files for the reader's tests and the fuzz seeds: any header values,
// colour-mode data, image resources, a layer section and raw or PackBits image data.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pelko::test {

struct PsdResource {
    std::uint16_t id = 0;
    std::string name;
    std::vector<std::uint8_t> data;
};

struct PsdLayout {
    std::string signature = "8BPS";
    std::uint16_t version = 1;
    std::uint16_t channels = 3;
    std::uint32_t height = 2;
    std::uint32_t width = 2;
    std::uint16_t depth = 8;
    std::uint16_t mode = 3;
    std::vector<std::uint8_t> colourModeData;
    std::vector<std::uint8_t> resourcePrefix;  // bytes before the first block (not "8BIM")
    std::vector<PsdResource> resources;
    std::vector<std::uint8_t> layers;
    std::uint16_t compression = 0;  // 0 raw, 1 PackBits; other values are written as they are
    // Per channel, the samples of the plane row by row (depth / 8 bytes each, big-endian).
    std::vector<std::vector<std::uint8_t>> planes;
};

std::vector<std::uint8_t> BuildPsd(const PsdLayout& layout);

// The data of a thumbnail resource (1033 or 1036): its 28-byte header, then the JPEG stream.
std::vector<std::uint8_t> ThumbnailResourceData(std::span<const std::uint8_t> jpeg, int width, int height);

// One row in PackBits: repeats of three or more bytes as runs, the rest as literals.
std::vector<std::uint8_t> PackBitsRow(std::span<const std::uint8_t> row);

// Planes of one sample value per channel, for `pixels` pixels at 8 bits.
std::vector<std::vector<std::uint8_t>> UniformPlanes(std::initializer_list<std::uint8_t> values,
                                                     std::size_t pixels);

}  // namespace pelko::test
