#include <gtest/gtest.h>

#include <atomic>

#include "ExportFixtures.h"
#include "export/ListingWriter.h"
#include "export/PageBuilder.h"
#include "export/Templates.h"

namespace pelko::exporting {
namespace {

using test::AddDir;
using test::AddFile;

// Files the type filter and the line-drawing rules care about: a name without extension, a
// folded extension, and a folder whose last file is filtered out.
std::unique_ptr<catalog::CCD> MixedDisc() {
    auto cd = std::make_unique<catalog::CCD>();
    AddFile(*cd, "Makefile");
    AddFile(*cd, "notes");
    AddFile(*cd, "README.TXT");
    catalog::CDir* x = AddDir(*cd, "x");
    AddFile(*x, "a.txt");
    AddFile(*x, "b.exe");
    return cd;
}

std::unique_ptr<catalog::CCD> EmptyDisc() { return std::make_unique<catalog::CCD>(); }

struct TextCase {
    const char* name;
    std::unique_ptr<catalog::CCD> (*disc)();
    bool tree;
    bool memo;
    bool foldersOnly;
    const char* typeList;  // null: all types
    const char* expected;  // UTF-8, "\n" for CR LF, after the header and the empty line
};

const TextCase kTextCases[] = {
    {"TreeWithMemos", test::Disc12, true, true, false, nullptr,
     "├readme.txt\n├setup.exe  /*installer*/\n├【文件夹】docs\n│├a.txt\n│└b.txt\n└【文件夹】lang\n  "
     "└zh.dll\n"},
    {"TreeWithoutMemos", test::Disc12, true, false, false, nullptr,
     "├readme.txt\n├setup.exe\n├【文件夹】docs\n│├a.txt\n│└b.txt\n└【文件夹】lang\n  └zh.dll\n"},
    {"FlatWithMemos", test::Disc12, false, true, false, nullptr,
     "   ..\n            readme.txt\n            setup.exe  /*installer*/\n   ..\\docs\n            a.txt\n"
     "            b.txt\n   ..\\lang\n            zh.dll\n"},
    {"TreeTypeFilter", test::Disc12, true, true, false, "*.txt;*.doc",
     "├readme.txt\n├【文件夹】docs\n│├a.txt\n│└b.txt\n└【文件夹】lang\n"},
    {"TypeWithoutAsteriskMatchesNothing", test::Disc12, true, false, false, ".txt",
     "├【文件夹】docs\n└【文件夹】lang\n"},
    {"FoldedExtensionAndWholeName", MixedDisc, true, false, false, "*.TXT;makefile",
     "├Makefile\n├README.TXT\n└【文件夹】x\n  ├a.txt\n"},
    {"FlatTypeFilter", MixedDisc, false, false, false, "*.exe", "   ..\n   ..\\x\n            b.exe\n"},
    {"TreeFoldersOnly", test::Disc12, true, true, true, nullptr, "├【文件夹】docs\n└【文件夹】lang\n"},
    {"FlatFoldersOnly", test::Disc12, false, false, true, "*.txt", "   ..\n   ..\\docs\n   ..\\lang\n"},
    {"EmptyTree", EmptyDisc, true, true, false, nullptr, ""},
    {"EmptyFlat", EmptyDisc, false, true, false, nullptr, "   ..\n"},
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

std::string Crlf(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return text::Local(out);
}

class TextListing : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextListing, MatchesByteForByte) {
    const TextCase& c = GetParam();
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("Software", "Disc 12");
    const std::unique_ptr<catalog::CCD> disc = c.disc();
    ExportOptions options;
    options.style.tree = c.tree;
    options.style.memo = c.memo;
    options.filter.foldersOnly = c.foldersOnly;
    if (c.typeList != nullptr) {
        options.filter.allTypes = false;
        options.filter.listedTypes = true;
        options.filter.typeList = c.typeList;
    }
    const std::atomic<bool> running{true};
    const std::optional<std::string> file = BuildEntryFile(entry, *disc, options, running, nullptr);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(*file, Crlf("Pelko\\Software\\Disc 12\n\n") + Crlf(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextListing, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextListingBytes, LineDrawingIsGbkAndTheFolderSignComesFromTheStyle) {
    EXPECT_EQ(kBranch, text::Local("├"));
    EXPECT_EQ(kBranch, "\xA9\xC0");
    EXPECT_EQ(kLastBranch, "\xA9\xB8");
    EXPECT_EQ(kVertical, "\xA9\xA6");

    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("", "d");
    const std::unique_ptr<catalog::CCD> disc = test::Disc12();
    ExportOptions options;
    options.style.memo = true;
    options.style.dirSign = "[D]";
    options.style.txtPre = "(";
    options.style.txtPost = ")";
    const std::atomic<bool> running{true};
    EXPECT_EQ(BuildEntryFile(entry, *disc, options, running, nullptr).value(),
              Crlf("Pelko\\d\n\n├readme.txt\n├setup.exe  (installer)\n├[D]docs\n│├a.txt\n│└b.txt\n└[D]lang\n "
                   " └zh.dll\n"));
}

TEST(TextListingBytes, AClearedRunningFlagGivesNothing) {
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("", "d");
    const std::atomic<bool> running{false};
    EXPECT_FALSE(BuildEntryFile(entry, *test::Disc12(), ExportOptions{}, running, nullptr).has_value());
}

std::string PageWith(std::string_view bodyUtf8) {
    return text::Local(
               "<html>\r\n\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=GBK\">\r\n"
               "<title>Pelko－光盘管理工具</title>\r\n</head>\r\n\r\n<body>\r\n\r\n<p>") +
           text::Local(bodyUtf8) + " </p>\r\n</body>\r\n</html>\r\n";
}

TEST(PageListing, TreePageWithMemos) {
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("Software", "Disc 12");
    ExportOptions options;
    options.format = ExportFormat::Html;
    options.style.memo = true;
    const std::atomic<bool> running{true};
    EXPECT_EQ(BuildEntryFile(entry, *test::Disc12(), options, running, nullptr).value(),
              PageWith("<b><font color=\"#000000\" size=\"5\">Pelko\\Software\\Disc 12</font></b>"
                       "<p><font size=\"2\"><br>├readme.txt<br>├setup.exe&nbsp;&nbsp;/*installer*/"
                       "<br>├【文件夹】docs<br>│├a.txt<br>│└b.txt<br>└【文件夹】lang<br>&nbsp;&nbsp;└zh.dll"
                       "</font></p>"));
}

TEST(PageListing, FlatPageStartsWithABareRootHeader) {
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("Software", "Disc 12");
    ExportOptions options;
    options.format = ExportFormat::Html;
    options.style.tree = false;
    const std::atomic<bool> running{true};
    EXPECT_EQ(
        BuildEntryFile(entry, *test::Disc12(), options, running, nullptr).value(),
        PageWith("<b><font color=\"#000000\" size=\"5\">Pelko\\Software\\Disc 12</font></b>"
                 "<p><font size=\"2\"><br><br>&nbsp;&nbsp;&nbsp;readme.txt<br>&nbsp;&nbsp;&nbsp;setup.exe"
                 "<br>\\docs<br>&nbsp;&nbsp;&nbsp;a.txt<br>&nbsp;&nbsp;&nbsp;b.txt"
                 "<br>\\lang<br>&nbsp;&nbsp;&nbsp;zh.dll</font></p>"));
}

TEST(PageListing, NamesMemosAndPathsAreEscaped) {
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("R&D", "<b>disc</b>");
    auto disc = std::make_unique<catalog::CCD>();
    AddFile(*disc, "<script>alert(\"x\")<", "a<b>&c");
    AddDir(*disc, "<i>", "\"q\"");
    AddFile(*disc->Subdirs()[0], "文件&名.txt");
    ExportOptions options;
    options.format = ExportFormat::Html;
    options.style.memo = true;
    const std::atomic<bool> running{true};
    const std::string page = BuildEntryFile(entry, *disc, options, running, nullptr).value();
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>disc"), std::string::npos);
    EXPECT_NE(page.find(text::Local("Pelko\\R&amp;D\\&lt;b&gt;disc&lt;/b&gt;</font></b>")),
              std::string::npos);
    EXPECT_NE(
        page.find(text::Local("<br>├&lt;script&gt;alert(&quot;x&quot;)&lt;&nbsp;&nbsp;/*a&lt;b&gt;&amp;c*/")),
        std::string::npos);
    EXPECT_NE(page.find(text::Local("<br>└【文件夹】&lt;i&gt;&nbsp;&nbsp;/*&quot;q&quot;*/")),
              std::string::npos);
    EXPECT_NE(page.find(text::Local("<br>&nbsp;&nbsp;└文件&amp;名.txt")), std::string::npos);

    options.style.tree = false;
    const std::string flat = BuildEntryFile(entry, *disc, options, running, nullptr).value();
    EXPECT_NE(flat.find(text::Local("<br>\\&lt;i&gt;&nbsp;&nbsp;/*&quot;q&quot;*/")), std::string::npos);
}

TEST(PageListing, TextFilesKeepNamesAsTheyAre) {
    test::TestCatalog catalog;
    const catalog::CDiskInfo& entry = catalog.Entry("", "a&b");
    auto disc = std::make_unique<catalog::CCD>();
    AddFile(*disc, "<x>&\"");
    const std::atomic<bool> running{true};
    EXPECT_EQ(BuildEntryFile(entry, *disc, ExportOptions{}, running, nullptr).value(),
              Crlf("Pelko\\a&b\n\n└<x>&\"\n"));
}

TEST(PageListing, TemplatesArePresent) {
    const std::string_view page = TemplateBytes(kPageTemplate).value();
    EXPECT_EQ(page.find(kPlaceholder), page.rfind(kPlaceholder)) << "one placeholder";
    EXPECT_TRUE(TemplateBytes(kHelpTemplate).has_value());
    EXPECT_TRUE(TemplateBytes(kFaqTemplate).has_value());
    EXPECT_FALSE(TemplateBytes(1).has_value());
}

}  // namespace
}  // namespace pelko::exporting
