#pragma once
// Writing the files of a thumbnail folder. A name already there is replaced; a symbolic link
// in its place is not followed, so a thumbnail never lands outside its folder.

#include <cstdint>
#include <filesystem>
#include <span>

namespace pelko::scan {

// Creates or empties the file and writes the bytes. False when any step fails.
bool WriteThumbnailFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace pelko::scan
