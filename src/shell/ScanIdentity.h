#pragma once
// How a running scan refers to catalog objects it does not own. The user may delete, move or
// rename categories and entries while the worker reads (only searching is refused then), so a
// scan never keeps a pointer into the tree: it keeps these identities and looks them up again,
// on the user-interface thread, when the walk has ended.

#include <cstdint>
#include <string>
#include <vector>

namespace pelko::catalog {
class CCD;
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::shell {

// The scan object a scanned medium belongs to: a folder by its path, a disc or partition by its
// volume label and serial (byte equality, depth first from the root, first match).
struct ScanObjectKey {
    std::uint8_t kind = 0;
    std::string label;  // model bytes
    std::uint32_t serial = 0;
    std::string folderPath;  // model bytes; used for folders only

    static ScanObjectKey Of(const catalog::CCD& cd);
    static ScanObjectKey Of(const catalog::CDiskInfo& entry);
    catalog::CDiskInfo* FindIn(const catalog::CCategory& root) const;
};

// A category by the names from the root down (the root itself has no name here, so a renamed
// root still resolves). A category moved or renamed since no longer resolves: the caller is told
// instead of filing somewhere the user did not choose.
class CategoryPath {
public:
    CategoryPath() = default;  // the root
    static CategoryPath Of(const catalog::CCategory& category);

    catalog::CCategory* Resolve(catalog::CCategory& root) const;
    // "\" joined, as the user sees catalog paths (model bytes); empty for the root.
    std::string Text() const;

private:
    std::vector<std::string> m_names;
};

}  // namespace pelko::shell
