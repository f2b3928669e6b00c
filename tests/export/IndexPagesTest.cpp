#include <gtest/gtest.h>

#include "ExportFixtures.h"
#include "export/ExportPaths.h"
#include "export/IndexPages.h"
#include "export/Templates.h"
#include "support/TempDir.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kGrey = "<font size=\"2\" color=\"#808080\">";

std::string CategoryLine(std::string_view indent, std::string_view name, std::string_view memo = {}) {
    return "<br>" + std::string(indent) + "<b><font color=\"#008000\" size=\"3\">" + text::Local(name) +
           "</font></b>" + std::string(kGrey) + text::Local(memo) + "</font>";
}

std::string EntryLine(std::string_view indent, std::string_view link, std::string_view name,
                      std::string_view memo = {}) {
    return "<br>" + std::string(indent) + "<font size=\"2\"><a href=\"" + std::string(link) + "\">" +
           text::Local(name) + "</a></font>" + std::string(kGrey) + text::Local(memo) + "</font>";
}

constexpr std::string_view kN1 = "&nbsp;&nbsp;&nbsp;";
constexpr std::string_view kN2 = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

TEST(IndexPages, BothPagesLinkEveryScanObjectRelativeToTheRootFolder) {
    test::TestCatalog catalog;
    catalog.Entry("", "Disc 1");
    catalog.Entry("Software", "Disc 2");
    test::TempDir dir;
    ASSERT_TRUE(PrepareExportFolders(dir.path(), catalog.root, ExportStyle::Defaults(), catalog.ui));
    EXPECT_TRUE(catalog.ui.messages.empty());
    EXPECT_TRUE(fs::is_directory(dir / "Pelko/Software"));

    const std::string_view page = TemplateBytes(kPageTemplate).value();
    const std::size_t at = page.find(kPlaceholder);
    for (const auto& [file, ext] :
         {std::pair{"Pelko/index.htm", ".htm"}, std::pair{"Pelko/indexTxt.htm", ".txt"}}) {
        const std::string fragment =
            CategoryLine("", "Pelko") + EntryLine(kN1, std::string("Disc%201") + ext, "Disc 1") +
            CategoryLine(kN1, "Software") + EntryLine(kN2, std::string("Software/Disc%202") + ext, "Disc 2") +
            "<br>";
        std::string expected(page);
        expected.replace(at, kPlaceholder.size(), fragment);
        EXPECT_EQ(test::ReadFile(dir / file), expected) << file;
    }
}

TEST(IndexPages, IndentFollowsDepthAndMemosUseTheTextWrappers) {
    test::TestCatalog catalog;
    catalog.Category("A\\B\\C").m_strMemo = text::Local("类别备注");
    catalog.Entry("A\\B\\C", "E", "m<1>");
    ExportStyle style = ExportStyle::Defaults();
    style.memo = false;  // the index shows memos anyway
    style.txtPre = "[";
    style.txtPost = "]";
    style.htmPre = "(unused)";
    const std::string fragment = IndexFragment(catalog.root, ExportFormat::Html, style);
    const std::string nine = std::string(kN1) + std::string(kN1) + std::string(kN1);
    EXPECT_NE(fragment.find(CategoryLine(nine, "C", "&nbsp;&nbsp;[类别备注]")), std::string::npos)
        << fragment;
    EXPECT_NE(
        fragment.find(EntryLine(nine + std::string(kN1), "A/B/C/E.htm", "E", "&nbsp;&nbsp;[m&lt;1&gt;]")),
        std::string::npos)
        << fragment;
    // A fragment of a sub-category starts at that category's own depth.
    EXPECT_EQ(IndexFragment(*catalog.root.FindSubcategory("A"), ExportFormat::Text, style)
                  .rfind(CategoryLine(kN1, "A"), 0),
              0u);
}

TEST(IndexPages, LinksAreEncodedAndNamesEscaped) {
    test::TestCatalog catalog;
    catalog.Entry("a b#c%?", "中文 <x>");
    catalog.Entry("..", "p/q");
    const std::string fragment = IndexFragment(catalog.root, ExportFormat::Html, ExportStyle::Defaults());
    EXPECT_NE(fragment.find("href=\"a%20b%23c%25%3F/%E4%B8%AD%E6%96%87%20%3Cx%3E.htm\">" +
                            text::Local("中文 &lt;x&gt;") + "</a>"),
              std::string::npos)
        << fragment;
    EXPECT_NE(fragment.find("href=\"__/p_q.htm\">p/q</a>"), std::string::npos) << fragment;
}

TEST(IndexPages, AnIndexThatCannotBeWrittenIsReportedOnce) {
    test::TestCatalog catalog;
    test::TempDir dir;
    dir.MakeFolder("Pelko/index.htm");  // a folder where the page should go
    EXPECT_FALSE(WriteIndexPages(dir.path(), catalog.root, ExportStyle::Defaults(), catalog.ui));
    EXPECT_EQ(catalog.ui.messages, std::vector<std::string>{"Error! cannot open the dest file."});
    EXPECT_FALSE(fs::exists(dir / "Pelko/indexTxt.htm"));
}

TEST(ExportPathsTest, SafeNamesStayInsideTheRootFolder) {
    EXPECT_EQ(ExportSafeName(text::Local("软件")), "软件");
    EXPECT_EQ(ExportSafeName(".."), "__");
    EXPECT_EQ(ExportSafeName("."), "_");
    EXPECT_EQ(ExportSafeName(""), "_");
    EXPECT_EQ(ExportSafeName("../../etc"), ".._.._etc");
    const std::string longName =
        ExportSafeName(text::Local(std::string(200, 'a') + "光盘光盘光盘光盘光盘光盘光盘光盘"));
    EXPECT_LE(longName.size() + 4 + 10, 255u);
    EXPECT_EQ(text::ToUtf8(text::FromUtf8(longName)), longName) << "cut on a character boundary";

    test::TestCatalog catalog;
    catalog::CDiskInfo& entry = catalog.Entry("..\\sub", "../x");
    EXPECT_EQ(EntryPagePath("/cat", entry, ExportFormat::Text), fs::path("/cat/Pelko/__/sub/.._x.txt"));
    EXPECT_EQ(EntryPagePath("/cat", entry, ExportFormat::Html), fs::path("/cat/Pelko/__/sub/.._x.htm"));
    const catalog::CDiskInfo& top = catalog.Entry("", "top");
    EXPECT_EQ(EntryPagePath("/cat", top, ExportFormat::Text), fs::path("/cat/Pelko/top.txt"));
    EXPECT_EQ(EntryPagePath("/cat", top, ExportFormat::Html), fs::path("/cat/Pelko/top.htm"));
}

}  // namespace
}  // namespace pelko::exporting
