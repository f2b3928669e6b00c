#include "platform/qt/QtSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::platform {
namespace {

namespace fs = std::filesystem;

// Points the per-user configuration folder at a temporary one before any test runs, so no test
// can touch the real ~/.config.
class ConfigHome final : public ::testing::Environment {
public:
    void SetUp() override {
        m_dir = std::make_unique<test::TempDir>();
        ::setenv("XDG_CONFIG_HOME", m_dir->path().c_str(), 1);
    }
    void TearDown() override { m_dir.reset(); }
    static const fs::path& Path() { return s_instance->m_dir->path(); }

    static ConfigHome* s_instance;

private:
    std::unique_ptr<test::TempDir> m_dir;
};
ConfigHome* ConfigHome::s_instance =
    static_cast<ConfigHome*>(::testing::AddGlobalTestEnvironment(new ConfigHome));

class QtSettingsStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    fs::path ini = dir / "settings.ini";
};

TEST_F(QtSettingsStoreTest, ValuesComeBackThroughTheFile) {
    const std::string chinese = text::Local("光盘 说明【文件夹】😀");
    const struct {
        const char* key;
        std::string value;
    } strings[] = {
        {"chinese", chinese},     {"list", "*.exe;*.txt"},  {"commas", "a,b, c"}, {"at", "@Variant(x)"},
        {"spaces", "  padded  "}, {"quotes", "\"q\" = \\"}, {"empty", ""},
    };
    {
        QtSettingsStore store(ini);
        store.WriteInt("zero", 0);
        store.WriteInt("max", INT_MAX);
        store.WriteInt("min", INT_MIN);
        for (const auto& s : strings) store.WriteString(s.key, s.value);
        // Another store on the same file sees the values at once, as another process would.
        QtSettingsStore other(ini);
        EXPECT_EQ(other.ReadInt("max", 1), INT_MAX);
        EXPECT_EQ(other.ReadString("chinese", ""), chinese);
    }
    QtSettingsStore store(ini);
    EXPECT_EQ(store.ReadInt("zero", 1), 0);
    EXPECT_EQ(store.ReadInt("max", 1), INT_MAX);
    EXPECT_EQ(store.ReadInt("min", 1), INT_MIN);
    for (const auto& s : strings) EXPECT_EQ(store.ReadString(s.key, "default"), s.value) << s.key;
    EXPECT_EQ(store.ReadInt("absent", 7), 7);
    EXPECT_EQ(store.ReadString("absent", chinese), chinese);

    const std::string content = test::ReadFile(ini);
    EXPECT_EQ(content.rfind("[settings]\n", 0), 0u) << content;
    EXPECT_NE(content.find("光盘 说明【文件夹】😀"), std::string::npos) << "the file holds UTF-8";
    EXPECT_EQ(content.find(chinese), std::string::npos);
}

// A value the file already holds is not written again (each write replaces the whole file);
// a changed one, or one only a default stood for, is.
TEST_F(QtSettingsStoreTest, UnchangedValuesLeaveTheFileAlone) {
    QtSettingsStore store(ini);
    store.WriteInt("FW_nFindWhat", 1);
    store.WriteString("FW_strFilter", text::Local("光盘"));
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);
    store.WriteInt("FW_nFindWhat", 1);
    store.WriteString("FW_strFilter", text::Local("光盘"));
    struct stat after {};
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was not replaced";

    store.WriteInt("FW_nFindWhat", 2);
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(QtSettingsStore(ini).ReadInt("FW_nFindWhat", 0), 2);
    store.WriteInt("FW_bCase", 0);  // absent before: written although 0 is what a read would give
    EXPECT_EQ(QtSettingsStore(ini).ReadInt("FW_bCase", 5), 0);
}

TEST_F(QtSettingsStoreTest, AFileThatCannotBeWrittenIsReportedOnce) {
    const fs::path blocked = dir.WriteFile("not-a-folder", "x") / "settings.ini";
    std::vector<std::string> reports;
    const auto record = [&reports](const std::string& message) { reports.push_back(message); };
    QtSettingsStore store(blocked);
    store.ReportWriteFailuresTo(record);
    store.WriteInt("g_bPicScan", 0);
    store.WriteString("g_szFileLimit", "*.tmp");
    EXPECT_EQ(store.ReadInt("g_bPicScan", 1), 0) << "the value is kept for this run";
    EXPECT_FALSE(fs::exists(blocked));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(text::ToUtf8(reports[0]).find(blocked.string()), std::string::npos) << text::ToUtf8(reports[0]);

    QtSettingsStore writable(ini);
    writable.ReportWriteFailuresTo(record);
    writable.WriteInt("g_bPicScan", 0);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(QtSettingsStoreTest, ReadsAFileWrittenByHand) {
    dir.WriteFile("settings.ini",
                  "[settings]\n"
                  "word=abc\n"
                  "tail=12abc\n"
                  "blank=\n"
                  "huge=99999999999\n"
                  "negative=-8\n"
                  "spaced = 42 \n"
                  "list=\"*.EXE;*.txt\"\n"
                  "comment=*.EXE;*.txt\n"
                  "commas=a,b\n"
                  "chinese=光盘\n"
                  "[other]\n"
                  "outside=5\n");
    QtSettingsStore store(ini);
    const struct {
        const char* key;
        int value;
    } ints[] = {{"word", 9},      {"tail", 9},    {"blank", 9},  {"huge", 9},
                {"negative", -8}, {"spaced", 42}, {"outside", 9}};
    for (const auto& c : ints) EXPECT_EQ(store.ReadInt(c.key, 9), c.value) << c.key;
    EXPECT_EQ(store.ReadString("list", ""), "*.EXE;*.txt");
    EXPECT_EQ(store.ReadString("comment", ""), "*.EXE") << "unquoted, a \";\" starts a comment";
    EXPECT_EQ(store.ReadString("commas", ""), "a,b");
    EXPECT_EQ(store.ReadString("chinese", ""), text::Local("光盘"));
}

TEST_F(QtSettingsStoreTest, UserFileLivesUnderTheConfigHome) {
    QtSettingsStore store;
    const fs::path expected = ConfigHome::Path() / "Tinkmoss/Pelko.conf";
    EXPECT_EQ(store.FilePath(), expected);
    store.WriteInt("RunOnTray", 1);
    EXPECT_EQ(test::ReadFile(expected), "[settings]\nRunOnTray=1\n");
}

}  // namespace
}  // namespace pelko::platform
