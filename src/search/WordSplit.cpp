#include "search/WordSplit.h"

#include "text/MbString.h"

namespace pelko::search {

namespace {

// First single-byte character `c` of `s` that is not the trail byte of a double-byte one.
std::size_t FindChar(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = text::CharLength(s, i);
        if (length == 1 && s[i] == c) return i;
        i += length;
    }
    return std::string_view::npos;
}

}  // namespace

SearchWords SplitWords(std::string_view text) {
    SearchWords result;
    std::string_view rest = text;
    for (std::size_t cuts = 0;; ++cuts) {
        rest = text::Trim(rest);
        if (rest.empty()) break;
        if (cuts == SearchWords::kMaxCuts) break;  // what remains after the last allowed cut is dropped
        std::size_t cut = FindChar(rest, '*');
        if (cut != std::string_view::npos) {
            result.starSplit = true;
        } else {
            cut = FindChar(rest, ' ');
            if (cut == std::string_view::npos) {
                result.words.emplace_back(rest);
                break;
            }
            result.starSplit = false;
        }
        const std::string_view word = text::Trim(rest.substr(0, cut));
        if (!word.empty()) result.words.emplace_back(word);
        rest = rest.substr(cut + 1);
    }
    return result;
}

}  // namespace pelko::search
