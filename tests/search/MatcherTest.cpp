#include "search/Matcher.h"

#include <gtest/gtest.h>

#include <string>

#include "text/Codec.h"

namespace pelko::search {
namespace {

enum class Variant { kCatalog, kContent, kReadme };

struct Case {
    const char* rule;
    std::string text;
    bool partMatch;
    bool caseSensitive;
    Variant variant;
    std::string value;
    bool matches;
};

bool Evaluate(const Case& c) {
    const Matcher matcher(SplitWords(c.text), c.partMatch, c.caseSensitive);
    switch (c.variant) {
        case Variant::kCatalog:
            return matcher.MatchesCatalog(c.value);
        case Variant::kContent:
            return matcher.MatchesContent(c.value);
        case Variant::kReadme:
            return matcher.MatchesReadme(c.value);
    }
    return false;
}

constexpr bool kPart = true;
constexpr bool kWhole = false;
constexpr bool kCase = true;
constexpr bool kNoCase = false;

// "\x81\x41" is one GBK character whose trail byte has the code of "A"; "\x81\x61" one whose
// trail byte has the code of "a".
TEST(MatcherTest, PartAndWholeMatchOverModelBytes) {
    const Case cases[] = {
        {"star text hits a file name anywhere", "*.txt", kPart, kNoCase, Variant::kContent, "a.txt.bak",
         true},
        {"star text needs the end for a catalog name", "*.txt", kPart, kNoCase, Variant::kCatalog,
         "a.txt.bak", false},
        {"star text at the end of a catalog name", "*.txt", kPart, kNoCase, Variant::kCatalog, "a.TXT", true},
        {"end rule after an earlier occurrence", "*.txt", kPart, kNoCase, Variant::kCatalog, "a.txt.txt",
         true},
        {"space split has no end rule", "x .txt", kPart, kNoCase, Variant::kCatalog, "x.txt.bak", true},
        {"words in order", "re me", kPart, kNoCase, Variant::kContent, "readme", true},
        {"words out of order", "me re", kPart, kNoCase, Variant::kContent, "readme", false},
        {"occurrences do not overlap", "aa aa", kPart, kNoCase, Variant::kContent, "aaa", false},
        {"two occurrences side by side", "aa aa", kPart, kNoCase, Variant::kContent, "aaaa", true},
        {"whole match with two words never hits", "a b", kWhole, kNoCase, Variant::kContent, "a b", false},
        {"whole match equals after folding", "abc", kWhole, kNoCase, Variant::kCatalog, "ABC", true},
        {"whole match is not a part match", "abc", kWhole, kNoCase, Variant::kCatalog, "abcd", false},
        {"whole match is case-sensitive when asked", "abc", kWhole, kCase, Variant::kCatalog, "ABC", false},
        {"lone asterisk hits everything", "*", kPart, kNoCase, Variant::kContent, "anything", true},
        {"lone asterisk under whole match hits nothing", "*", kWhole, kNoCase, Variant::kContent, "*", false},
        {"empty text hits every catalog value", "", kPart, kNoCase, Variant::kCatalog, "", true},
        {"empty text under whole match", "", kWhole, kNoCase, Variant::kCatalog, "", false},
        {"folded capitals", "ABC", kPart, kNoCase, Variant::kContent, "xaBcx", true},
        {"case-sensitive capitals", "ABC", kPart, kCase, Variant::kContent, "abc", false},
        {"trail byte is not folded", "a", kPart, kNoCase, Variant::kContent, "\x81\x41", false},
        {"folded capital misses the trail byte", "A", kPart, kNoCase, Variant::kContent, "x\x81\x41", false},
        {"no match from inside a character", "A", kPart, kCase, Variant::kContent, "\x81\x41", false},
        {"the real letter after a character", "A", kPart, kCase, Variant::kContent,
         "\x81\x41"
         "A",
         true},
        {"lower-case trail byte is not a letter", "a", kPart, kNoCase, Variant::kContent, "\x81\x61", false},
        {"end rule on whole characters", "*a", kPart, kCase, Variant::kCatalog, "x\x81\x61", false},
        {"double-byte word", text::Local("光盘"), kPart, kNoCase, Variant::kContent,
         text::Local("我的光盘.iso"), true},
        {"double-byte words in order", text::Local("我 盘"), kPart, kNoCase, Variant::kContent,
         text::Local("我的光盘"), true},
        {"readme words in any order", "me re", kWhole, kNoCase, Variant::kReadme, "README", true},
        {"readme needs every word", "me zz", kPart, kNoCase, Variant::kReadme, "readme", false},
        {"readme ignores the star's end rule", "*read", kPart, kNoCase, Variant::kReadme, "readme", true},
        {"readme with no words", "", kPart, kNoCase, Variant::kReadme, "anything", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(Evaluate(c), c.matches);
    }
}

TEST(MatcherTest, LongValuesFoldLikeShortOnes) {
    const std::string tail =
        "\x81\x41"
        "ABC";
    const std::string longValue = std::string(2000, 'x') + tail;
    const Matcher noCase(SplitWords("abc"), kPart, kNoCase);
    EXPECT_TRUE(noCase.MatchesContent(longValue));
    const Matcher trail(SplitWords("a"), kPart, kNoCase);
    EXPECT_FALSE(trail.MatchesContent(std::string(2000, 'x') + "\x81\x41"));
}

}  // namespace
}  // namespace pelko::search
