#pragma once
// Small scan objects and catalogs for the export tests, built in memory. Names are given in
// UTF-8 and stored as model bytes.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/CCD.h"
#include "catalog/CRootCategory.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"

namespace pelko::test {

inline catalog::CFileInfo* AddFile(catalog::CDir& dir, std::string_view name, std::string_view memo = {}) {
    auto file = std::make_unique<catalog::CFileInfo>();
    file->m_strName = text::Local(name);
    file->m_strMemo = text::Local(memo);
    return dir.InsertFile(std::move(file));
}

inline catalog::CDir* AddDir(catalog::CDir& dir, std::string_view name, std::string_view memo = {}) {
    auto sub = std::make_unique<catalog::CDir>();
    sub->m_strName = text::Local(name);
    sub->m_strMemo = text::Local(memo);
    return dir.InsertSubdir(std::move(sub));
}

// The root holds readme.txt and setup.exe (memo "installer"), and the folders docs (a.txt,
// b.txt) and lang (zh.dll).
inline std::unique_ptr<catalog::CCD> Disc12() {
    auto cd = std::make_unique<catalog::CCD>();
    AddFile(*cd, "readme.txt");
    AddFile(*cd, "setup.exe", "installer");
    catalog::CDir* docs = AddDir(*cd, "docs");
    AddFile(*docs, "a.txt");
    AddFile(*docs, "b.txt");
    catalog::CDir* lang = AddDir(*cd, "lang");
    AddFile(*lang, "zh.dll");
    return cd;
}

// A catalog tree: root "Pelko" with categories added by path.
class TestCatalog {
public:
    TestCatalog() { root.m_strName = "Pelko"; }

    // The category at a "\"-separated UTF-8 path below the root ("" is the root), made on demand.
    catalog::CCategory& Category(std::string_view path) {
        catalog::CCategory* c = &root;
        while (!path.empty()) {
            const std::size_t cut = path.find('\\');
            const std::string name = text::Local(path.substr(0, cut));
            catalog::CCategory* next = c->FindSubcategory(name);
            if (next == nullptr) next = c->AddNewSubcategory(name, log, ui);
            c = next;
            path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
        }
        return *c;
    }

    catalog::CDiskInfo& Entry(std::string_view categoryPath, std::string_view name,
                              std::string_view memo = {}) {
        catalog::CDiskInfo* entry = Category(categoryPath).AddNewEntry(text::Local(name), log);
        entry->m_strMemo = text::Local(memo);
        return *entry;
    }

    catalog::CRootCategory root;
    RecordingLog log;
    ScriptedUi ui;
};

}  // namespace pelko::test
