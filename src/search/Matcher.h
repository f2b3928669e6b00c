#pragma once
// Compares names, memos, labels and readme texts with the words of a search.
//
// All values are model bytes. Without case sensitivity the words are folded once and every
// value is folded per comparison; folding changes the single-byte letters A-Z only, never a
// byte of a double-byte character. Occurrences are found on whole characters: a word never
// matches from the middle of a double-byte character. A Matcher is immutable once built and
// may be used by several threads at once.

#include <string_view>

#include "search/WordSplit.h"

namespace pelko::search {

class Matcher {
public:
    Matcher(SearchWords words, bool partMatch, bool caseSensitive);

    // Categories and catalog entries: under part match the words occur in order without
    // overlapping, and after a star split the value must end with the last word.
    bool MatchesCatalog(std::string_view value) const { return Matches(value, true); }
    // Files and folders: the same without the end rule, so "*" acts like a space.
    bool MatchesContent(std::string_view value) const { return Matches(value, false); }
    // A readme text: every word occurs somewhere, in any order; whole match and star split
    // play no part.
    bool MatchesReadme(std::string_view text) const;

    const SearchWords& Words() const { return m_words; }
    bool PartMatch() const { return m_partMatch; }
    bool CaseSensitive() const { return m_caseSensitive; }

private:
    bool Matches(std::string_view value, bool endRule) const;
    bool MatchesFolded(std::string_view value, bool endRule) const;

    SearchWords m_words;  // folded when the search ignores case
    bool m_partMatch;
    bool m_caseSensitive;
};

}  // namespace pelko::search
