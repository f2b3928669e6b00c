#include "scan/ThumbnailFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace pelko::scan {
namespace {

TEST(ThumbnailFileTest, AThumbnailThatCannotBeWrittenLeavesTheOldOneWhole) {
    test::TempDir dir;
    const std::string old(4096, 'o');
    const auto path = dir.WriteFile("pic/a.jpg", old);
    const std::vector<std::uint8_t> bigger(64 * 1024, 'n');
    {
        const test::FileSizeLimit diskFull(8 * 1024);
        EXPECT_FALSE(WriteThumbnailFile(path, bigger));
    }
    EXPECT_EQ(test::ReadFile(path), old);
    EXPECT_TRUE(WriteThumbnailFile(path, bigger));
    EXPECT_EQ(test::ReadFile(path).size(), bigger.size());
}

}  // namespace
}  // namespace pelko::scan
