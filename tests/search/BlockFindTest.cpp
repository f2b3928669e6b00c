#include "search/BlockFind.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace pelko::search {
namespace {

// Against std::string_view::find over blocks of a three-letter alphabet, where words occur
// often, at every start and with every word length from 1 to 40: whole runs of sixteen, the
// tail after them, words longer than the rest of the block, occurrences at the very end.
TEST(BlockFindTest, FindsWhatStringViewFinds) {
    std::mt19937 random(20261211);
    const char alphabet[] = {'a', 'b', '\xD5'};
    auto text = [&](std::size_t size) {
        std::string s(size, 'a');
        for (char& c : s) c = alphabet[random() % 3];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string block = text(random() % 200);
        const std::size_t length = 1 + random() % 40;
        // A word taken from the block itself, so that it occurs, or a random one.
        std::string needle = text(length);
        if (round % 2 == 0 && block.size() >= length)
            needle = block.substr(random() % (block.size() - length + 1), length);
        for (std::size_t from = 0; from <= block.size() + 1; ++from) {
            ASSERT_EQ(FindInBlock(block, needle, from), std::string_view(block).find(needle, from))
                << "round " << round << " from " << from;
        }
    }
    EXPECT_EQ(FindInBlock("abc", "", 1), 1u);
    EXPECT_EQ(FindInBlock("abc", "", 4), std::string_view::npos);
}

}  // namespace
}  // namespace pelko::search
