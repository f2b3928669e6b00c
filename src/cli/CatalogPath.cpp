#include "cli/CatalogPath.h"

#include <string>
#include <vector>

#include "catalog/CCategory.h"
#include "text/MbString.h"

namespace pelko::cli {

namespace {

// Splits at "\" and "/" characters (never at a trail byte) and drops empty parts.
std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = text::CharLength(path, i);
        if (length == 1 && (path[i] == '\\' || path[i] == '/')) {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part.append(path.substr(i, length));
        }
        i += length;
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

}  // namespace

CatalogItem ResolveCatalogPath(catalog::CCategory& root, std::string_view path) {
    std::vector<std::string> parts = SplitPath(path);
    if (!parts.empty() && parts.front() == root.m_strName) parts.erase(parts.begin());
    catalog::CCategory* category = &root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (catalog::CCategory* sub = category->FindSubcategory(parts[i])) {
            category = sub;
            continue;
        }
        if (i + 1 == parts.size()) {
            if (catalog::CDiskInfo* entry = category->FindEntry(parts[i])) return {category, entry};
        }
        return {};
    }
    return {category, nullptr};
}

}  // namespace pelko::cli
