#pragma once
// Disc images made by genisoimage from a folder, for the tests of disc reading. Tests skip when
// the tool is not installed.

#include <filesystem>
#include <string>
#include <vector>

namespace pelko::test {

// True when genisoimage can be run.
bool HaveGenisoimage();

// Runs genisoimage with `options` (e.g. {"-J", "-R", "-V", "LABEL"}) over `source` into `image`;
// true on success.
bool MakeIsoImage(const std::filesystem::path& source, const std::filesystem::path& image,
                  const std::vector<std::string>& options);

}  // namespace pelko::test
