#pragma once
// What the editing and browsing commands tell the views about a change they made, so that a
// model updates the rows concerned instead of reading the whole catalog again. Every call comes
// on the thread that changed the catalog (the UI thread in the desktop program).
//
// Parents are categories for categories and entries, and folders (a CCD for the root folder)
// for the folders and files of the open scan object.

#include <vector>

#include "shell/CatalogObject.h"

namespace pelko::shell {

class CatalogChanges {
public:
    virtual ~CatalogChanges() = default;

    // `object` has been added under `parent`.
    virtual void Added(const CatalogObject& object, const CatalogObject& parent) = 0;
    // `object` is about to leave `parent` for good; both are still valid during the call.
    virtual void AboutToRemove(const CatalogObject& object, const CatalogObject& parent) = 0;
    // `object` has moved from `oldParent` to `newParent` (categories and entries only).
    virtual void Moved(const CatalogObject& object, catalog::CCategory* oldParent, catalog::CCategory* newParent) = 0;
    // The name, memo or statistics of `object` have changed.
    virtual void Changed(const CatalogObject& object) = 0;

    // The scan object of `entry` has been loaded as `cd`, whose folders now belong below it.
    virtual void ScanObjectOpened(catalog::CDiskInfo& entry, catalog::CCD& cd) = 0;
    // The open scan object of `entry` is about to be closed; `cd` is still valid.
    virtual void ScanObjectAboutToClose(catalog::CDiskInfo& entry, catalog::CCD& cd) = 0;

    // Many changes at once (sorting, merging, adding disc files): everything shown is read again.
    virtual void Reset() = 0;
};

// Hands every change on to several listeners, in the order they were added.
class CatalogChangeFanout final : public CatalogChanges {
public:
    void Add(CatalogChanges& listener) { m_listeners.push_back(&listener); }

    void Added(const CatalogObject& object, const CatalogObject& parent) override {
        for (auto* l : m_listeners) l->Added(object, parent);
    }
    void AboutToRemove(const CatalogObject& object, const CatalogObject& parent) override {
        for (auto* l : m_listeners) l->AboutToRemove(object, parent);
    }
    void Moved(const CatalogObject& object, catalog::CCategory* oldParent, catalog::CCategory* newParent) override {
        for (auto* l : m_listeners) l->Moved(object, oldParent, newParent);
    }
    void Changed(const CatalogObject& object) override {
        for (auto* l : m_listeners) l->Changed(object);
    }
    void ScanObjectOpened(catalog::CDiskInfo& entry, catalog::CCD& cd) override {
        for (auto* l : m_listeners) l->ScanObjectOpened(entry, cd);
    }
    void ScanObjectAboutToClose(catalog::CDiskInfo& entry, catalog::CCD& cd) override {
        for (auto* l : m_listeners) l->ScanObjectAboutToClose(entry, cd);
    }
    void Reset() override {
        for (auto* l : m_listeners) l->Reset();
    }

private:
    std::vector<CatalogChanges*> m_listeners;
};

}  // namespace pelko::shell
