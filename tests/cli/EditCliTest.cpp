#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "settings/SettingsStore.h"
#include "cli/CliRun.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

using Result = test::CliResult;

class EditCliTest : public ::testing::Test {
protected:
    Result Run(const fs::path& catalog, std::vector<std::string> args) {
        return test::RunCliOn(catalog, std::move(args), settings);
    }
    Result Run(std::vector<std::string> args) { return Run(catalogDir.path(), std::move(args)); }

    // Scans a small folder into `catalog` as `name` and returns its disc ZIP.
    fs::path Scan(const fs::path& catalog, const std::string& folder, const std::string& name,
                  const std::string& category = "Pelko") {
        tree.WriteFile(folder + "/a.txt", "hello");
        const Result scanned =
            Run(catalog, {"scan-folder", (tree / folder).string(), "--category", category, "--name", name});
        EXPECT_EQ(scanned.status, 0) << scanned.err;
        return scanned.out.substr(0, scanned.out.size() - 1);
    }

    std::string Tree() { return Run({"tree"}).out; }

    test::TempDir catalogDir;
    test::TempDir tree;
    settings::MemorySettingsStore settings;
};

TEST_F(EditCliTest, MakeRenameMemoMoveAndRemove) {
    ASSERT_EQ(Run({"init"}).status, 0);
    const Result made = Run({"mkcat", "Pelko", "收藏"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "Pelko\\收藏\n");
    EXPECT_EQ(Run({"mkcat", "Pelko", "收藏"}).status, 1);  // taken: nothing is left behind
    EXPECT_EQ(Tree().find("新建类别"), std::string::npos);

    const fs::path zip = Scan(catalogDir.path(), "one", "Disc");
    EXPECT_EQ(Run({"rename", "Disc", "唱片"}).out, "Pelko\\唱片\n");
    const Result empty = Run({"rename", "唱片", "  "});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("名称不能为空"), std::string::npos) << empty.err;
    EXPECT_EQ(Run({"memo", "唱片", "好听"}).status, 0);
    EXPECT_NE(Run({"info", "唱片"}).out.find("备注信息：好听"), std::string::npos);

    const Result moved = Run({"mv", "唱片", "收藏"});
    ASSERT_EQ(moved.status, 0) << moved.err;
    EXPECT_NE(Tree().find("  收藏/\n    * 唱片"), std::string::npos) << Tree();
    const Result intoItself = Run({"mv", "收藏", "收藏"});
    EXPECT_EQ(intoItself.status, 1);
    EXPECT_NE(intoItself.err.find("不能移动[收藏]到子类别[收藏]"), std::string::npos) << intoItself.err;

    const Result asked = Run({"rm", "收藏"});
    EXPECT_EQ(asked.status, 1);  // nobody answered the question
    EXPECT_NE(asked.err.find("删除类别 '收藏'？"), std::string::npos) << asked.err;
    EXPECT_TRUE(fs::exists(zip));
    EXPECT_EQ(Run({"rm", "--yes", "收藏"}).status, 0);
    EXPECT_FALSE(fs::exists(zip));
    EXPECT_EQ(Tree().find("收藏"), std::string::npos);
    const Result root = Run({"rm", "--yes", "Pelko"});
    EXPECT_EQ(root.status, 1);
    EXPECT_NE(root.err.find("不能删除顶级目录!"), std::string::npos) << root.err;
    EXPECT_EQ(Run({"sort"}).status, 0);
}

TEST_F(EditCliTest, MergeAndAddBringDiscsFromAnotherCatalog) {
    test::TempDir other;
    ASSERT_EQ(Run({"init"}).status, 0);
    ASSERT_EQ(Run(other.path(), {"init"}).status, 0);
    ASSERT_EQ(Run(other.path(), {"mkcat", "Pelko", "外来"}).status, 0);
    const fs::path theirZip = Scan(other.path(), "theirs", "Their disc", "外来");
    const fs::path secondZip = Scan(other.path(), "second", "Second");

    const Result merged = Run({"merge", other.path()});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_NE(Tree().find("  外来/\n    * Their disc"), std::string::npos) << Tree();
    EXPECT_TRUE(fs::exists(catalogDir / "Disk" / theirZip.filename()));
    EXPECT_EQ(Run({"info", "外来/Their disc"}).status, 0);
    const Result again = Run({"merge", other.path()});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(Tree().find("* Their disc", Tree().find("* Their disc") + 1), std::string::npos);

    const Result noCatalog = Run({"merge", tree.path()});
    EXPECT_EQ(noCatalog.status, 1);
    EXPECT_NE(noCatalog.err.find("待合并目录中没有包含pelko.pkb或tnk.dat"), std::string::npos)
        << noCatalog.err;

    // The second disc is already here after the merge: adding its file again is refused.
    const Result known = Run({"add", secondZip});
    EXPECT_EQ(known.status, 1);
    EXPECT_NE(known.err.find("该光盘已经存在，路径为 Pelko\\Second"), std::string::npos) << known.err;

    test::TempDir fresh;
    ASSERT_EQ(Run(fresh.path(), {"init"}).status, 0);
    const Result added =
        Run(fresh.path(), {"add", "--category", "软件", "--name", "新盘", "--memo", "备注", secondZip});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "1 added\n");
    const Result info = Run(fresh.path(), {"info", "软件/新盘"});
    EXPECT_NE(info.out.find("备注信息：备注"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("当前所有文件个数：1个"), std::string::npos) << info.out;
    EXPECT_TRUE(fs::exists(fresh / "Disk" / secondZip.filename()));
}

}  // namespace
}  // namespace pelko::cli
