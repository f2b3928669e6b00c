#include "platform/LocalVolume.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "support/TempDir.h"

namespace pelko::platform {
namespace {

std::set<std::string> Names(VolumeFolder& folder, std::size_t stopAfter = SIZE_MAX) {
    std::set<std::string> names;
    folder.Enumerate([&](const VolumeEntry& entry) {
        if (entry.rawName != "." && entry.rawName != "..") names.insert(std::string(entry.rawName));
        return names.size() < stopAfter;
    });
    return names;
}

// A folder is read through its own descriptor; enumerating it again, also after a walk that
// stopped early, lists everything again, with more entries than one read of the kernel returns.
TEST(LocalVolumeTest, AFolderCanBeEnumeratedAgain) {
    test::TempDir dir;
    std::set<std::string> expected;
    for (int i = 0; i < 1500; ++i) {
        const std::string name = "file-with-a-long-name-" + std::to_string(i);
        dir.WriteFile(name, "x");
        expected.insert(name);
    }
    dir.WriteFile("sub/inner", "y");
    expected.insert("sub");
    LocalVolume volume;
    const auto folder = volume.OpenFolder(dir.path().native());
    ASSERT_TRUE(folder);
    EXPECT_EQ(Names(*folder), expected);
    EXPECT_EQ(Names(*folder, 3).size(), 3u);
    EXPECT_EQ(Names(*folder), expected);
    const auto sub = folder->OpenChild("sub");
    ASSERT_TRUE(sub);
    EXPECT_EQ(Names(*sub), std::set<std::string>{"inner"});
}

}  // namespace
}  // namespace pelko::platform
