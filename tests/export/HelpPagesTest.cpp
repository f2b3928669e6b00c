#include <gtest/gtest.h>

#include "ExportFixtures.h"
#include "export/DocumentOpener.h"
#include "export/HelpPages.h"
#include "export/Templates.h"
#include "support/TempDir.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

class FakeOpener final : public DocumentOpener {
public:
    bool Open(const fs::path& file) override {
        opened.push_back(file);
        return result;
    }
    std::vector<fs::path> opened;
    bool result = true;
};

struct PageCase {
    HelpPage page;
    int templateId;
    const char* file;
    const char* writeError;
    const char* openError;
};

const PageCase kPages[] = {
    {HelpPage::Help, kHelpTemplate, "help.htm", "写帮助文件时候发生错误",
     "打开帮助文件失败，请检查文件help.htm是否存在本软件的安装目录下"},
    {HelpPage::Faq, kFaqTemplate, "faq.htm", "写常见问题解答faq.htm发生错误",
     "打开常见问题解答faq.htm失败，请检查文件faq.htm是否存在本软件的安装目录下"},
};

void PrintTo(const PageCase& c, std::ostream* out) { *out << c.file; }

class HelpPages : public ::testing::TestWithParam<PageCase> {};

TEST_P(HelpPages, AreWrittenAsTheProgramCarriesThem) {
    const PageCase& c = GetParam();
    test::TempDir dir;
    test::ScriptedUi ui;
    test::RecordingLog log;
    FakeOpener opener;
    ShowHelpPage(dir.path(), c.page, ui, log, opener);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(opener.opened, std::vector<fs::path>{dir / c.file});

    const std::string bytes = test::ReadFile(dir / c.file);
    EXPECT_EQ(bytes, TemplateBytes(c.templateId).value());
    // A real page in GBK: no byte-order mark, CR LF only, declares its charset, Chinese text that
    // converts back without loss.
    EXPECT_EQ(bytes.rfind("<html>\r\n", 0), 0u);
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        ASSERT_EQ(bytes[at - 1], '\r') << "at byte " << at;
    EXPECT_NE(bytes.find("charset=GBK"), std::string::npos);
    EXPECT_EQ(text::ToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_NE(bytes.find(text::Local("光盘库")), std::string::npos);
    EXPECT_GT(bytes.size(), 2000u);
}

TEST_P(HelpPages, ReportTheirOwnFailures) {
    const PageCase& c = GetParam();
    test::TempDir dir;
    test::ScriptedUi ui;
    test::RecordingLog log;
    FakeOpener opener;
    opener.result = false;
    ShowHelpPage(dir.path(), c.page, ui, log, opener);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0].first, catalog::MessageKind::Error);
    EXPECT_EQ(log.Lines()[0].second, text::Local(c.openError));

    dir.MakeFolder(std::string("blocked/") + c.file);  // a folder where the page should go
    EXPECT_FALSE(WriteHelpPage(dir / "blocked", c.page, ui).has_value());
    EXPECT_EQ(ui.messages, std::vector<std::string>{text::Local(c.writeError)});
}

INSTANTIATE_TEST_SUITE_P(Pages, HelpPages, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return info.param.page == HelpPage::Help ? "Help" : "Faq"; });

}  // namespace
}  // namespace pelko::exporting
