#pragma once
// Writes a whole file at once, replacing any file of that name without ever leaving a torn one.

#include <filesystem>
#include <string_view>

namespace pelko::exporting {

// False when the file could not be written; an older file of that name is then untouched.
bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelko::exporting
