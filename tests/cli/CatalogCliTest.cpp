#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/CliRun.h"
#include "cli/Command.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

using Result = test::CliResult;

class CatalogCliTest : public ::testing::Test {
protected:
    test::TempDir catalogDir;
    test::TempDir tree;
    settings::MemorySettingsStore settings;

    Result Run(std::vector<std::string> args, const std::string& input = {}) {
        return test::RunCliOn(catalogDir.path(), std::move(args), settings, input);
    }
};

TEST_F(CatalogCliTest, FirstStartCreatesTheDefaultCatalog) {
    const Result init = Run({"init"});
    ASSERT_EQ(init.status, 0) << init.err;
    EXPECT_EQ(init.out, (catalogDir / "tnk.dat").string() + "\n30 categories, 0 scan objects\n");
    EXPECT_TRUE(fs::exists(catalogDir / "Disk/fdisk.bmp"));
    const Result history = Run({"history"});
    EXPECT_EQ(history.status, 0);
    EXPECT_EQ(history.out, "");
    const Result tree = Run({"tree"});
    EXPECT_EQ(tree.out.rfind("Pelko/\n  图片/\n    旅游/\n", 0), 0u) << tree.out;
}

TEST_F(CatalogCliTest, ScanFolderFilesIntoACategoryAndRescans) {
    tree.WriteFile("a.txt", "hello");
    const Result filed = Run({"scan-folder", tree.path(), "--category", "Pelko/软件/系统软件", "--name",
                              "我的文件夹", "--memo", "备注"});
    ASSERT_EQ(filed.status, 0) << filed.err;
    EXPECT_NE(filed.err.find("成功地把文件夹 我的文件夹 加入到光盘库！"), std::string::npos) << filed.err;
    const fs::path zip = filed.out.substr(0, filed.out.size() - 1);
    EXPECT_TRUE(fs::exists(zip));

    const Result info = Run({"info", "软件\\系统软件\\我的文件夹"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("名称：我的文件夹\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("当前所有文件个数：1个\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("备注信息：备注"), std::string::npos) << info.out;

    tree.WriteFile("b.txt", "world");
    const Result again = Run({"scan-folder", tree.path(), "--category", "图片"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("重新扫描文件夹 [ 我的文件夹 ] 成功！"), std::string::npos) << again.err;
    EXPECT_EQ(again.out, filed.out) << "the same disc file is updated";
    const Result infoAgain = Run({"info", "软件/系统软件/我的文件夹"});
    EXPECT_NE(infoAgain.out.find("当前所有文件个数：2个\n"), std::string::npos) << infoAgain.out;
    const Result treeOut = Run({"tree"});
    EXPECT_EQ(treeOut.out.find("我的文件夹"), treeOut.out.rfind("我的文件夹")) << "filed once";

    const Result missing = Run({"scan-folder", catalogDir.path(), "--category", "no/such"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no category no/such"), std::string::npos);
    EXPECT_EQ(Run({"info", "nothing here"}).status, 1);
}

TEST_F(CatalogCliTest, PasswordIsAskedAndChecked) {
    ASSERT_EQ(Run({"passwd"}, "secret\n").status, 0);
    const Result locked = Run({"tree"});
    EXPECT_EQ(locked.status, 1);
    EXPECT_NE(locked.err.find("--password-stdin"), std::string::npos);
    const Result wrong = Run({"--password-stdin", "tree"}, "Secret\n");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("输入的密码不正确, 请重新登录"), std::string::npos);
    EXPECT_EQ(Run({"--password-stdin", "tree"}, "secret\n").status, 0);
    ASSERT_EQ(Run({"--password-stdin", "passwd"}, "secret\n\n").status, 0) << "an empty password clears it";
    EXPECT_EQ(Run({"tree"}).status, 0);
    const Result tooLong = Run({"passwd"}, std::string(256, 'x') + "\n");
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_EQ(Run({"tree"}).status, 0) << "a refused password changes nothing";
}

TEST_F(CatalogCliTest, FindPrintsHitsAndKeepsTheSearch) {
    tree.WriteFile("Setup/readme.TXT", "a");
    tree.WriteFile("Setup/中文.txt.bak", "b");
    tree.WriteFile("other.doc", "c");
    ASSERT_EQ(Run({"scan-folder", tree.path(), "--category", "软件", "--name", "盘一"}).status, 0);

    const Result files = Run({"find", "*.txt"});
    ASSERT_EQ(files.status, 0) << files.err;
    EXPECT_EQ(files.out,
              "提示：  正在查找...\n"
              "        范围：类别<< Pelko >>及其所有子类别下下的光盘\n"
              "        对象：文件名称\n"
              "        条件：部分匹配，不分大小写\n"
              "        内容：*.txt\n"
              "        Pelko\\软件\\盘一\\Setup\\readme.TXT\n"
              "        Pelko\\软件\\盘一\\Setup\\中文.txt.bak\n"
              "提示：  符合条件的查找结果共有 2 项\n");

    const Result none =
        Run({"find", "*.txt", "--what", "discname,catname,dirname", "--case", "--in", "软件"});
    EXPECT_EQ(none.status, 1) << none.err;
    EXPECT_NE(none.out.find("符合条件的查找结果共有 0 项"), std::string::npos);

    const Result disc = Run({"find", "setup", "--what", "dirname,catname", "--whole", "--in", "软件/盘一"});
    EXPECT_EQ(disc.status, 0) << disc.err;
    EXPECT_NE(disc.out.find("范围：光盘<< Pelko\\软件\\盘一 >>\n"), std::string::npos) << disc.out;
    EXPECT_NE(disc.out.find("对象：文件夹名称\n"), std::string::npos) << "the catalog target is dropped";
    EXPECT_NE(disc.out.find("        Pelko\\软件\\盘一\\Setup\n"), std::string::npos);

    EXPECT_EQ(settings.ReadString("FW_strFilter", ""), "setup");
    EXPECT_EQ(settings.ReadInt("FW_nFindWhat", 0), 4);
    EXPECT_EQ(settings.ReadInt("FW_bPartMatch", 1), 0);
    EXPECT_EQ(Run({"history"}).out, "setup\n*.txt\n");

    const Result empty = Run({"find", "", "--what", "name"});
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("查找内容不能为空!"), std::string::npos);
    EXPECT_EQ(Run({"find", "x", "--what", "size"}).status, 2);
    EXPECT_EQ(Run({"find", "x", "--in", "no/such"}).status, 1);
}

// The scan files the disc with its search index; find answers from it exactly as from the disc
// file (--full); `index` tells which indexes are current and --rebuild makes them all anew.
TEST_F(CatalogCliTest, IndexIsKeptWithTheDiscAndRebuiltOnRequest) {
    tree.WriteFile("Setup/readme.TXT", "a");
    tree.WriteFile("docs/a.txt", "b");
    ASSERT_EQ(Run({"scan-folder", tree.path(), "--category", "软件", "--name", "盘一"}).status, 0);
    const fs::path indexFolder = catalogDir.path() / "Index";
    ASSERT_EQ(std::distance(fs::directory_iterator(indexFolder), fs::directory_iterator()), 1);
    const std::string current =
        "scan objects: 1 with a current index, 0 to be indexed at their next search, 0 "
        "without a disc file\n";
    EXPECT_EQ(Run({"index"}).out, current);

    const Result indexed = Run({"find", "*.txt"});
    EXPECT_EQ(indexed.status, 0);
    EXPECT_NE(indexed.out.find("共有 2 项"), std::string::npos) << indexed.out;
    EXPECT_EQ(Run({"find", "*.txt", "--full"}).out, indexed.out);

    const fs::path index = fs::directory_iterator(indexFolder)->path();
    test::WriteFileBytes(index, {});  // damaged
    EXPECT_EQ(Run({"index"}).out,
              "scan objects: 0 with a current index, 1 to be indexed at their next search, 0 "
              "without a disc file\n");
    EXPECT_EQ(Run({"find", "*.txt"}).out, indexed.out) << "a damaged index is not used";
    EXPECT_EQ(Run({"index"}).out, current) << "the search wrote it anew";

    test::WriteFileBytes(indexFolder / "GHOST1.pkb.idx", {});
    const Result rebuilt = Run({"index", "--rebuild"});
    EXPECT_EQ(rebuilt.status, 0) << rebuilt.err;
    EXPECT_EQ(rebuilt.out,
              "rebuilt the index of 1 scan objects; 0 without a readable disc file; removed 1 index files of "
              "no scan "
              "object\n");
    EXPECT_FALSE(fs::exists(indexFolder / "GHOST1.pkb.idx"));
    EXPECT_EQ(Run({"index"}).out, current);
    EXPECT_EQ(Run({"index", "--now"}).status, 2);
}

}  // namespace
}  // namespace pelko::cli
