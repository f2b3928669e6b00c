#pragma once
// Searches the loaded contents of one scan object: its readme text, then its folder tree.
//
// Order of the hits: inside a folder its matching files first, then its matching immediate
// sub-folders, then the walk into each sub-folder; the root folder itself is never compared.
// Each item is one hit however many of its values match. Hit lines are the scan object's
// catalog path followed by the item's path inside it.

#include <string>
#include <string_view>

namespace pelko::catalog {
class CCD;
}

namespace pelko::search {

struct FindContext;
class FindProgress;
class HitSink;

// Path of a folder inside its scan object from its parent's path: "\" and the name, except
// that no "\" is added after a path whose first "\" is its last character. The root's path is
// empty, so a folder below it is "\setup" and the next one "\setup\lang".
std::string ChildFolderPath(std::string_view parentPath, std::string_view name);

// False when the running flag stopped the walk. `progress` may be null.
bool SearchScanObject(const catalog::CCD& contents, std::string_view scanObjectPath,
                      const FindContext& context, HitSink& hits, FindProgress* progress);

}  // namespace pelko::search
