#include <gtest/gtest.h>

#include <fstream>

#include "platform/UdfVolume.h"
#include "platform/UnmountedDisc.h"
#include "support/DiscImages.h"
#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::platform {
namespace {

namespace fs = std::filesystem;

class UdfVolumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TOOL("genisoimage");
        std::string big(9000, '\0');
        for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
        tree.WriteFile("视频/片段.bin", big);
        tree.WriteFile("视频/深/说明.txt", "说明");
        tree.WriteFile("top.txt", "top");
        ASSERT_TRUE(test::MakeIsoImage(tree.path(), bridge, {"-udf", "-J", "-V", "UDFDISC"}));
        // The same disc without its ISO 9660 tree: the primary descriptor's identifier is gone.
        std::fstream image(bridge, std::ios::in | std::ios::out | std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(image), std::istreambuf_iterator<char>()};
        for (std::size_t at = 16 * 2048; at + 2048 <= bytes.size() && at < 40 * 2048; at += 2048)
            if (std::string_view(bytes.data() + at + 1, 5) == "CD001") bytes[at + 1] = 'X';
        std::ofstream(udfOnly, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    test::TempDir tree;
    test::TempDir out;
    const fs::path bridge = out / "bridge.iso";
    const fs::path udfOnly = out / "udf-only.img";
};

TEST_F(UdfVolumeTest, UdfOnlyDiscIsListedAndReadWithoutMounting) {
    std::unique_ptr<Volume> volume = OpenUnmountedDisc(udfOnly, "/dev/sr0");
    ASSERT_TRUE(volume);
    std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/dev/sr0");
    ASSERT_TRUE(root);
    std::vector<std::string> names;
    root->Enumerate([&](const VolumeEntry& e) {
        names.emplace_back(e.name);
        return true;
    });
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "top.txt", text::Local("视频")}));

    std::unique_ptr<VolumeFolder> video = root->OpenChild(text::Local("视频"));
    ASSERT_TRUE(video);
    EXPECT_EQ(video->Stat(text::Local("片段.bin"))->size, 9000u);
    std::vector<std::uint8_t> buffer(3000);
    ASSERT_EQ(video->ReadAt(text::Local("片段.bin"), 4000, buffer), 3000u);  // across blocks
    for (std::size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], (4000 + i) % 251) << i;
    EXPECT_TRUE(video->CopyTo(text::Local("片段.bin"), out / "copy.bin"));
    EXPECT_EQ(test::ReadFile(out / "copy.bin"), test::ReadFile(tree / "视频/片段.bin"));

    std::unique_ptr<VolumeFolder> deep = volume->OpenFolder("/dev/sr0/" + text::Local("视频/深"));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->Stat(text::Local("说明.txt"))->size, std::string("说明").size());
    EXPECT_FALSE(volume->OpenFolder("/dev/sr0/none"));
}

TEST_F(UdfVolumeTest, BridgeDiscIsReadThroughItsIsoTree) {
    std::unique_ptr<Volume> volume = OpenUnmountedDisc(bridge, "d");
    ASSERT_TRUE(volume);
    EXPECT_EQ(dynamic_cast<UdfVolume*>(volume.get()), nullptr);
    EXPECT_FALSE(OpenUnmountedDisc(tree / "top.txt", "d"));
}

}  // namespace
}  // namespace pelko::platform
