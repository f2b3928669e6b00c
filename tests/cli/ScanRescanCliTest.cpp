// A folder scanned again is found again by its path when the walk has ended, also when its stored
// disc file predates folder paths in disc files and so carries none.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "settings/SettingsStore.h"
#include "cli/CliRun.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

TEST(ScanRescanCliTest, StoredDiscWithoutFolderPathIsScannedAgainIntoItsEntry) {
    test::TempDir catalogDir;
    test::TempDir tree;
    settings::MemorySettingsStore settings;
    tree.WriteFile("a.txt", "a");
    const test::CliResult filed = test::RunCliOn(catalogDir.path(), {"scan-folder", tree.path()}, settings);
    ASSERT_EQ(filed.status, 0) << filed.err;
    const fs::path zip = filed.out.substr(0, filed.out.size() - 1);

    {
        test::RecordingLog log;
        catalog::DiscStore discs(catalogDir.path(), log);
        std::unique_ptr<catalog::CCD> cd = discs.OpenPath(zip);
        ASSERT_NE(cd, nullptr);
        cd->m_strFolderPath.clear();
        cd->m_bModified = true;
        ASSERT_TRUE(discs.Release(cd));
    }

    tree.WriteFile("b.txt", "b");
    const test::CliResult again = test::RunCliOn(catalogDir.path(), {"scan-folder", tree.path()}, settings);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, filed.out) << "the same disc file is updated";
    EXPECT_NE(again.err.find("重新扫描文件夹 ["), std::string::npos) << again.err;
    const std::string name = tree.path().filename().native();
    const test::CliResult info = test::RunCliOn(catalogDir.path(), {"info", name}, settings);
    EXPECT_NE(info.out.find("当前所有文件个数：2个\n"), std::string::npos) << info.out;
}

}  // namespace
}  // namespace pelko::cli
