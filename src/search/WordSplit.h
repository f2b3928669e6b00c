#pragma once
// Cuts a search text into the words that must all occur in a value.
//
// Cuts are made at the first "*" while there is one, else at the first space; each piece is
// trimmed and kept when not empty. "Star split" reports whether the last cut was made at a "*":
// catalog matching then asks the value to end with the last word, so "*.txt" finds names
// ending in ".txt".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::search {

struct SearchWords {
    static constexpr std::size_t kMaxCuts = 258;

    std::vector<std::string> words;  // model bytes, in the order given
    bool starSplit = false;

    bool operator==(const SearchWords&) const = default;
};

// After kMaxCuts cuts the rest of the text is dropped. Cuts are found on whole characters, so a
// trail byte with the code of "*" or " " never cuts a double-byte character.
SearchWords SplitWords(std::string_view text);

}  // namespace pelko::search
