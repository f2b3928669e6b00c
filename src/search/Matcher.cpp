#include "search/Matcher.h"

#include <array>
#include <string>

#include "text/MbString.h"

namespace pelko::search {

namespace {

bool HasCapital(std::string_view s) {
    for (const char c : s)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}

// Calls `use` with `value` folded when asked. Most values are short names: they are folded on
// the stack, so the million comparisons of a big search allocate nothing.
template <typename Use>
bool WithFolded(std::string_view value, bool fold, Use&& use) {
    if (!fold || !HasCapital(value)) return use(value);
    constexpr std::size_t kStackBytes = 512;
    if (value.size() > kStackBytes) return use(std::string_view(text::AsciiLower(value)));
    std::array<char, kStackBytes> buffer;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (text::IsLeadByte(c) && i + 1 < value.size()) {
            buffer[i] = value[i];
            ++i;
            buffer[i] = value[i];  // a trail byte stays as it is
        } else {
            buffer[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
    }
    return use(std::string_view(buffer.data(), value.size()));
}

// `value` ends with `word`, and the ending starts on a character boundary of `value`.
bool EndsWithWhole(std::string_view value, std::string_view word) {
    if (!value.ends_with(word)) return false;
    const std::size_t start = value.size() - word.size();
    std::size_t i = 0;
    while (i < start) i += text::CharLength(value, i);
    return i == start;
}

}  // namespace

Matcher::Matcher(SearchWords words, bool partMatch, bool caseSensitive)
    : m_words(std::move(words)), m_partMatch(partMatch), m_caseSensitive(caseSensitive) {
    if (!m_caseSensitive)
        for (std::string& word : m_words.words) word = text::AsciiLower(word);
}

bool Matcher::Matches(std::string_view value, bool endRule) const {
    if (!m_partMatch && m_words.words.size() != 1) return false;  // whole match needs exactly one word
    return WithFolded(value, !m_caseSensitive, [&](std::string_view v) { return MatchesFolded(v, endRule); });
}

bool Matcher::MatchesFolded(std::string_view value, bool endRule) const {
    if (!m_partMatch) return value == m_words.words.front();
    const std::size_t last = m_words.words.size() - 1;  // unused when there are no words
    std::size_t from = 0;
    for (std::size_t k = 0; k < m_words.words.size(); ++k) {
        const std::string& word = m_words.words[k];
        const std::size_t at = text::FindWhole(value, word, from);
        if (at == std::string_view::npos) return false;
        // The rest of the value, from where the search for this word began, must end with it.
        if (endRule && m_words.starSplit && k == last && !EndsWithWhole(value, word)) return false;
        from = at + word.size();
    }
    return true;
}

bool Matcher::MatchesReadme(std::string_view text) const {
    return WithFolded(text, !m_caseSensitive, [&](std::string_view folded) {
        for (const std::string& word : m_words.words)
            if (text::FindWhole(folded, word) == std::string_view::npos) return false;
        return true;
    });
}

}  // namespace pelko::search
