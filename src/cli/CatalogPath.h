#pragma once
// Finds a category or an entry by its catalog path as the program shows it
// ("Pelko\软件\系统软件"). The leading root name may be left out, and "/" may stand for "\" so
// that shells need no quoting.

#include <string_view>

namespace pelko::catalog {
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::cli {

struct CatalogItem {
    catalog::CCategory* category = nullptr;  // the category found, or the entry's category
    catalog::CDiskInfo* entry = nullptr;     // set when the path names an entry
    bool found() const { return category != nullptr; }
};

// `path` is model bytes. An empty path (or just the root's name) is the root. A last part
// that names both a sub-category and an entry gives the sub-category.
CatalogItem ResolveCatalogPath(catalog::CCategory& root, std::string_view path);

}  // namespace pelko::cli
