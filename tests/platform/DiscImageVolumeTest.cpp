#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>

#include "platform/DiscImageVolume.h"
#include "platform/FileTime.h"
#include "support/DiscImages.h"
#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::platform {
namespace {

namespace fs = std::filesystem;

struct Seen {
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    bool isDirectory = false;
    bool operator==(const Seen&) const = default;
};
using Listing = std::map<std::string, Seen>;  // model path -> facts

void WalkVolume(VolumeFolder& folder, const std::string& prefix, Listing& out) {
    std::vector<std::pair<std::string, bool>> entries;
    folder.Enumerate([&](const VolumeEntry& e) {
        if (e.rawName != "." && e.rawName != "..")
            entries.emplace_back(std::string(e.rawName), e.isDirectory);
        return true;
    });
    for (const auto& [raw, isDir] : entries) {
        const std::string path = prefix + "/" + raw;
        const std::optional<EntryInfo> info = folder.Stat(raw);
        ASSERT_TRUE(info) << path;
        out[path] = Seen{isDir ? 0 : info->size, info->creationTime, isDir};
        if (isDir) {
            std::unique_ptr<VolumeFolder> child = folder.OpenChild(raw);
            ASSERT_TRUE(child) << path;
            WalkVolume(*child, path, out);
        }
    }
}

Listing WalkSource(const fs::path& root) {
    Listing out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = fs::relative(it->path(), root).native();
        struct stat st {};
        ::stat(it->path().c_str(), &st);
        const bool isDir = it->is_directory();
        out["/" + text::FromUtf8(relative)] =
            Seen{isDir ? 0 : static_cast<std::uint64_t>(st.st_size), FileTimeFromUnix(st.st_mtime, 0), isDir};
    }
    return out;
}

class DiscImageVolumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TOOL("genisoimage");
        tree.WriteFile("光盘资料/说明文件.txt", "中文说明");
        tree.WriteFile("光盘资料/空.dat", "");
        tree.WriteFile("Setup Files/readme.txt", std::string(3000, 'r'));
        tree.WriteFile("a/b/c/d/e/f/g/h/i/j/deep.txt", "deep");  // deeper than ISO 9660's eight levels
        std::string big(70000, '\0');
        for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 2048);
        tree.WriteFile("big.bin", big);
        ::utime(tree.path().c_str(), nullptr);
    }
    std::unique_ptr<DiscImageVolume> Make(const std::vector<std::string>& options) {
        const fs::path image = out / "disc.iso";
        fs::remove(image);
        if (!test::MakeIsoImage(tree.path(), image, options)) return nullptr;
        return DiscImageVolume::Open(image, "/images/disc.iso");
    }
    test::TempDir tree;
    test::TempDir out;
};

TEST_F(DiscImageVolumeTest, RockRidgeAndJolietTreesGiveBackTheSourceTree) {
    const Listing expected = WalkSource(tree.path());
    struct Case {
        std::vector<std::string> options;
        IsoNames names;
    };
    const Case cases[] = {{{"-R"}, IsoNames::RockRidge},
                          {{"-J", "-R"}, IsoNames::RockRidge},
                          {{"-J", "-joliet-long", "-D"}, IsoNames::Joliet}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.front());
        const std::unique_ptr<DiscImageVolume> volume = Make(c.options);
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->Names(), c.names);
        std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/images/disc.iso");
        ASSERT_TRUE(root);
        Listing seen;
        WalkVolume(*root, "", seen);
        // No "/rr_moved": the folder Rock Ridge moved the deep folders into is not content.
        // Folder times are those of the image's making; compare names, kinds, sizes and file times.
        for (auto& [path, facts] : seen)
            if (facts.isDirectory) facts.time = 0;
        Listing want = expected;
        for (auto& [path, facts] : want)
            if (facts.isDirectory) facts.time = 0;
        EXPECT_EQ(seen, want);
    }
}

// The relocation folder goes only when relocation emptied it; a folder of that name with content
// of its own, or any folder of an image without Rock Ridge, stays.
TEST_F(DiscImageVolumeTest, RelocationFolderIsLeftOutOnlyWhenRelocationEmptiedIt) {
    const auto rootFolders = [&](const std::vector<std::string>& options) {
        std::set<std::string> names;
        const std::unique_ptr<DiscImageVolume> volume = Make(options);
        EXPECT_TRUE(volume);
        if (!volume) return names;
        const std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/images/disc.iso");
        EXPECT_TRUE(root);
        if (!root) return names;
        root->Enumerate([&](const VolumeEntry& e) {
            if (e.isDirectory && e.rawName != "." && e.rawName != "..") names.emplace(e.rawName);
            return true;
        });
        return names;
    };
    const std::string chinese = text::FromUtf8("光盘资料");  // names come as model bytes
    const std::set<std::string> deepTree = {"Setup Files", "a", chinese};
    EXPECT_EQ(rootFolders({"-R"}), deepTree);
    EXPECT_EQ(rootFolders({"-R", "-hide-rr-moved"}), deepTree);

    fs::remove_all(tree / "a");
    tree.WriteFile("rr_moved/kept.txt", "real content");
    const std::set<std::string> withRealFolder = {"Setup Files", "rr_moved", chinese};
    EXPECT_EQ(rootFolders({"-R"}), withRealFolder);
    EXPECT_EQ(rootFolders({"-J"}), withRealFolder);

    // A real folder of that name beside a hidden relocation folder: only the hidden one goes.
    tree.WriteFile("a/b/c/d/e/f/g/h/i/j/deep.txt", "deep");
    const std::unique_ptr<DiscImageVolume> volume = Make({"-R", "-hide-rr-moved"});
    ASSERT_TRUE(volume);
    const std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/images/disc.iso");
    ASSERT_TRUE(root);
    Listing seen;
    WalkVolume(*root, "", seen);
    EXPECT_TRUE(seen.contains("/rr_moved/kept.txt"));
    EXPECT_TRUE(seen.contains("/a/b/c/d/e/f/g/h/i/j/deep.txt"));
    EXPECT_FALSE(seen.contains("/.rr_moved"));
}

TEST_F(DiscImageVolumeTest, PlainIsoNamesLoseTheirVersion) {
    const std::unique_ptr<DiscImageVolume> volume = Make({});
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->Names(), IsoNames::Primary);
    std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/images/disc.iso");
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->Stat("BIG.BIN"));
    EXPECT_EQ(root->Stat("BIG.BIN")->size, 70000u);
    EXPECT_FALSE(root->Stat("BIG.BIN;1"));
}

TEST_F(DiscImageVolumeTest, ReadsAndCopiesFileBytesAtAnyOffset) {
    const std::unique_ptr<DiscImageVolume> volume = Make({"-J", "-R"});
    ASSERT_TRUE(volume);
    std::unique_ptr<VolumeFolder> root = volume->OpenFolder("/images/disc.iso");
    ASSERT_TRUE(root);
    const std::string big = test::ReadFile(tree / "big.bin");
    std::vector<std::uint8_t> buffer(5000);
    EXPECT_EQ(root->ReadAt("big.bin", 2040, buffer), 5000u);  // across sector boundaries
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), big.substr(2040, 5000));
    EXPECT_EQ(root->ReadAt("big.bin", 69000, buffer), 1000u);  // cut at the file's end
    EXPECT_EQ(root->ReadAt("big.bin", 70000, buffer), 0u);
    EXPECT_FALSE(root->ReadAt("missing", 0, buffer));

    EXPECT_TRUE(root->CopyTo("big.bin", out / "copy.bin"));
    EXPECT_EQ(test::ReadFile(out / "copy.bin"), big);

    std::unique_ptr<VolumeFolder> sub = volume->OpenFolder("/images/disc.iso/" + text::Local("光盘资料"));
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->Stat(text::Local("说明文件.txt"))->size, std::string("中文说明").size());
    EXPECT_FALSE(volume->OpenFolder("/images/other.iso"));
    EXPECT_FALSE(volume->OpenFolder("/images/disc.iso/none"));
}

// Names outside the Basic Multilingual Plane (GB18030 four-byte characters) survive Rock Ridge.
TEST_F(DiscImageVolumeTest, RockRidgeKeepsFourByteNames) {
    tree.WriteFile("emoji 😀/𠀀.dat", "12345");
    const std::unique_ptr<DiscImageVolume> volume = Make({"-R"});
    ASSERT_TRUE(volume);
    std::unique_ptr<VolumeFolder> folder = volume->OpenFolder("/images/disc.iso/" + text::Local("emoji 😀"));
    ASSERT_TRUE(folder);
    const std::optional<EntryInfo> info = folder->Stat(text::Local("𠀀.dat"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 5u);
    EXPECT_EQ(text::Local("𠀀").size(), 4u);
}

// A file recorded in two extents (as files over 4 GiB are): one record with the multi-extent flag
// for its first part, a second record of the same name for the rest.
TEST(DiscImageVolumeExtentsTest, FileInSeveralExtentsReadsAsOne) {
    REQUIRE_TOOL("genisoimage");
    test::TempDir tree;
    std::string content(3000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
    tree.WriteFile("PART.BIN", content);
    const fs::path image = tree.path().parent_path() / (tree.path().filename().native() + "-x.iso");
    ASSERT_TRUE(test::MakeIsoImage(tree.path(), image, {}));
    std::ifstream in(image, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fs::remove(image);

    const std::uint8_t* root = bytes.data() + 16 * 2048 + 156;
    const std::uint32_t rootSector = root[2] | root[3] << 8 | root[4] << 16 | root[5] << 24;
    std::uint8_t* folder = bytes.data() + rootSector * 2048;
    std::size_t at = 0;
    while (folder[at] != 0 && std::string_view(reinterpret_cast<char*>(folder + at + 33), 4) != "PART")
        at += folder[at];
    ASSERT_NE(folder[at], 0);
    const std::size_t length = folder[at];
    std::vector<std::uint8_t> second(folder + at, folder + at + length);
    const auto put32 = [](std::uint8_t* p, std::uint32_t v) {  // both-endian field
        for (int i = 0; i < 4; ++i) p[i] = p[7 - i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const std::uint32_t first =
        folder[at + 2] | folder[at + 3] << 8 | folder[at + 4] << 16 | folder[at + 5] << 24;
    put32(folder + at + 10, 2048);
    folder[at + 25] |= 0x80;
    // The second part lives elsewhere (in the padding at the end), the sector after the first
    // part is wiped: only a reader that follows the extents finds the bytes.
    const std::uint32_t elsewhere = static_cast<std::uint32_t>(bytes.size() / 2048 - 2);
    std::memcpy(bytes.data() + elsewhere * 2048, bytes.data() + (first + 1) * 2048, 2048);
    std::memset(bytes.data() + (first + 1) * 2048, 0, 2048);
    put32(second.data() + 2, elsewhere);
    put32(second.data() + 10, 3000 - 2048);
    std::memmove(folder + at + 2 * length, folder + at + length, 2048 - at - 2 * length);
    std::memcpy(folder + at + length, second.data(), length);

    auto volume = DiscImageVolume::Open(std::make_unique<MemoryByteSource>(bytes), "d");
    ASSERT_TRUE(volume);
    std::unique_ptr<VolumeFolder> top = volume->OpenFolder("d");
    ASSERT_TRUE(top);
    int seen = 0;
    top->Enumerate([&](const VolumeEntry& e) {
        seen += e.name == "PART.BIN";
        return true;
    });
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(top->Stat("PART.BIN")->size, 3000u);
    std::vector<std::uint8_t> buffer(1000);
    ASSERT_EQ(top->ReadAt("PART.BIN", 1500, buffer), 1000u);  // across the two extents
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), content.substr(1500, 1000));
}

TEST(DiscImageVolumeDamageTest, DamagedImagesGiveErrorsNotReadsBeyondTheImage) {
    REQUIRE_TOOL("genisoimage");
    test::TempDir tree;
    tree.WriteFile("x/file.txt", "data");
    const fs::path image = tree.path().parent_path() / (tree.path().filename().native() + ".iso");
    ASSERT_TRUE(test::MakeIsoImage(tree.path(), image, {"-R"}));
    std::ifstream in(image, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fs::remove(image);

    // The root folder's record points far beyond the image, then at a huge length.
    std::vector<std::uint8_t> beyond = bytes;
    beyond[16 * 2048 + 156 + 2] = 0xFF, beyond[16 * 2048 + 156 + 3] = 0xFF,
                             beyond[16 * 2048 + 156 + 4] = 0x7F;
    auto volume = DiscImageVolume::Open(std::make_unique<MemoryByteSource>(beyond), "d");
    if (volume) {
        EXPECT_FALSE(volume->OpenFolder("d"));
    }
    std::vector<std::uint8_t> huge = bytes;
    huge[16 * 2048 + 156 + 13] = 0xFF;
    volume = DiscImageVolume::Open(std::make_unique<MemoryByteSource>(huge), "d");
    if (volume) {
        EXPECT_FALSE(volume->OpenFolder("d"));
    }

    // Cut short: the descriptors survive, the folders do not.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 18 * 2048);
    volume = DiscImageVolume::Open(std::make_unique<MemoryByteSource>(cut), "d");
    ASSERT_TRUE(volume);
    EXPECT_FALSE(volume->OpenFolder("d"));
    EXPECT_FALSE(
        DiscImageVolume::Open(std::make_unique<MemoryByteSource>(std::span(bytes).first(16 * 2048)), "d"));
}

}  // namespace
}  // namespace pelko::platform
