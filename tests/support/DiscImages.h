#pragma once
// Disc images made by genisoimage from a folder, for the tests of disc reading. Such a test
// starts with REQUIRE_TOOL("genisoimage") (support/Requirements.h).

#include <filesystem>
#include <string>
#include <vector>

namespace pelko::test {

// Runs genisoimage with `options` (e.g. {"-J", "-R", "-V", "LABEL"}) over `source` into `image`;
// true on success.
bool MakeIsoImage(const std::filesystem::path& source, const std::filesystem::path& image,
                  const std::vector<std::string>& options);

}  // namespace pelko::test
