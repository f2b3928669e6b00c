#pragma once
// Multibyte-aware rules for model strings (CP936/GB18030 bytes).
//
// A lead byte 0x81..0xFE takes the next byte with it as one character; a GB18030 four-byte
// sequence is thus two such units. Only single-byte letters A-Z/a-z fold; identity of names is
// plain byte equality (operator== on the strings).

#include <cstddef>
#include <string>
#include <string_view>

namespace pelko::text {

constexpr bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character that starts at s[i] (1 or 2; 1 for a lead byte at the end).
inline std::size_t CharLength(std::string_view s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Ordering without regard to case: single-byte letters compare as lower case, a double-byte
// character compares as a unit by its byte values. Returns <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);

// Lower-cases the single-byte letters A-Z only; trail bytes of double-byte characters stay.
std::string AsciiLower(std::string_view s);

// Removes spaces, tabs, CR and LF at both ends.
std::string_view Trim(std::string_view s);

// Position of the first occurrence of `needle` in `haystack` at or after `from` that starts on
// a character boundary, or npos. Byte-exact (case-sensitive). An empty needle is found at `from`.
std::size_t FindWhole(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// Position of the last single-byte character `c` (not a trail byte), or npos.
std::size_t FindLastChar(std::string_view s, char c);

// Extension of a file name: from its last "." to the end, lower-cased (ASCII only), dot
// included; empty when the name has no ".". "a.tar.GZ" gives ".gz".
std::string Extension(std::string_view name);

// Text after the last "\" (or the whole string when there is none).
std::string_view AfterLastBackslash(std::string_view path);

}  // namespace pelko::text
