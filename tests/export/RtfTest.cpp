#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "export/RtfReader.h"
#include "export/RtfWriter.h"
#include "text/Codec.h"

namespace pelko::exporting {
namespace {

using text::Local;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGrey{150, 150, 150};
constexpr Rgb kBlack{0, 0, 0};

std::string Utf8(const RtfSpans& spans) {
    std::string out;
    for (const RtfSpan& s : spans) out += text::ToUtf8(s.text);
    return out;
}

TEST(RtfRoundTrip, KeepsTextAndColoursOfEveryKindOfCharacter) {
    const RtfSpans spans = {
        {Local("提示：  光盘 乗俓 已经存在\n"), kBlue},            // GBK with 0x5C trail bytes
        {Local("错误：  C:\\路径\\{括号} 和 tab\there\n"), kRed},  // RTF's own special characters
        {std::string("euro \x80, control \x01 end\n"), kBlack},    // CP936's 0x80 and a control byte
        {Local("2006-3-5 9:7:2\n") + std::string(56, '^') + "\n", kGrey},
        {Local("表情 😀 和 𠀀 罕见字\n"), kBlue},  // four-byte GB18030, beyond the BMP
        {"        Pelko\\Music\\Disc1\n", kBlack},
    };
    const std::string rtf = WriteRtf(spans);
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
    })) << "the writer escapes every byte above ASCII";
    EXPECT_NE(rtf.find("\\u-10179?"), std::string::npos) << "emoji as a surrogate pair of \\uN";
    const RtfReadResult back = ReadRtf(rtf);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.spans, spans) << rtf;
}

TEST(RtfRoundTrip, EmptyAndSingleColourDocuments) {
    for (const RtfSpans& spans :
         {RtfSpans{}, RtfSpans{{"one line\n", kBlack}}, RtfSpans{{"no line end", kRed}}}) {
        const RtfReadResult back = ReadRtf(WriteRtf(spans));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.spans, spans);
    }
}

// A document as a word processor writes it: tables and destinations to skip, colour from the
// table, \'hh bytes, \uN with fallbacks.
TEST(RtfReader, ReadsForeignDocument) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil Calibri;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\cf1\\f0\\fs18\\lang2052 \\'d6\\'d0\\'ce\\'c4\\cf2 blue\\par\r\n"
        "\\cf0 plain {\\b bold} \\u20013?\\uc2\\u25991 xy! {\\pict\\wmetafile8 0123abcd}\\tab end\\line\r\n"
        "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}\\par\r\n}";
    const RtfReadResult r = ReadRtf(rtf);
    ASSERT_TRUE(r.ok) << r.error;
    const RtfSpans expected = {
        {Local("中文"), kRed},
        {"blue\n", kBlue},
        {Local("plain bold 中文! \tend\nlink\n"), kBlack},
    };
    EXPECT_EQ(r.spans, expected) << Utf8(r.spans);
}

TEST(RtfReader, ColourIndexOutsideTheTableIsBlackAndTableWithoutAutoEntryStartsAtZero) {
    const RtfReadResult r = ReadRtf("{\\rtf1{\\colortbl\\red255\\green0\\blue0;}\\cf0 a\\cf7 b\\cf-3 c}");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.spans, (RtfSpans{{"a", kRed}, {"bc", kBlack}}));
}

// Bad input gives a plain answer: refused with a reason, or the text that could be read.
TEST(RtfReader, GarbageNeverCrashes) {
    const struct {
        const char* name;
        std::string input;
        bool ok;
        std::string text;  // UTF-8
    } cases[] = {
        {"empty", "", false, ""},
        {"plain text", "hello {\\rtf1 x}", false, ""},
        {"a .doc header", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), false, ""},
        {"leading blanks", "\r\n {\\rtf1 ok}", true, "ok"},
        {"never closed", "{\\rtf1 abc{\\b def", true, "abcdef"},
        {"too many closes", "{\\rtf1 a}}}} b", true, "a"},
        {"cut in a hex escape", "{\\rtf1 a\\'4", true, "a\x04"},
        {"hex escape without digits", "{\\rtf1 a\\'zz}", true, "azz"},
        {"backslash at the end", "{\\rtf1 a\\", true, "a"},
        {"huge numbers", "{\\rtf1 \\cf99999999999999999999 a\\u99999999999999 b\\uc999999 c}", true,
         "a\xEF\xBF\xBD"
         "c"},
        {"binary data longer than the input", "{\\rtf1 a\\bin999999999 xyz}", true, "a"},
        {"binary data skipped", "{\\rtf1 a\\bin3 }{}b}", true, "ab"},
        {"lone surrogates", "{\\rtf1 \\u-10179?x\\u-9216?}", true, "\xEF\xBF\xBDx\xEF\xBF\xBD"},
        {"NUL character", "{\\rtf1 \\u0?a}", true,
         "\xEF\xBF\xBD"
         "a"},
        {"over-long control word", "{\\rtf1 \\" + std::string(100000, 'a') + " z}", true, "z"},
        {"colour table never closed", "{\\rtf1{\\colortbl\\red1", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfReadResult r = ReadRtf(c.input);
        EXPECT_EQ(r.ok, c.ok) << r.error;
        if (!r.ok) {
            EXPECT_FALSE(r.error.empty());
            EXPECT_TRUE(r.spans.empty());
        }
        EXPECT_EQ(Utf8(r.spans), c.text);
    }
}

TEST(RtfReader, DeepNestingIsRefusedNotRecursed) {
    const std::string deep = "{\\rtf1 " + std::string(100000, '{') + "x";
    const RtfReadResult r = ReadRtf(deep);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("nested"), std::string::npos);
    const std::string fine =
        "{\\rtf1 " + std::string(kMaxRtfDepth - 1, '{') + "x" + std::string(kMaxRtfDepth, '}');
    EXPECT_TRUE(ReadRtf(fine).ok);
}

}  // namespace
}  // namespace pelko::exporting
