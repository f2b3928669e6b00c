#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "settings/SettingsStore.h"
#include "cli/Command.h"
#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

// Opens every exported page with Python's HTML parser: each link of the index pages must name an
// existing file, and no page may hold a script element.
constexpr std::string_view kLinkChecker = R"(import html.parser, os, sys, urllib.parse
class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links, self.tags = [], []
    def handle_starttag(self, tag, attrs):
        self.tags.append(tag)
        self.links += [v for k, v in attrs if tag == 'a' and k == 'href']
root = sys.argv[1]
links = 0
for folder, _, files in os.walk(root):
    for name in files:
        if not name.endswith('.htm'):
            continue
        page = Page()
        page.feed(open(os.path.join(folder, name), 'rb').read().decode('gbk'))
        if 'script' in page.tags:
            sys.exit('script element in ' + name)
        for href in page.links:
            target = os.path.join(folder, urllib.parse.unquote(href))
            if not os.path.isfile(target):
                sys.exit('broken link ' + href + ' in ' + name)
            links += 1
print(links)
)";

struct Result {
    int status;
    std::string out;
    std::string err;
};

class ExportCliTest : public ::testing::Test {
protected:
    test::TempDir catalogDir;
    test::TempDir tree;
    test::TempDir plain;
    settings::MemorySettingsStore settings;

    Result Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--catalog", catalogDir.path()});
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, in, out, err, settings, false);
        return {status, out.str(), err.str()};
    }

    void ScanBoth() {
        tree.WriteFile("readme.txt", "r");
        tree.WriteFile("setup.exe", "s");
        tree.WriteFile("docs/a.txt", "a");
        tree.WriteFile("<script>alert(1)<", "x");
        tree.WriteFile("a b/中文.TXT", "c");
        plain.WriteFile("x.txt", "x");
        ASSERT_EQ(Run({"scan-folder", tree.path(), "--category", "软件", "--name", "Disc #1 100%?"}).status,
                  0);
        ASSERT_EQ(Run({"scan-folder", plain.path(), "--name", "普通"}).status, 0);
    }

    // The bytes of an exported file, as UTF-8 with CR LF kept.
    std::string Exported(std::string_view relative) {
        return text::ToUtf8(test::ReadFile(catalogDir / "Pelko" / relative));
    }
};

TEST_F(ExportCliTest, ExportedPagesAreBrowsable) {
    ScanBoth();
    const Result html = Run({"export", "--html", "--no-progress"});
    ASSERT_EQ(html.status, 0) << html.err;
    const fs::path root = catalogDir / "Pelko";
    EXPECT_EQ(html.out, (root / "index.htm").string() + "\n" + (root / "indexTxt.htm").string() + "\n" +
                            (root / "普通.htm").string() + "\n" + (root / "软件/Disc #1 100%?.htm").string() +
                            "\n");
    EXPECT_EQ(html.err, "") << "no progress asked for";
    const Result text = Run({"export", "--text"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.err.find((root / "普通.txt").string()), std::string::npos) << "progress shows the file";

    REQUIRE_TOOL("python3");
    const fs::path script = catalogDir.WriteFile("check.py", kLinkChecker);
    const std::string command = "python3 '" + script.string() + "' '" + root.string() + "' > '" +
                                (catalogDir / "links").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::ReadFile(catalogDir / "links");
    EXPECT_EQ(test::ReadFile(catalogDir / "links"), "4\n") << "two links in each index page";
}

TEST_F(ExportCliTest, TextListingsFollowTheOptions) {
    ScanBoth();
    ASSERT_EQ(Run({"export", "--text", "普通", "--no-progress"}).status, 0);
    EXPECT_EQ(Exported("普通.txt"), "Pelko\\普通\r\n\r\n└x.txt\r\n");
    ASSERT_EQ(Run({"export", "--text", "Pelko/普通", "--flat", "--no-progress"}).status, 0);
    EXPECT_EQ(Exported("普通.txt"), "Pelko\\普通\r\n\r\n   ..\r\n            x.txt\r\n");

    ASSERT_EQ(Run({"export", "--text", "软件", "--types", "*.TXT;*.doc", "--no-progress"}).status, 0);
    EXPECT_EQ(Exported("软件/Disc #1 100%?.txt"),
              "Pelko\\软件\\Disc #1 100%?\r\n\r\n├readme.txt\r\n├【文件夹】a "
              "b\r\n│└中文.TXT\r\n└【文件夹】docs\r\n  └a.txt\r\n");
    ASSERT_EQ(Run({"export", "--text", "软件", "--dirs-only", "--no-progress"}).status, 0);
    EXPECT_EQ(Exported("软件/Disc #1 100%?.txt"),
              "Pelko\\软件\\Disc #1 100%?\r\n\r\n├【文件夹】a b\r\n└【文件夹】docs\r\n");

    // The layout defaults to the settings.
    settings.WriteInt("g_bExportTree", 0);
    ASSERT_EQ(Run({"export", "--text", "普通", "--no-progress"}).status, 0);
    EXPECT_EQ(Exported("普通.txt"), "Pelko\\普通\r\n\r\n   ..\r\n            x.txt\r\n");
    EXPECT_NE(Exported("index.htm").find("普通</a>"), std::string::npos);
}

TEST_F(ExportCliTest, HelpPagesAndErrors) {
    const Result help = Run({"help-page"});
    ASSERT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out, (catalogDir / "help.htm").string() + "\n");
    EXPECT_NE(text::ToUtf8(test::ReadFile(catalogDir / "help.htm")).find("光盘库"), std::string::npos);
    const Result faq = Run({"faq-page"});
    ASSERT_EQ(faq.status, 0) << faq.err;
    EXPECT_EQ(faq.out, (catalogDir / "faq.htm").string() + "\n");

    EXPECT_EQ(Run({"export"}).status, 2);
    EXPECT_EQ(Run({"export", "--text", "--html"}).status, 2);
    EXPECT_EQ(Run({"export", "--text", "--types"}).status, 2);
    EXPECT_EQ(Run({"help-page", "extra"}).status, 2);
    const Result missing = Run({"export", "--text", "no/such"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no category or scan object no/such"), std::string::npos);
}

}  // namespace
}  // namespace pelko::cli
