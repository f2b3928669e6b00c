#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "cli/CliRun.h"
#include "cli/Command.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

using CliRun = test::CliResult;

CliRun Cli(const std::vector<std::string>& args) { return test::RunCliAsIs(args); }

const catalog::CDir* FindDir(const catalog::CDir& dir, std::string_view modelName) {
    for (const auto& d : dir.Subdirs())
        if (d->m_strName == modelName) return d.get();
    return nullptr;
}

const catalog::CFileInfo* FindFile(const catalog::CDir& dir, std::string_view modelName) {
    for (const auto& f : dir.Files())
        if (f->m_strName == modelName) return f.get();
    return nullptr;
}

// Every run reads its settings from a file of the test's own, never from the user's.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("PELKO_SETTINGS_FILE", settingsFile.c_str(), 1); }
    void TearDown() override { ::unsetenv("PELKO_SETTINGS_FILE"); }

    test::TempDir tree;
    test::TempDir catalogDir;
    test::TempDir settingsDir;
    const fs::path settingsFile = settingsDir / "Pelko.conf";
};

// Walk, write, compress, open again: every name, size and time of the tree comes back.
TEST_F(CliTest, ScanFolderThenDumpGivesTheTreeBack) {
    tree.WriteFile("光盘/说明.txt", "abc");
    tree.WriteFile("emoji 😀/𠀀.dat", "12345");
    tree.WriteFile("ascii/readme.TXT", "r");
    tree.WriteFile("README.txt", "catalog description");
    {
        std::ofstream sparse(tree / "big.iso");
        sparse.close();
        fs::resize_file(tree / "big.iso", (4ull << 30) + 1);
    }
    tree.WriteFile(std::string("bad\xFFname"), "x");
    fs::create_directory_symlink("..", tree / "ascii/loop");
    fs::create_directories(tree / "many");
    for (int i = 0; i < 20000; ++i) std::ofstream(tree / "many" / ("f" + std::to_string(i)));

    const CliRun scan = Cli({"--catalog", catalogDir.path(), "scan-folder", tree.path()});
    ASSERT_EQ(scan.status, 0) << scan.err;
    const fs::path zip = scan.out.substr(0, scan.out.size() - 1);
    EXPECT_EQ(zip.parent_path(), catalogDir / "Disk");
    EXPECT_EQ(zip.extension(), ".zip");
    EXPECT_TRUE(fs::exists(zip));
    EXPECT_FALSE(fs::exists(zip.parent_path() / zip.stem())) << "the plain file is removed after compression";

    test::RecordingLog log;
    catalog::DiscStore store(catalogDir.path(), log);
    const auto cd = store.OpenPath(zip);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->m_nKind, catalog::CCD::kKindFixedDir);
    EXPECT_EQ(cd->m_strFolderPath, text::FromUtf8(tree.path().native()));
    EXPECT_EQ(cd->m_strVolumeLabel, text::FromUtf8(tree.path().filename().native()));
    EXPECT_EQ(cd->m_strReadme, "catalog description");

    const auto* chinese = FindDir(*cd, text::Local("光盘"));
    ASSERT_NE(chinese, nullptr);
    ASSERT_NE(FindFile(*chinese, text::Local("说明.txt")), nullptr);
    EXPECT_EQ(FindFile(*chinese, text::Local("说明.txt"))->Size(), 3u);
    const auto* emoji = FindDir(*cd, text::Local("emoji 😀"));
    ASSERT_NE(emoji, nullptr);
    EXPECT_NE(FindFile(*emoji, text::Local("𠀀.dat")), nullptr);
    EXPECT_EQ(FindFile(*cd, "big.iso")->Size(), (4ull << 30) + 1);
    EXPECT_NE(FindFile(*cd, text::FromUtf8("bad\xFFname")), nullptr)
        << "an undecodable name is still recorded";
    const auto* loop = FindFile(*FindDir(*cd, "ascii"), "loop");
    ASSERT_NE(loop, nullptr) << "a symbolic link is recorded as a file, never followed";
    EXPECT_EQ(FindDir(*cd, "many")->Files().size(), 20000u);

    struct stat st {};
    ASSERT_EQ(::stat((tree / "ascii/readme.TXT").c_str(), &st), 0);
    const std::uint64_t mtime = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 10000000ull +
                                static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100 + 116444736000000000ull;
    const std::uint64_t recorded = FindFile(*FindDir(*cd, "ascii"), "readme.TXT")->m_ftTime;
    EXPECT_LE(recorded, mtime) << "the creation time is recorded, never later than the modification";
    EXPECT_GT(recorded, 116444736000000000ull);

    const CliRun summary = Cli({"dump", "--summary", zip});
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_NE(summary.out.find("files: 20007\n"), std::string::npos) << summary.out;
    EXPECT_NE(summary.out.find("folders: 4\n"), std::string::npos) << summary.out;
    EXPECT_NE(summary.out.find("bytes: 4294967328\n"), std::string::npos) << summary.out;

    const CliRun json = Cli({"dump", "--json", zip});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"label\":", 0), 0u);
    EXPECT_NE(json.out.find("\"name\":\"光盘\""), std::string::npos);
    EXPECT_NE(json.out.find("{\"name\":\"big.iso\",\"memo\":\"\",\"size\":4294967297,"), std::string::npos);
    EXPECT_NE(json.out.find("\"version\":49,\"kind\":2,"), std::string::npos);
}

TEST_F(CliTest, SettingsFromTheFileWithOverridesForOneRun) {
    tree.WriteFile("a.txt", "a");
    tree.WriteFile("skip.TMP", "t");
    tree.WriteFile("sub/b.txt", "b");
    // Each scan goes into a catalog of its own: in one catalog the second scan of the same
    // folder would be a re-scan, which keeps what the first one recorded.
    const auto scanSummary = [&](std::vector<std::string> options) {
        const test::TempDir freshCatalog;
        std::vector<std::string> args = {"--catalog", freshCatalog.path()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"scan-folder", tree.path()});
        const CliRun scan = Cli(args);
        EXPECT_EQ(scan.status, 0) << scan.err;
        return Cli({"dump", "--summary", scan.out.substr(0, scan.out.size() - 1)}).out;
    };

    EXPECT_NE(scanSummary({"--set", "g_bCheckOnlyDir=1"}).find("files: 0\nfolders: 1\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(settingsFile)) << "an override is never stored";

    const std::string stored = "[settings]\ng_bCheckOnlyDir=1\ng_bCheckFileExt=1\ng_szFileLimit=*.tmp\n";
    settingsDir.WriteFile("Pelko.conf", stored);
    EXPECT_NE(scanSummary({}).find("files: 0\nfolders: 1\n"), std::string::npos) << "read from the file";
    EXPECT_NE(scanSummary({"--set", "g_bCheckOnlyDir=0"}).find("files: 2\nfolders: 1\n"), std::string::npos)
        << "the override shadows the file, the file's other values still apply";
    EXPECT_NE(scanSummary({"--set", "g_bCheckOnlyDir=0", "--set", "g_szFileLimit=*.TXT"})
                  .find("files: 1\nfolders: 1\n"),
              std::string::npos)
        << "a list given in capitals is matched in lower case";
    EXPECT_EQ(test::ReadFile(settingsFile), stored);
}

TEST_F(CliTest, ErrorsAndUsage) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* errPart;
    };
    const std::string missing = (catalogDir / "Disk/NONE1.pkb").string();
    catalogDir.WriteFile("Disk/JUNK1.pkb",
                         "\x03"
                         "abc");
    const std::string junk = (catalogDir / "Disk/JUNK1.pkb").string();
    const Case cases[] = {
        {{}, 2, "usage:"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"--set", "g_nFileLimit=lots", "scan-folder", "x"}, 2, "whole number"},
        {{"--set", "NoSuchKey=1", "scan-folder", "x"}, 2, "unknown setting"},
        {{"scan-folder"}, 2, "usage:"},
        {{"--catalog", catalogDir.path(), "scan-folder", (tree / "absent").string()}, 1, "not a folder"},
        {{"dump", missing}, 1, "这个扫描对象文件 "},
        {{"dump", junk}, 1, "并非真正的扫描后对象文件"},
        {{"dump", "--json"}, 2, "usage:"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.errPart), std::string::npos);
    }
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("scan-folder PATH"), std::string::npos);
    EXPECT_NE(help.out.find("dump [--json | --summary] FILE"), std::string::npos);
}

}  // namespace
}  // namespace pelko::cli
