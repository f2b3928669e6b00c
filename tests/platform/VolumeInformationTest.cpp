#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>

#include "platform/BootSector.h"
#include "platform/DiscDescriptors.h"
#include "platform/VolumeInformation.h"
#include "support/DiscImages.h"
#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The serial Windows gives a 2048-byte descriptor, written out lane by lane.
std::uint32_t WindowsSerial(const std::uint8_t* d, std::size_t size) {
    std::uint32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    for (std::size_t i = 0; i < size; i += 4) {
        s0 += d[i];
        s1 += d[i + 1];
        s2 += d[i + 2];
        s3 += d[i + 3];
    }
    return (s0 & 0xFF) << 24 | (s1 & 0xFF) << 16 | (s2 & 0xFF) << 8 | (s3 & 0xFF);
}

// The sector of the first descriptor of `type` (with the Joliet escape for type 2).
const std::uint8_t* FindDescriptor(const std::vector<std::uint8_t>& image, int type) {
    for (std::size_t sector = 16; (sector + 1) * 2048 <= image.size(); ++sector) {
        const std::uint8_t* d = image.data() + sector * 2048;
        if (std::memcmp(d + 1, "CD001", 5) != 0 || d[0] == 255) break;
        if (d[0] == type && (type != 2 || (d[88] == '%' && d[89] == '/'))) return d;
    }
    return nullptr;
}

class DiscImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TOOL("genisoimage");
        tree.WriteFile("docs/说明.txt", "readme");
        tree.WriteFile("a.bin", std::string(5000, 'x'));
    }
    fs::path Make(const std::vector<std::string>& options) {
        const fs::path image = out / "disc.iso";
        EXPECT_TRUE(test::MakeIsoImage(tree.path(), image, options));
        return image;
    }
    test::TempDir tree;
    test::TempDir out;
};

TEST_F(DiscImageTest, PlainIsoTakesLabelAndSerialFromThePrimaryDescriptor) {
    const fs::path image = Make({"-V", "BACKUP_2009"});
    const std::vector<std::uint8_t> bytes = ReadBytes(image);
    const std::uint8_t* primary = FindDescriptor(bytes, 1);
    ASSERT_NE(primary, nullptr);

    const std::optional<VolumeInformation> info = ReadVolumeInformation(image);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->label, "BACKUP_2009");
    EXPECT_EQ(info->serial, WindowsSerial(primary, 2048));
    EXPECT_EQ(info->fileSystem, "CDFS");
    EXPECT_EQ(info->maxComponentLength, 221u);
    EXPECT_FALSE(info->alternateSerial);
}

TEST_F(DiscImageTest, JolietIsoTakesTheSupplementaryDescriptorAndItsUnicodeLabel) {
    const fs::path image = Make({"-J", "-R", "-V", "软件光盘 2"});
    const std::vector<std::uint8_t> bytes = ReadBytes(image);
    const std::uint8_t* joliet = FindDescriptor(bytes, 2);
    ASSERT_NE(joliet, nullptr);

    const std::optional<VolumeInformation> info = ReadVolumeInformation(image);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->label, text::Local("软件光盘 2"));
    EXPECT_EQ(info->serial, WindowsSerial(joliet, 2048));
    EXPECT_NE(info->serial, WindowsSerial(FindDescriptor(bytes, 1), 2048));
    EXPECT_EQ(info->maxComponentLength, 110u);
    EXPECT_TRUE(info->fileSystemFlags & kUnicodeOnDisk);
}

TEST_F(DiscImageTest, LaterSessionIsReadFromItsOwnStart) {
    std::vector<std::uint8_t> bytes = ReadBytes(Make({"-V", "SESSION2"}));
    std::vector<std::uint8_t> twoSessions(300 * 2048, 0);  // an earlier session without descriptors
    twoSessions.insert(twoSessions.end(), bytes.begin(), bytes.end());
    MemoryByteSource source(twoSessions);
    EXPECT_FALSE(ReadMediumInformation(source, 0));
    const std::optional<VolumeInformation> info = ReadMediumInformation(source, 300);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->label, "SESSION2");
}

TEST_F(DiscImageTest, UdfBridgeTakesTheSerialOfTheFileSetDescriptor) {
    const fs::path image = Make({"-udf", "-J", "-V", "UDFDISC"});
    const std::vector<std::uint8_t> bytes = ReadBytes(image);
    // Find the file set descriptor independently: the first sector tagged 256.
    const std::uint8_t* fileSet = nullptr;
    for (std::size_t at = 0; at + 2048 <= bytes.size() && !fileSet; at += 2048)
        if (bytes[at] == 0x00 && bytes[at + 1] == 0x01 && bytes[at + 5] == 0) fileSet = bytes.data() + at;
    ASSERT_NE(fileSet, nullptr);

    const std::optional<VolumeInformation> info = ReadVolumeInformation(image);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileSystem, "UDF");
    EXPECT_EQ(info->label, "UDFDISC");
    EXPECT_EQ(info->serial, WindowsSerial(fileSet, 512));
    const std::uint32_t s = info->serial;
    EXPECT_EQ(info->alternateSerial, (s >> 24) | ((s >> 8) & 0xFF00) | ((s << 8) & 0xFF0000) | (s << 24));
}

// Boot sectors written the way mkfs.vfat, mkntfs and mkfs.exfat lay them out.
std::array<std::uint8_t, 512> BootSectorOf(std::string_view oemName) {
    std::array<std::uint8_t, 512> s{};
    std::memcpy(s.data() + 3, oemName.data(), oemName.size());
    s[11] = 0x00, s[12] = 0x02;  // 512 bytes per sector
    s[13] = 4;                   // sectors per cluster
    s[14] = 1;                   // reserved sectors
    s[16] = 2;                   // FATs
    s[510] = 0x55, s[511] = 0xAA;
    return s;
}
void PutLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(BootSectorTest, SerialsSitWhereEachFileSystemKeepsThem) {
    auto fat16 = BootSectorOf("mkfs.fat");
    fat16[0x16] = 0x20;  // sectors per FAT: not FAT32
    fat16[0x26] = 0x29;
    PutLe32(&fat16[0x27], 0x1234ABCD);
    std::memcpy(&fat16[0x2B], "PHOTOS     ", 11);

    auto fat32 = BootSectorOf("mkfs.fat");
    fat32[0x42] = 0x29;
    PutLe32(&fat32[0x43], 0xCAFE0001);
    std::memcpy(&fat32[0x47], "NO NAME    ", 11);

    auto ntfs = BootSectorOf("NTFS    ");
    PutLe32(&ntfs[0x48], 0x89ABCDEF);
    PutLe32(&ntfs[0x4C], 0x01234567);  // the high half Windows leaves out

    auto exfat = BootSectorOf("EXFAT   ");
    PutLe32(&exfat[0x64], 0x0BADF00D);

    auto noSignature = fat16;
    noSignature[0x26] = 0;
    auto notFat = fat16;
    notFat[13] = 3;  // sectors per cluster must be a power of two

    struct Case {
        const std::array<std::uint8_t, 512>* sector;
        const char* fileSystem;
        std::uint32_t serial;
        const char* label;
    };
    const Case cases[] = {{&fat16, "FAT", 0x1234ABCD, "PHOTOS"},
                          {&fat32, "FAT32", 0xCAFE0001, ""},
                          {&ntfs, "NTFS", 0x89ABCDEF, ""},
                          {&exfat, "exFAT", 0x0BADF00D, ""},
                          {&noSignature, "FAT", 0, ""}};
    for (const Case& c : cases) {
        const std::optional<BootSectorFacts> facts = ReadBootSector(*c.sector);
        ASSERT_TRUE(facts) << c.fileSystem;
        EXPECT_EQ(facts->fileSystem, c.fileSystem);
        EXPECT_EQ(facts->serial, c.serial) << c.fileSystem;
        EXPECT_EQ(facts->label, c.label);
    }
    EXPECT_FALSE(ReadBootSector(notFat));
    EXPECT_FALSE(ReadBootSector(std::array<std::uint8_t, 512>{}));
}

TEST(BootSectorTest, ImageFileWithAFatBootSectorReadsAsAVolume) {
    test::TempDir dir;
    auto fat32 = BootSectorOf("mkfs.fat");
    fat32[0x42] = 0x29;
    PutLe32(&fat32[0x43], 0x5EED1234);
    std::string bytes(reinterpret_cast<const char*>(fat32.data()), fat32.size());
    bytes.resize(64 * 1024);
    const std::optional<VolumeInformation> info = ReadVolumeInformation(dir.WriteFile("stick.img", bytes));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileSystem, "FAT32");
    EXPECT_EQ(FormatSerial(info->serial), "5EED-1234");
}

TEST(VolumeInformationTest, FoldersAndMissingPaths) {
    test::TempDir dir;
    const std::optional<VolumeInformation> info = ReadVolumeInformation(dir.path());
    ASSERT_TRUE(info);  // whatever holds /tmp: some file system with a name length
    EXPECT_GT(info->maxComponentLength, 0u);
    EXPECT_FALSE(ReadVolumeInformation(dir / "missing"));
    EXPECT_FALSE(ReadVolumeInformation(dir.WriteFile("empty.iso", "")));
}

TEST(VolumeInformationTest, SerialsFromUuids) {
    EXPECT_EQ(SerialFromUuid("ABCD-1234"), 0xABCD1234u);
    EXPECT_EQ(SerialFromUuid("1b2c3d4e-5f60-4a1b-8c9d-0e1f2a3b4c5d"), 0x1B2C3D4Eu);
    EXPECT_EQ(SerialFromUuid(""), 0u);
    EXPECT_EQ(FormatSerial(0x0A0B0C0D), "0A0B-0C0D");
}

TEST(DiscDescriptorsTest, UdfDStringsInBothCompressions) {
    std::array<std::uint8_t, 16> eight{8, 'D', 'V', 'D', ' ', ' '};
    eight[15] = 6;
    EXPECT_EQ(UdfDString(eight), "DVD");
    std::array<std::uint8_t, 16> sixteen{16, 0x51, 0x49, 0x76, 0xD8};  // 光 盘 as UTF-16BE
    sixteen[15] = 5;
    EXPECT_EQ(UdfDString(sixteen), text::Local("光盘"));
    sixteen[15] = 200;  // a length beyond the field is cut at the field
    EXPECT_FALSE(UdfDString(sixteen).empty());
    sixteen[0] = 9;  // unknown compression
    EXPECT_EQ(UdfDString(sixteen), "");
}

}  // namespace
}  // namespace pelko::platform
