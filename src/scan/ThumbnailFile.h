#pragma once
// Writing the files of a thumbnail folder. A name already there is replaced as a whole (a
// reader sees the old file or the new one, never a part); a symbolic link in its place is
// replaced, not followed, so a thumbnail never lands outside its folder.

#include <cstdint>
#include <filesystem>
#include <span>

namespace pelko::scan {

// Writes the bytes as the file's new content. False when any step fails; an older file of that
// name is then untouched.
bool WriteThumbnailFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace pelko::scan
