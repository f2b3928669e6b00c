#pragma once
// Copies regular files whole: the copy appears under its name only once it is complete, so a
// failed copy never leaves a torn file behind.

#include <filesystem>

namespace pelko::platform {

// Copies everything readable from descriptor `in` to descriptor `out`. False on a read or
// write error.
bool CopyDescriptor(int in, int out);

enum class CopyResult { Copied, Exists, Failed };

// Copies the regular file `source` to `destination` unless something of that name exists there
// already (an existing file is never replaced, even one that appears during the copy). A source
// that is a symbolic link or not a regular file fails.
CopyResult CopyFileNoReplace(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace pelko::platform
