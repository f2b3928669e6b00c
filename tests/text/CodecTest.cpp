#include "text/Codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace pelko::text {
namespace {

using namespace std::string_literals;

const std::string kReplacementLocal = "\x84\x31\xA4\x37";  // U+FFFD in GB18030
const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

std::string AllAscii() {
    std::string s;
    for (int c = 0; c < 0x80; ++c) s += static_cast<char>(c);
    return s;
}

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// ---- UTF-8 to model bytes ----

struct EncodeRow {
    const char* name;
    std::string utf8;
    std::string local;
};

void PrintTo(const EncodeRow& row, std::ostream* os) { *os << row.name; }

class FromUtf8Rows : public testing::TestWithParam<EncodeRow> {};

TEST_P(FromUtf8Rows, GivesModelBytes) { EXPECT_EQ(FromUtf8(GetParam().utf8), GetParam().local); }

INSTANTIATE_TEST_SUITE_P(
    Codec, FromUtf8Rows,
    testing::Values(
        EncodeRow{"AsciiIsCopiedUnchanged", AllAscii(), AllAscii()},
        EncodeRow{"EuroIsCp936SingleByte80", "€", "\x80"},
        EncodeRow{"ChineseTakesCp936DoubleBytes", "光盘", "\xB9\xE2\xC5\xCC"},
        EncodeRow{"AsciiAroundChineseStaysInPlace", "disc 光盘.iso", "disc \xB9\xE2\xC5\xCC.iso"},
        EncodeRow{"CharacterCp936LacksTakesGb18030FourBytes", "À", "\x81\x30\x86\x38"},
        EncodeRow{"CharacterCp936LacksTakesGb18030DoubleBytes", "ḿ", "\xA8\xBC"},
        EncodeRow{"EmojiTakesGb18030FourBytes", "😀", "\x94\x39\xFC\x36"},
        EncodeRow{"Cp936ResumesAfterGb18030Character", "光😀盘€", "\xB9\xE2\x94\x39\xFC\x36\xC5\xCC\x80"},
        EncodeRow{"TagCharacterIsKeptNotDropped", "a\U000E0067z", "a\xD3\x36\xA0\x31z"},
        EncodeRow{"LoneContinuationByteIsReplaced", "a\x80z", "a" + kReplacementLocal + "z"},
        EncodeRow{"ByteFFIsReplaced", "\xFF", kReplacementLocal},
        EncodeRow{"TruncatedCharacterAtEndIsOneReplacement", "光\xE7\x9B", "\xB9\xE2" + kReplacementLocal},
        EncodeRow{"TruncatedCharacterBeforeAsciiIsOneReplacement", "\xE7\x9Bx", kReplacementLocal + "x"},
        EncodeRow{"OverlongFormIsReplacedBytewise", "\xC0\xAF", Repeat(kReplacementLocal, 2)},
        EncodeRow{"EncodedSurrogateIsReplacedBytewise", "\xED\xA0\x80", Repeat(kReplacementLocal, 3)},
        EncodeRow{"BeyondU10FFFFIsReplacedBytewise", "\xF4\x90\x80\x80", Repeat(kReplacementLocal, 4)},
        EncodeRow{"OutputFourTimesTheInputGrowsTheBuffer", Repeat("\x80", 300),
                  Repeat(kReplacementLocal, 300)},
        EncodeRow{"LongRunOfFourByteFormsGrowsTheBuffer", Repeat("À", 300), Repeat("\x81\x30\x86\x38", 300)}),
    RowName<EncodeRow>);

// ---- model bytes to UTF-8 ----

struct DecodeRow {
    const char* name;
    std::string local;
    std::string utf8;
};

void PrintTo(const DecodeRow& row, std::ostream* os) { *os << row.name; }

class ToUtf8Rows : public testing::TestWithParam<DecodeRow> {};

TEST_P(ToUtf8Rows, GivesUtf8) { EXPECT_EQ(ToUtf8(GetParam().local), GetParam().utf8); }

INSTANTIATE_TEST_SUITE_P(
    Codec, ToUtf8Rows,
    testing::Values(
        DecodeRow{"AsciiIsCopiedUnchanged", AllAscii(), AllAscii()},
        DecodeRow{"SingleByte80IsEuro", "\x80", "€"}, DecodeRow{"Gb18030EuroCodeIsReadToo", "\xA2\xE3", "€"},
        DecodeRow{"ChineseDoubleBytes", "\xB9\xE2\xC5\xCC", "光盘"},
        DecodeRow{"CodeGbkLeavesUnassignedIsReadByGb18030", "\xA8\xBC", "ḿ"},
        DecodeRow{"UserDefinedAreaIsPrivateUse", "\xAA\xA1", "\uE000"},
        DecodeRow{"FourByteFormIsEmoji", "\x94\x39\xFC\x36", "😀"},
        DecodeRow{"Cp936ResumesAfterFourByteForm", "\xB9\xE2\x94\x39\xFC\x36\xC5\xCC\x80", "光😀盘€"},
        DecodeRow{"HighestFourByteFormIsU10FFFF", "\xE3\x32\x9A\x35", "\U0010FFFF"},
        DecodeRow{"LoneLeadByteAtEndIsReplaced", "a\x81", "a" + kReplacementUtf8},
        DecodeRow{"ByteFFIsReplaced", "\xFF", kReplacementUtf8},
        DecodeRow{"LeadByteBeforeAsciiSparesTheAscii", "\x81\"x", kReplacementUtf8 + "\"x"},
        DecodeRow{"LeadByteBeforeFFTakesBoth", "\x81\xFFx", kReplacementUtf8 + "x"},
        DecodeRow{"BrokenFourByteFormReplacesOnlyItsLead", "\x81\x30zz", kReplacementUtf8 + "0zz"},
        DecodeRow{"UnassignedFourByteFormIsOneReplacement", "\x84\x31\xA5\x30", kReplacementUtf8},
        DecodeRow{"FourByteFormPastU10FFFFIsOneReplacement", "\xE3\x32\x9A\x36", kReplacementUtf8},
        DecodeRow{"OutputThreeTimesTheInputGrowsTheBuffer", Repeat("\x80", 300), Repeat("€", 300)}),
    RowName<DecodeRow>);

// ---- UTF-16 to model bytes ----

struct WideRow {
    const char* name;
    std::u16string utf16;
    std::string local;
};

void PrintTo(const WideRow& row, std::ostream* os) { *os << row.name; }

class FromUtf16Rows : public testing::TestWithParam<WideRow> {};

TEST_P(FromUtf16Rows, GivesModelBytes) { EXPECT_EQ(FromUtf16(GetParam().utf16), GetParam().local); }

constexpr char16_t kHigh = 0xD83D;  // first half of U+1F600
constexpr char16_t kLow = 0xDE00;   // second half of U+1F600

INSTANTIATE_TEST_SUITE_P(
    Codec, FromUtf16Rows,
    testing::Values(
        WideRow{"AsciiIsNarrowed", u"disc 1.iso", "disc 1.iso"},
        WideRow{"EuroIsCp936SingleByte80", u"€", "\x80"},
        WideRow{"ChineseTakesCp936DoubleBytes", u"光盘", "\xB9\xE2\xC5\xCC"},
        WideRow{"SurrogatePairIsOneFourByteForm", u"a😀z", "a\x94\x39\xFC\x36z"},
        WideRow{"TagCharacterIsKeptNotDropped", u"\U000E0067", "\xD3\x36\xA0\x31"},
        WideRow{"HighSurrogateAtEndIsReplaced", std::u16string{u'a', kHigh}, "a" + kReplacementLocal},
        WideRow{"HighSurrogateBeforeAsciiIsReplaced", std::u16string{kHigh, u'b'}, kReplacementLocal + "b"},
        WideRow{"LoneLowSurrogateIsReplaced", std::u16string{u'光', kLow}, "\xB9\xE2" + kReplacementLocal},
        WideRow{"ReversedPairIsTwoReplacements", std::u16string{kLow, kHigh}, Repeat(kReplacementLocal, 2)}),
    RowName<WideRow>);

// ---- whole code spaces ----

void AppendUtf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Code points of well-formed UTF-8.
std::vector<char32_t> CodePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = len == 1 ? b : b & (0x7F >> len);
        for (int k = 1; k < len && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
        out.push_back(c);
        i += len;
    }
    return out;
}

bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// Every Unicode scalar value survives UTF-8 -> model bytes -> UTF-8, whichever code page encodes
// it, and UTF-16 input gives the same bytes as UTF-8 input. The only losses allowed are a few
// private-use code points that GB18030 reassigned to standard characters: they have no bytes and
// come back as U+FFFD. The code space goes through in blocks, each one long string that mixes
// both code pages.
TEST(CodecRoundTrip, EveryUnicodeScalarValue) {
    constexpr char32_t kBlock = 0x4000;
    int replaced = 0;
    for (char32_t first = 0; first <= 0x10FFFF; first += kBlock) {
        std::vector<char32_t> block;
        std::string utf8;
        std::u16string utf16;
        for (char32_t c = first; c < first + kBlock; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            block.push_back(c);
            AppendUtf8(utf8, c);
            if (c < 0x10000) {
                utf16 += static_cast<char16_t>(c);
            } else {
                utf16 += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                utf16 += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        }
        SCOPED_TRACE(testing::Message() << "block from U+" << std::hex << static_cast<std::uint32_t>(first));

        const std::string local = FromUtf8(utf8);
        EXPECT_TRUE(FromUtf16(utf16) == local) << "UTF-16 and UTF-8 input encode differently";

        const std::vector<char32_t> back = CodePoints(ToUtf8(local));
        ASSERT_EQ(back.size(), block.size());
        for (std::size_t i = 0; i < block.size(); ++i) {
            if (back[i] == block[i]) continue;
            if (back[i] == 0xFFFD && IsPrivateUse(block[i])) {
                ++replaced;
                continue;
            }
            FAIL() << std::hex << "U+" << static_cast<std::uint32_t>(block[i]) << " came back as U+"
                   << static_cast<std::uint32_t>(back[i]);
        }
    }
    EXPECT_LT(replaced, 64);
}

// Every double-byte code decodes to a character that encodes back to the same two bytes; the
// only exception is GB18030's euro code, which encodes back as CP936's single byte 0x80.
TEST(CodecRoundTrip, EveryDoubleByteCode) {
    std::vector<std::string> changed;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = ToUtf8(code);
            if (utf8 == kReplacementUtf8 || FromUtf8(utf8) != code) changed.push_back(code);
        }
    }
    EXPECT_EQ(changed, std::vector<std::string>{"\xA2\xE3"});
    EXPECT_EQ(FromUtf8(ToUtf8("\xA2\xE3")), "\x80");
}

// Each thread has its own converters; concurrent conversions must not disturb each other.
TEST(CodecThreads, ConcurrentConversionsAgree) {
    const std::string utf8 = "光盘 😀 \xFF € À disc.iso 表";
    const std::string local = FromUtf8(utf8);
    const std::string decoded = ToUtf8(local);
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (FromUtf8(utf8) != local || ToUtf8(local) != decoded) ++mismatches[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace pelko::text
