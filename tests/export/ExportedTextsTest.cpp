#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/ExportedTexts.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::vector<ExportedTextNode>& nodes) {
    std::vector<std::string> names;
    for (const ExportedTextNode& node : nodes) names.push_back(text::ToUtf8(node.name));
    return names;
}

TEST(ExportedTexts, FoldersComeFirstThenTextFilesEachByNameWithoutRegardToCase) {
    test::TempDir dir;
    dir.MakeFolder("b");
    dir.MakeFolder("A");
    dir.MakeFolder("empty");
    dir.MakeFolder("notes.txt");  // a folder stays a folder, whatever its name
    dir.WriteFile("Zeta.txt", "z");
    dir.WriteFile("beta.txt", "b");
    dir.WriteFile("readme.txt.bak", "r");  // the name holds ".txt"
    dir.WriteFile("Disc.htm", "<p>");
    dir.WriteFile("index.htm", "<p>");
    dir.WriteFile("UPPER.TXT", "u");  // ".TXT" is not ".txt"
    dir.WriteFile("b/inner.txt", "i");
    dir.WriteFile("b/Inner.htm", "i");

    const std::vector<ExportedTextNode> nodes = ListExportedTexts(dir.path());
    EXPECT_EQ(Names(nodes), (std::vector<std::string>{"A", "b", "empty", "notes.txt", "beta.txt", "readme.txt.bak",
                                                      "Zeta.txt"}));
    ASSERT_EQ(nodes.size(), 7u);
    EXPECT_TRUE(nodes[1].folder);
    EXPECT_FALSE(nodes[4].folder);
    EXPECT_EQ(Names(nodes[1].children), (std::vector<std::string>{"inner.txt"}));
    EXPECT_TRUE(nodes[2].children.empty());
    EXPECT_EQ(nodes[4].path, dir / "beta.txt");
}

TEST(ExportedTexts, ChineseNamesAreOrderedByTheirModelBytes) {
    // 光 is B9E2 and 软 is C8ED in GBK, so 光盘 comes first although its UTF-8 bytes are larger.
    test::TempDir dir;
    dir.WriteFile("软件.txt", "");
    dir.WriteFile("光盘.txt", "");
    dir.WriteFile("Zip.txt", "");
    EXPECT_EQ(Names(ListExportedTexts(dir.path())), (std::vector<std::string>{"Zip.txt", "光盘.txt", "软件.txt"}));
}

TEST(ExportedTexts, ALinkBackUpTheTreeIsNotFollowed) {
    test::TempDir dir;
    dir.WriteFile("sub/a.txt", "a");
    fs::create_directory_symlink(dir.path(), dir / "sub/loop");
    const std::vector<ExportedTextNode> nodes = ListExportedTexts(dir.path());
    ASSERT_EQ(Names(nodes), (std::vector<std::string>{"sub"}));
    EXPECT_EQ(Names(nodes[0].children), (std::vector<std::string>{"a.txt"}));
}

TEST(ExportedTexts, AMissingFolderListsNothing) {
    test::TempDir dir;
    EXPECT_TRUE(ListExportedTexts(dir / "absent").empty());
}

TEST(ExportedTexts, TextIsReadWithLineFeedsAndWrittenBackInTheCodePageWithCrLf) {
    struct Row {
        const char* name;
        std::string onDisk;
        std::string read;
    };
    const std::vector<Row> rows = {
        {"crlf", "a\r\nb\r\n", "a\nb\n"},
        {"lone-cr", "a\rb", "a\nb"},
        {"lf", "a\nb", "a\nb"},
        {"cr-then-crlf", "a\r\r\nb", "a\n\nb"},
    };
    test::TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path file = dir.WriteFile(std::string(row.name) + ".txt", row.onDisk);
        EXPECT_EQ(ReadExportedText(file), row.read);
    }

    const fs::path file = dir / "Disc 12.txt";
    const std::string edited = text::Local("Pelko\\软件\\Disc 12\n\n├readme.txt\n└【文件夹】lang\n");
    ASSERT_TRUE(WriteExportedText(file, edited));
    // GBK bytes, CR LF, no byte-order mark.
    EXPECT_EQ(test::ReadFile(file), text::Local("Pelko\\软件\\Disc 12\r\n\r\n├readme.txt\r\n└【文件夹】lang\r\n"));
    EXPECT_EQ(test::ReadFile(file).substr(6, 2), "\xC8\xED");
    EXPECT_EQ(ReadExportedText(file), edited);
}

TEST(ExportedTexts, AFileThatCannotBeReadOrWrittenIsReported) {
    test::TempDir dir;
    EXPECT_FALSE(ReadExportedText(dir / "absent.txt"));
    EXPECT_FALSE(ReadExportedText(dir.path()));  // a folder
    EXPECT_FALSE(WriteExportedText(dir / "absent/x.txt", "x"));
    EXPECT_FALSE(fs::exists(dir / "absent"));
}

}  // namespace
}  // namespace pelko::exporting
