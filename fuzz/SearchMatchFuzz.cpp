// Splits a search text and matches it against a value, both arbitrary bytes, under every option,
// and checks what must hold whatever the bytes: words are never empty or padded and at most 258;
// the catalog variant is never more generous than the content variant; a whole match is also a
// part match; case folding never turns a miss into a hit for a text without letters.
// Input: one byte of options, then the text and the value separated by the first NUL byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "search/Matcher.h"
#include "search/WordSplit.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelko::search;
    if (size == 0) return 0;
    const bool caseSensitive = (data[0] & 1) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view text = rest.substr(0, nul);
    const std::string_view value = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);

    const SearchWords words = SplitWords(text);
    Check(words.words.size() <= SearchWords::kMaxCuts);
    for (const std::string& word : words.words) {
        Check(!word.empty());
        Check(!IsBlank(word.front()));
    }

    const Matcher part(words, true, caseSensitive);
    const Matcher whole(words, false, caseSensitive);
    const bool partContent = part.MatchesContent(value);
    Check(!part.MatchesCatalog(value) || partContent);
    Check(!whole.MatchesContent(value) || partContent);
    Check(whole.MatchesContent(value) == whole.MatchesCatalog(value));
    part.MatchesReadme(value);

    bool hasLetter = false;
    for (const char c : text) hasLetter = hasLetter || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!hasLetter) {
        const Matcher other(words, true, !caseSensitive);
        Check(other.MatchesContent(value) == partContent);
    }
    return 0;
}
