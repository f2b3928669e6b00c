#include "text/MbString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelko::text {
namespace {

constexpr std::size_t npos = std::string_view::npos;

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

int Sign(int v) { return (v > 0) - (v < 0); }

// ---- CompareNoCase ----

struct CompareRow {
    const char* name;
    std::string a;
    std::string b;
    int sign;  // of CompareNoCase(a, b)
};

void PrintTo(const CompareRow& row, std::ostream* os) { *os << row.name; }

class CompareNoCaseRows : public testing::TestWithParam<CompareRow> {};

TEST_P(CompareNoCaseRows, OrdersBothWays) {
    const CompareRow& row = GetParam();
    EXPECT_EQ(Sign(CompareNoCase(row.a, row.b)), row.sign);
    EXPECT_EQ(Sign(CompareNoCase(row.b, row.a)), -row.sign);
}

INSTANTIATE_TEST_SUITE_P(
    MbString, CompareNoCaseRows,
    testing::Values(CompareRow{"SameLettersInOtherCaseAreEqual", "Disc.ISO", "disc.iso", 0},
                    CompareRow{"LettersOrderAlphabeticallyAcrossCase", "apple", "Banana", -1},
                    CompareRow{"UnderscoreSortsBeforeLowerCaseLetter", "_x", "ax", -1},
                    CompareRow{"UnderscoreSortsBeforeCapitalFoldedToLower", "_x", "Ax", -1},
                    CompareRow{"BracketSortsBeforeCapitalFoldedToLower", "[", "Z", -1},
                    CompareRow{"TrailByteIsNotFolded", "\x81\x41", "\x81\x61", -1},
                    CompareRow{"TrailByteCapitalIsNotALetter", "\xB0\x41", "\xB0\x61", -1},
                    CompareRow{"DoubleByteSortsAfterAscii", "\xB0\xA1", "z", 1},
                    CompareRow{"DoubleBytesCompareByLeadFirst", "\xB0\xFE", "\xB1\xA1", -1},
                    CompareRow{"DoubleBytesCompareByTrailOnEqualLead", "\xB0\xA2", "\xB0\xA1", 1},
                    CompareRow{"EqualDoubleBytesThenFoldedLetters", "\xB9\xE2Q", "\xB9\xE2q", 0},
                    CompareRow{"SingleByte80SortsBeforeDoubleBytes", "\x80", "\x81\x40", -1},
                    CompareRow{"ShorterPrefixSortsFirst", "disc", "DISC1", -1},
                    CompareRow{"EmptySortsFirst", "", "a", -1},
                    CompareRow{"LoneLeadByteAtEndSortsBeforeItsCompletion", "x\x81", "x\x81\x41", -1}),
    RowName<CompareRow>);

// The ordering is the plain byte order of the strings with their single-byte letters lowered;
// that makes it a total order, which the binary-search insertion of names depends on.
TEST(CompareNoCase, IsByteOrderOfLoweredStrings) {
    const std::vector<std::string> names = {
        "",          "a",         "A",        "ab",        "aB",
        "_",         "[",         "z",        "Z",         "\x80",
        "\xFF",      "\x81",      "\x81\x41", "\x81\x61",  "\x81\x5C",
        "\xB0\xA1",  "\xB0\x41",  "a\x81",    "a\x81\x41", "\xB9\xE2\xC5\xCC",
        "\xB9\xE2Q", "\xB9\xE2r", "\\",       "abc",       "ABD"};
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            const int expected = Sign(std::string_view(AsciiLower(a)).compare(AsciiLower(b)));
            EXPECT_EQ(Sign(CompareNoCase(a, b)), expected)
                << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
        }
    }
}

// ---- AsciiLower ----

struct LowerRow {
    const char* name;
    std::string in;
    std::string out;
};

void PrintTo(const LowerRow& row, std::ostream* os) { *os << row.name; }

class AsciiLowerRows : public testing::TestWithParam<LowerRow> {};

TEST_P(AsciiLowerRows, FoldsSingleByteLettersOnly) { EXPECT_EQ(AsciiLower(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(MbString, AsciiLowerRows,
                         testing::Values(LowerRow{"CapitalsLower", "Disc.ISO", "disc.iso"},
                                         LowerRow{"OtherAsciiStays", "[_]@`{", "[_]@`{"},
                                         LowerRow{"TrailByteCapitalStays", "\xB0\x41", "\xB0\x41"},
                                         LowerRow{"LettersAroundDoubleByteLower", "A\xB0\x41Z", "a\xB0\x41z"},
                                         LowerRow{"LetterAfterSingleByte80Lowers", "\x80Z", "\x80z"},
                                         LowerRow{"LetterBeforeLoneLeadAtEndLowers", "A\x81", "a\x81"}),
                         RowName<LowerRow>);

// ---- Trim ----

struct TrimRow {
    const char* name;
    std::string in;
    std::string out;
};

void PrintTo(const TrimRow& row, std::ostream* os) { *os << row.name; }

class TrimRows : public testing::TestWithParam<TrimRow> {};

TEST_P(TrimRows, RemovesBlanksAtBothEnds) { EXPECT_EQ(Trim(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(MbString, TrimRows,
                         testing::Values(TrimRow{"SpacesTabsCrLfGoAtBothEnds", " \t\r\na b\r\n \t", "a b"},
                                         TrimRow{"InnerBlanksStay", "a \t b", "a \t b"},
                                         TrimRow{"AllBlanksGiveEmpty", " \t\r\n", ""},
                                         TrimRow{"EmptyStaysEmpty", "", ""},
                                         TrimRow{"OtherControlBytesStay", "\v\fa\f\v", "\v\fa\f\v"},
                                         TrimRow{"BlankAfterDoubleByteGoes", " \xB9\xE2 ", "\xB9\xE2"},
                                         TrimRow{"BlankAfterLeadByteIsItsSecondByte", "a\x81 ", "a\x81 "}),
                         RowName<TrimRow>);

// ---- FindWhole ----

struct FindRow {
    const char* name;
    std::string haystack;
    std::string needle;
    std::size_t from;
    std::size_t at;
};

void PrintTo(const FindRow& row, std::ostream* os) { *os << row.name; }

class FindWholeRows : public testing::TestWithParam<FindRow> {};

TEST_P(FindWholeRows, FindsOnCharacterBoundaries) {
    const FindRow& row = GetParam();
    EXPECT_EQ(FindWhole(row.haystack, row.needle, row.from), row.at);
}

INSTANTIATE_TEST_SUITE_P(
    MbString, FindWholeRows,
    testing::Values(
        FindRow{"MatchAtStart", "abc", "ab", 0, 0}, FindRow{"IsCaseSensitive", "ABC", "abc", 0, npos},
        FindRow{"NeedleStartingOnTrailByteIsNoHit", "\xB0\x41X", "AX", 0, npos},
        FindRow{"WholeMatchAfterTrailByteHit", "\xB0\x41XAX", "AX", 0, 3},
        FindRow{"BackslashAfterTrailBackslash", "\x95\x5C\\", "\\", 0, 2},
        FindRow{"DoubleByteNeedleOffByOneIsNoHit", "\xB0\xB1\xB2\xB3", "\xB1\xB2", 0, npos},
        FindRow{"DoubleByteNeedleOnBoundary", "\xB0\xB1\xB2\xB3", "\xB2\xB3", 0, 2},
        FindRow{"FromSkipsEarlierHit", "abab", "ab", 1, 2}, FindRow{"FromOnHitFindsIt", "abab", "ab", 2, 2},
        FindRow{"FromInsideDoubleByteStillUsesBoundariesFromStart", "\xB0\x41\x41", "A", 1, 2},
        FindRow{"EmptyNeedleFoundAtFrom", "abc", "", 2, 2}, FindRow{"EmptyNeedleFoundAtEnd", "abc", "", 3, 3},
        FindRow{"FromPastEndFindsNothing", "abc", "", 4, npos}),
    RowName<FindRow>);

// ---- FindLastChar, AfterLastBackslash ----

struct LastCharRow {
    const char* name;
    std::string s;
    char c;
    std::size_t at;
};

void PrintTo(const LastCharRow& row, std::ostream* os) { *os << row.name; }

class FindLastCharRows : public testing::TestWithParam<LastCharRow> {};

TEST_P(FindLastCharRows, SkipsTrailBytes) {
    EXPECT_EQ(FindLastChar(GetParam().s, GetParam().c), GetParam().at);
}

INSTANTIATE_TEST_SUITE_P(MbString, FindLastCharRows,
                         testing::Values(LastCharRow{"LastOfSeveral", "a\\b\\c", '\\', 3},
                                         LastCharRow{"TrailBackslashIsSkipped", "dir\\\x95\x5C", '\\', 3},
                                         LastCharRow{"OnlyTrailBackslashIsNoHit", "\x95\x5C", '\\', npos},
                                         LastCharRow{"TrailLetterIsSkipped", "a\xB0\x61", 'a', 0},
                                         LastCharRow{"DotAfterDoubleByte", "\xB1\xED.txt", '.', 2},
                                         LastCharRow{"AbsentIsNoHit", "abc", '.', npos}),
                         RowName<LastCharRow>);

struct PathRow {
    const char* name;
    std::string path;
    std::string last;
};

void PrintTo(const PathRow& row, std::ostream* os) { *os << row.name; }

class AfterLastBackslashRows : public testing::TestWithParam<PathRow> {};

TEST_P(AfterLastBackslashRows, GivesLastComponent) {
    EXPECT_EQ(AfterLastBackslash(GetParam().path), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    MbString, AfterLastBackslashRows,
    testing::Values(PathRow{"TextAfterLastBackslash", "C:\\disc\\file.txt", "file.txt"},
                    PathRow{"NoBackslashGivesWhole", "file.txt", "file.txt"},
                    PathRow{"TrailingBackslashGivesEmpty", "disc\\", ""},
                    PathRow{"TrailBackslashDoesNotSplit", "\x95\x5Cname", "\x95\x5Cname"},
                    PathRow{"NameEndingInTrailBackslashStaysWhole", "dir\\\x95\x5C", "\x95\x5C"}),
    RowName<PathRow>);

// ---- Extension ----

struct ExtensionRow {
    const char* name;
    std::string file;
    std::string extension;
};

void PrintTo(const ExtensionRow& row, std::ostream* os) { *os << row.name; }

class ExtensionRows : public testing::TestWithParam<ExtensionRow> {};

TEST_P(ExtensionRows, FromLastDotLowered) { EXPECT_EQ(Extension(GetParam().file), GetParam().extension); }

INSTANTIATE_TEST_SUITE_P(
    MbString, ExtensionRows,
    testing::Values(ExtensionRow{"LastDotOnlyAndLowered", "a.tar.GZ", ".gz"},
                    ExtensionRow{"NoDotGivesEmpty", "noext", ""},
                    ExtensionRow{"LeadingDotNameIsAllExtension", ".bashrc", ".bashrc"},
                    ExtensionRow{"TrailingDotGivesDot", "name.", "."},
                    ExtensionRow{"ChineseNameWithoutDotGivesEmpty", "\xB9\xE2\xC5\xCC", ""},
                    ExtensionRow{"ChineseNameKeepsAsciiExtension", "\xB9\xE2\xC5\xCC.ISO", ".iso"},
                    ExtensionRow{"TrailByteCapitalInExtensionStays", "a.\xB0\x41Z", ".\xB0\x41z"}),
    RowName<ExtensionRow>);

}  // namespace
}  // namespace pelko::text
