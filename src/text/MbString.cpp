#include "text/MbString.h"

namespace pelko::text {

namespace {

constexpr unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

// Equivalent to comparing, as unsigned bytes, the two strings with their single-byte letters
// lowered. While the strings agree, their character boundaries coincide (a lead byte is never
// folded, so equal folded bytes mean both are leads or neither is), which lets one index walk
// both strings.
int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    while (i < n) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x) || IsLeadByte(y)) {
            if (x != y) return x < y ? -1 : 1;
            if (++i == n) break;
            // The trail byte compares as it is, even when it has the code of a capital.
            x = static_cast<unsigned char>(a[i]);
            y = static_cast<unsigned char>(b[i]);
        } else {
            x = FoldAscii(x);
            y = FoldAscii(y);
        }
        if (x != y) return x < y ? -1 : 1;
        ++i;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c)) {
            ++i;  // leave the trail byte alone
        } else {
            out[i] = static_cast<char>(FoldAscii(c));
        }
    }
    return out;
}

// The trailing side walks forward: a blank right after a lead byte is that character's second
// byte, not white space.
std::string_view Trim(std::string_view s) {
    std::size_t begin = 0;
    while (begin < s.size() && IsBlank(s[begin])) ++begin;
    std::size_t end = begin;
    for (std::size_t i = begin; i < s.size();) {
        const std::size_t len = CharLength(s, i);
        if (len == 2 || !IsBlank(s[i])) end = i + len;
        i += len;
    }
    return s.substr(begin, end - begin);
}

std::size_t FindWhole(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (from > haystack.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    // Byte search finds the candidates; `boundary` walks the characters from the start and only
    // ever moves forward, so the whole search stays linear.
    std::size_t boundary = 0;
    for (std::size_t hit = haystack.find(needle, from); hit != std::string_view::npos;
         hit = haystack.find(needle, boundary)) {
        while (boundary < hit) boundary += CharLength(haystack, boundary);
        if (boundary == hit) return hit;
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view s, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = CharLength(s, i);
        if (len == 1 && s[i] == c) found = i;
        i += len;
    }
    return found;
}

std::string Extension(std::string_view name) {
    const std::size_t dot = FindLastChar(name, '.');
    return dot == std::string_view::npos ? std::string() : AsciiLower(name.substr(dot));
}

std::string_view AfterLastBackslash(std::string_view path) {
    const std::size_t slash = FindLastChar(path, '\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pelko::text
