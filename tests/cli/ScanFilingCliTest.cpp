// A finished scan whose disc file cannot be written is kept while the user makes room.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>

#include "settings/SettingsStore.h"
#include "cli/Command.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;

// Standard input of a user who frees disk space before answering the retry question.
class RoomMakingAnswer final : public std::streambuf {
public:
    explicit RoomMakingAnswer(std::optional<test::FileSizeLimit>& diskFull) : m_diskFull(diskFull) {}

private:
    int_type underflow() override {
        if (m_answered) return traits_type::eof();
        m_answered = true;
        m_diskFull.reset();
        setg(m_answer, m_answer, m_answer + 2);
        return traits_type::to_int_type(m_answer[0]);
    }

    std::optional<test::FileSizeLimit>& m_diskFull;
    char m_answer[2] = {'y', '\n'};
    bool m_answered = false;
};

class ScanFilingCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Enough names that the disc file outgrows the room left on the "disk".
        for (int i = 0; i < 400; ++i) tree.WriteFile("file-with-a-long-name-" + std::to_string(i) + ".txt", "x");
        std::istringstream none;
        std::ostringstream out, err;
        ASSERT_EQ(RunCli(std::vector<std::string>{"--catalog", catalogDir.path(), "init"}, none, out, err, settings,
                         false),
                  0);
    }

    std::vector<std::string> DiskFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(catalogDir / "Disk"))
            if (e.path().extension() != ".bmp") names.push_back(e.path().filename());
        return names;
    }

    test::TempDir catalogDir;
    test::TempDir tree;
    const std::vector<std::string> scan{"--catalog", catalogDir.path(), "scan-folder", tree.path()};
    settings::MemorySettingsStore settings;
    std::ostringstream out, err;
};

TEST_F(ScanFilingCliTest, TheScanIsWrittenOnceThereIsRoom) {
    std::optional<test::FileSizeLimit> diskFull(std::in_place, 8 * 1024);
    RoomMakingAnswer answer(diskFull);
    std::istream in(&answer);
    ASSERT_EQ(RunCli(scan, in, out, err, settings, true), 0) << err.str();
    EXPECT_NE(err.str().find("重试吗？"), std::string::npos) << err.str();
    EXPECT_EQ(DiskFiles().size(), 1u);
    const std::string zip = out.str().substr(0, out.str().size() - 1);
    EXPECT_TRUE(fs::exists(zip)) << out.str();
}

TEST_F(ScanFilingCliTest, GivingUpFilesNothingAndLeavesNothingBehind) {
    std::istringstream yesToEverything("y\ny\ny\ny\ny\ny\n");
    {
        const test::FileSizeLimit diskFull(8 * 1024);
        EXPECT_EQ(RunCli(scan, yesToEverything, out, err, settings, true), 1);
    }
    EXPECT_EQ(yesToEverything.tellg(), 6) << "asked three times, then given up";
    EXPECT_TRUE(DiskFiles().empty());
    std::istringstream none;
    std::ostringstream treeOut;
    ASSERT_EQ(RunCli(std::vector<std::string>{"--catalog", catalogDir.path(), "tree"}, none, treeOut, err, settings,
                     false),
              0);
    EXPECT_EQ(treeOut.str().find(tree.path().filename().string()), std::string::npos) << treeOut.str();
}

}  // namespace
}  // namespace pelko::cli
