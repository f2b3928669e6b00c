#pragma once
// Reads a whole regular file into memory in one go.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pelko::platform {

enum class WholeFileRead { Ok, Missing, Unreadable };

// Missing when nothing of that name exists; Unreadable when it cannot be opened, is not a
// regular file, or a read fails.
WholeFileRead ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out);

}  // namespace pelko::platform
