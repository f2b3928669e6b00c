#pragma once
// One object of the catalog as the tree and the list show it: a category, an entry, a folder
// or a file of the open scan object, or the readme row the list shows for a loaded object.
// The open scan object's own node is its disc (a CCD, which is a CDir).

#include <memory>
#include <variant>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"

namespace pelko::shell {

struct ReadmeRow {
    bool operator==(const ReadmeRow&) const = default;
};

using CatalogObject =
    std::variant<catalog::CCategory*, catalog::CDiskInfo*, catalog::CDir*, catalog::CFileInfo*, ReadmeRow>;

// Visitor of lambdas for std::visit over a CatalogObject.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// The scan object open in the tree: its entry and its loaded disc (one at a time).
struct OpenScanObject {
    catalog::CDiskInfo* entry = nullptr;
    std::unique_ptr<catalog::CCD> cd;

    bool IsOpen(const catalog::CDiskInfo* candidate) const { return cd && entry == candidate; }
    // Drops the loaded disc without writing it (its files are gone or about to go).
    void Discard() {
        cd.reset();
        entry = nullptr;
    }
};

// The objects cut from the list, and the category they were cut from.
struct CutList {
    catalog::CCategory* source = nullptr;
    std::vector<CatalogObject> objects;
};

}  // namespace pelko::shell
