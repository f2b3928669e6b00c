#pragma once
// Catalog changes for tests: each report is recorded as one line naming the call and the
// objects by their model names ("added Disc1 to Music", "remove Songs from Disc1",
// "moved Disc1 Music>Video", "changed Disc1", "opened Disc1", "closing Disc1", "reset").

#include <string>
#include <vector>

#include "shell/CatalogChanges.h"

namespace pelko::test {

class RecordingChanges final : public shell::CatalogChanges {
public:
    std::vector<std::string> calls;

    static std::string NameOf(const shell::CatalogObject& object) {
        return std::visit(shell::Overloaded{
                              [](catalog::CCategory* c) { return c ? c->m_strName : std::string("(none)"); },
                              [](catalog::CDiskInfo* e) { return e ? e->m_strName : std::string("(none)"); },
                              [](catalog::CDir* d) { return d ? std::string(d->m_strName.view()) : std::string("(none)"); },
                              [](catalog::CFileInfo* f) { return f ? std::string(f->m_strName.view()) : std::string("(none)"); },
                              [](shell::ReadmeRow) { return std::string("ReadMe"); },
                          },
                          object);
    }

    void Added(const shell::CatalogObject& object, const shell::CatalogObject& parent) override {
        calls.push_back("added " + NameOf(object) + " to " + NameOf(parent));
    }
    void AboutToRemove(const shell::CatalogObject& object, const shell::CatalogObject& parent) override {
        calls.push_back("remove " + NameOf(object) + " from " + NameOf(parent));
    }
    void Moved(const shell::CatalogObject& object, catalog::CCategory* oldParent,
               catalog::CCategory* newParent) override {
        calls.push_back("moved " + NameOf(object) + " " + NameOf(oldParent) + ">" + NameOf(newParent));
    }
    void Changed(const shell::CatalogObject& object) override { calls.push_back("changed " + NameOf(object)); }
    void ScanObjectOpened(catalog::CDiskInfo& entry, catalog::CCD&) override {
        calls.push_back("opened " + entry.m_strName);
    }
    void ScanObjectAboutToClose(catalog::CDiskInfo& entry, catalog::CCD&) override {
        calls.push_back("closing " + entry.m_strName);
    }
    void Reset() override { calls.push_back("reset"); }
};

}  // namespace pelko::test
