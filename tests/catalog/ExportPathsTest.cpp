#include "catalog/ExportPaths.h"

#include <gtest/gtest.h>

#include "catalog/CCategory.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;

// Names become single path components: no name can lead outside the catalog folder.
TEST(ExportPathsTest, HostileNamesStayInsideTheCatalogFolder) {
    struct Case {
        const char* category;
        const char* entry;
        const char* expected;
    };
    const Case cases[] = {
        {"软件", "Disc 1", "/cat/Pelko/软件/Disc 1.htm"},
        {"..", "..", "/cat/Pelko/__/__.htm"},
        {"a/../..", "../../etc/passwd", "/cat/Pelko/a_.._../.._.._etc_passwd.htm"},
        {"", ".", "/cat/Pelko/_/_.htm"},
    };
    test::RecordingLog log;
    test::ScriptedUi ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        CCategory root;
        CCategory* category = root.AddNewSubcategory(text::FromUtf8(c.category), log, ui);
        CDiskInfo* entry = category->AddNewEntry(text::FromUtf8(c.entry), log);
        const fs::path page = EntryExportPage("/cat", *entry, ".htm");
        EXPECT_EQ(page.native(), c.expected);
        EXPECT_EQ(page.lexically_normal().native().rfind("/cat/Pelko/", 0), 0u);
    }
}

}  // namespace
}  // namespace pelko::catalog
