#include "catalog/DefaultPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::string AsString(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(DefaultPicturesTest, EachIsAn8BitBmpOf100By66) {
    std::set<std::string> distinct;
    for (const DefaultPicture picture : kAllDefaultPictures) {
        SCOPED_TRACE(std::string(DefaultPictureFileName(picture)));
        const auto bmp = DefaultPictureBytes(picture);
        ASSERT_EQ(bmp.size(), 7680u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(U32(bmp, 2), 7680u);  // file size
        EXPECT_EQ(U32(bmp, 6), 0u);     // reserved
        const std::uint32_t offset = U32(bmp, 10);
        EXPECT_EQ(offset, 14u + 40u + 256u * 4u);
        EXPECT_EQ(U32(bmp, 14), 40u);    // information header size
        EXPECT_EQ(U32(bmp, 18), 100u);   // width
        EXPECT_EQ(U32(bmp, 22), 66u);    // height, positive: bottom-up rows
        EXPECT_EQ(U16(bmp, 26), 1u);     // planes
        EXPECT_EQ(U16(bmp, 28), 8u);     // bits per pixel
        EXPECT_EQ(U32(bmp, 30), 0u);     // uncompressed
        EXPECT_EQ(U32(bmp, 34), 6600u);  // pixel bytes
        EXPECT_EQ(U32(bmp, 46), 256u);   // palette entries

        // Every palette entry has its fourth byte zero; the pixels use several colours, and
        // each of them is a colour of its own in the palette.
        std::set<std::uint32_t> usedColours;
        std::set<std::uint8_t> usedIndices;
        for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(bmp[54 + 4 * i + 3], 0) << i;
        for (std::size_t i = offset; i < offset + 6600; ++i) {
            usedIndices.insert(bmp[i]);
            usedColours.insert(U32(bmp, 54 + 4 * std::size_t{bmp[i]}));
        }
        EXPECT_GE(usedIndices.size(), 4u);
        EXPECT_EQ(usedColours.size(), usedIndices.size());
        // Opposite corners show the background; a good part of the picture is drawn on.
        const std::uint8_t background = bmp[offset];
        EXPECT_EQ(bmp[offset + 6599], background);
        const auto drawn = std::count_if(bmp.begin() + offset, bmp.begin() + offset + 6600,
                                         [&](std::uint8_t index) { return index != background; });
        EXPECT_GT(drawn, 1000);

        EXPECT_EQ(DefaultPictureBytes(picture).data(), bmp.data());  // built once
        distinct.insert(AsString(bmp));
    }
    EXPECT_EQ(distinct.size(), 4u);
}

TEST(DefaultPicturesTest, FileNames) {
    EXPECT_EQ(CategoryPictureFileName(), "cat.bmp");
    EXPECT_EQ(DefaultPictureFileName(DefaultPicture::Category), "cat.bmp");
    const std::pair<std::uint8_t, const char*> kinds[] = {
        {0, "disk.bmp"}, {1, "fdisk.bmp"}, {2, "fdir.bmp"}, {3, "fdir.bmp"}, {255, "fdir.bmp"}};
    for (const auto& [kind, name] : kinds) EXPECT_EQ(DefaultPictureFileNameForKind(kind), name) << int{kind};
}

// Writing creates the folder, and writing again restores a deleted or damaged picture.
TEST(DefaultPicturesTest, WriteCreatesFolderAndRestoresPictures) {
    test::TempDir temp;
    const fs::path disk = temp / "catalog/Disk";
    ASSERT_TRUE(WriteDefaultPictures(disk));

    auto expectAllWritten = [&] {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(disk)) names.insert(item.path().filename().string());
        EXPECT_EQ(names, (std::set<std::string>{"cat.bmp", "disk.bmp", "fdir.bmp", "fdisk.bmp"}));
        for (const DefaultPicture picture : kAllDefaultPictures) {
            const fs::path file = disk / DefaultPictureFileName(picture);
            EXPECT_EQ(test::ReadFile(file), AsString(DefaultPictureBytes(picture))) << file;
        }
    };
    expectAllWritten();

    fs::remove(disk / "fdisk.bmp");
    temp.WriteFile("catalog/Disk/disk.bmp", "not a picture");
    ASSERT_TRUE(WriteDefaultPictures(disk));
    expectAllWritten();

    fs::remove(disk / "cat.bmp");
    ASSERT_TRUE(WriteDefaultPicture(DefaultPicture::Category, disk));
    EXPECT_EQ(test::ReadFile(disk / "cat.bmp"), AsString(DefaultPictureBytes(DefaultPicture::Category)));
}

TEST(DefaultPicturesTest, WriteFailsWhenTheFolderCannotBeMade) {
    test::TempDir temp;
    const fs::path blocker = temp.WriteFile("Disk", "a file where the folder should be");
    EXPECT_FALSE(WriteDefaultPictures(blocker));
    EXPECT_FALSE(WriteDefaultPictures(blocker / "sub"));
    EXPECT_EQ(test::ReadFile(blocker), "a file where the folder should be");
}

}  // namespace
}  // namespace pelko::catalog
