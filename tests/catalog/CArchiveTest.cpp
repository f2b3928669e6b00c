#include "catalog/CArchive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/Requirements.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Stored(const auto& write) {
    Bytes out;
    CArchive ar(out, CArchive::Mode::Store);
    write(ar);
    ar.Close();
    return out;
}

Bytes Prefix(const Bytes& bytes, std::size_t n) { return Bytes(bytes.begin(), bytes.begin() + n); }

struct StringCase {
    const char* rule;
    std::size_t length;
    Bytes prefix;
};

TEST(CArchiveTest, CountedStringPrefixByLength) {
    const StringCase cases[] = {
        {"empty string is one zero byte", 0, {0x00}},
        {"254 bytes fit the one-byte prefix", 254, {0xFE}},
        {"255 bytes switch to the 16-bit form", 255, {0xFF, 0xFF, 0x00}},
        {"65533 bytes still use the 16-bit form", 65533, {0xFF, 0xFD, 0xFF}},
        {"65534 bytes use the 32-bit form", 65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string text(c.length, 'x');
        const Bytes bytes = Stored([&](CArchive& ar) { ar.WriteString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix);
        CArchive in(bytes);
        EXPECT_EQ(in.ReadString(), text);
        EXPECT_EQ(in.RemainingBound(), 0u);
    }
}

TEST(CArchiveTest, ChineseNameCountsBytes) {
    const Bytes bytes = Stored([](CArchive& ar) { ar.WriteString(text::Local("光盘")); });
    EXPECT_EQ(bytes, (Bytes{0x04, 0xB9, 0xE2, 0xC5, 0xCC}));
}

TEST(CArchiveTest, WideStringIsConvertedOnReading) {
    // FF FE FF, length 3, then three UTF-16LE units: "A", "光", "€".
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0x03, 0x41, 0x00, 0x49, 0x51, 0xAC, 0x20, 0x7A};
    CArchive ar(bytes);
    EXPECT_EQ(ar.ReadString(), std::string("A\xB9\xE2\x80"));
    EXPECT_EQ(ar.ReadByte(), 0x7A);
}

TEST(CArchiveTest, ShortCountForms) {
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {0, {0x00, 0x00}},
        {65534, {0xFE, 0xFF}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        const std::uint32_t count = c.first;
        const Bytes& expected = c.second;
        SCOPED_TRACE(count);
        const Bytes bytes = Stored([&](CArchive& ar) { ar.WriteCount(count); });
        EXPECT_EQ(bytes, expected);
        CArchive in(bytes);
        EXPECT_EQ(in.ReadCount(), count);
    }
}

TEST(CArchiveTest, PrimitivesAreLittleEndian) {
    const Bytes bytes = Stored([](CArchive& ar) {
        ar.WriteByte(0x31);
        ar.WriteDword(0xDEADBEEF);
        ar.WriteDouble(1.0);
        const std::uint8_t raw[3] = {1, 2, 3};
        ar.WriteRaw(raw);
    });
    EXPECT_EQ(bytes, (Bytes{0x31, 0xEF, 0xBE, 0xAD, 0xDE, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 1, 2, 3}));
}

TEST(CArchiveTest, ReadingPastTheEndThrows) {
    const Bytes bytes = {0x05, 'a', 'b'};  // a string claiming five bytes
    CArchive ar(bytes);
    try {
        ar.ReadString();
        FAIL() << "no error";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::EndOfFile);
    }
    const Bytes three = {1, 2, 3};
    CArchive dword(three);
    EXPECT_THROW(dword.ReadDword(), ArchiveError);
}

TEST(CArchiveTest, HugeStringLengthIsRefusedBeforeAllocating) {
    const Bytes bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'x'};
    CArchive ar(bytes);
    EXPECT_THROW(ar.ReadString(), ArchiveError);
}

TEST(CArchiveTest, FileArchiveCrossesBufferBoundaries) {
    test::TempDir dir;
    const auto path = dir / "stream.bin";
    std::vector<std::string> texts;
    for (int i = 0; i < 700; ++i)
        texts.push_back(std::string(static_cast<std::size_t>(i % 300), char('a' + i % 26)));
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        CArchive ar(fd, CArchive::Mode::Store);
        for (const auto& t : texts) {
            ar.WriteString(t);
            ar.WriteDword(static_cast<std::uint32_t>(t.size()));
        }
        ar.Close();
        ::close(fd);
    }
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    CArchive ar(fd, CArchive::Mode::Load);
    for (const auto& t : texts) {
        ASSERT_EQ(ar.ReadString(), t);
        ASSERT_EQ(ar.ReadDword(), t.size());
    }
    EXPECT_EQ(ar.RemainingBound(), 0u);
    EXPECT_THROW(ar.ReadByte(), ArchiveError);
    ::close(fd);
}

TEST(CArchiveTest, FailedWriteIsReported) {
    const int fd = ::open("/dev/full", O_WRONLY);
    REQUIRE_MACHINE(fd >= 0, "/dev/full is not available");
    CArchive ar(fd, CArchive::Mode::Store);
    ar.WriteString("short");
    EXPECT_THROW(ar.Close(), ArchiveError);
    ::close(fd);
}

}  // namespace
}  // namespace pelko::catalog
