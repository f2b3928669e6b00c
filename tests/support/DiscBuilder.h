#pragma once
// Builds scan objects for tests: a catalog entry under a category and its disc file, written
// (compressed, as at rest) into a catalog folder's "Disk" folder. Names are model bytes.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace pelko::catalog {
class CCategory;
class CCD;
class CDir;
class CDiskInfo;
class CFileInfo;
}  // namespace pelko::catalog

namespace pelko::test {

catalog::CDir& AddFolder(catalog::CDir& parent, std::string_view name, std::string_view memo = {});
catalog::CFileInfo& AddFile(catalog::CDir& parent, std::string_view name, std::string_view memo = {});

// A new entry `name` under `category` whose disc file (label and serial given) holds what `fill`
// puts into it. Each call needs its own label and serial.
catalog::CDiskInfo& AddDisc(const std::filesystem::path& catalogFolder, catalog::CCategory& category,
                            std::string_view name, std::string_view label, std::uint32_t serial,
                            const std::function<void(catalog::CCD&)>& fill);

}  // namespace pelko::test
