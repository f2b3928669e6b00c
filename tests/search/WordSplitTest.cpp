#include "search/WordSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/Codec.h"

namespace pelko::search {
namespace {

std::string ManyWords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "w" + std::to_string(i) + ' ';
    return text;
}

TEST(WordSplitTest, CutsAtStarsFirstThenSpaces) {
    struct Case {
        const char* rule;
        std::string text;
        std::vector<std::string> words;
        bool starSplit;
    };
    const Case cases[] = {
        {"plain word", "abc", {"abc"}, false},
        {"star between words", "abc*def", {"abc", "def"}, true},
        {"star split reports the last cut only", "a*b c", {"a", "b", "c"}, false},
        {"leading star leaves the extension", "*.txt", {".txt"}, true},
        {"spaces around words are trimmed", "  re   me  ", {"re", "me"}, false},
        {"pieces are trimmed at a star", " a * b ", {"a", "b"}, true},
        {"a lone asterisk gives no words", "*", {}, true},
        {"separators only give no words", "* *", {}, true},
        {"empty text", "", {}, false},
        {"white space only", " \t ", {}, false},
        {"a star cut keeps the spaces of its piece",
         text::Local("光盘 备份*文档"),
         {text::Local("光盘 备份"), text::Local("文档")},
         true},
        {"double-byte words", text::Local("光盘 文档"), {text::Local("光盘"), text::Local("文档")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const SearchWords split = SplitWords(c.text);
        EXPECT_EQ(split.words, c.words);
        EXPECT_EQ(split.starSplit, c.starSplit);
    }
}

TEST(WordSplitTest, StopsAfterTheLastAllowedCut) {
    EXPECT_EQ(SplitWords(ManyWords(258)).words.size(), 258u);
    const SearchWords tooMany = SplitWords(ManyWords(300));
    ASSERT_EQ(tooMany.words.size(), 258u);
    EXPECT_EQ(tooMany.words.back(), "w257");
    // 258 cuts are used up by 258 words followed by a space: the 259th word is dropped.
    EXPECT_EQ(SplitWords(ManyWords(259)).words.size(), 258u);
    EXPECT_EQ(SplitWords(ManyWords(257) + "last").words.back(), "last");
}

}  // namespace
}  // namespace pelko::search
