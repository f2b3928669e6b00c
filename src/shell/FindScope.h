#pragma once
// An item of the catalog tree a search can start from: a category, or a scan object's entry.

namespace pelko::catalog {
class CCategory;
class CDiskInfo;
}  // namespace pelko::catalog

namespace pelko::shell {

struct FindScope {
    catalog::CCategory* category = nullptr;  // set for a category
    catalog::CDiskInfo* entry = nullptr;     // set for a scan object

    static FindScope Category(catalog::CCategory& c) { return {&c, nullptr}; }
    static FindScope Entry(catalog::CDiskInfo& e) { return {nullptr, &e}; }

    bool IsEmpty() const { return category == nullptr && entry == nullptr; }
    bool IsCategory() const { return category != nullptr; }
    bool IsEntry() const { return entry != nullptr; }
};

}  // namespace pelko::shell
