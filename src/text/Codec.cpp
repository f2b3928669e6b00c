#include "text/Codec.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/MbString.h"

namespace pelko::text {

namespace {

constexpr std::string_view kReplacementGb18030 = "\x84\x31\xA4\x37";  // U+FFFD in model bytes
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv descriptor, opened on first use and closed with its owner.
class Converter {
public:
    Converter(const char* to, const char* from) : m_to(to), m_from(from) {}
    ~Converter() {
        if (m_open) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t Get() {
        if (!m_open) {
            m_cd = iconv_open(m_to, m_from);
            if (m_cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
                // Without glibc's gconv modules no text can be converted faithfully; recording
                // names with made-up bytes would corrupt catalogs, so stop here.
                std::fprintf(stderr, "pelko: iconv cannot convert %s to %s (gconv modules missing?)\n",
                             m_from, m_to);
                std::abort();
            }
            m_open = true;
        }
        return m_cd;
    }

private:
    const char* m_to;
    const char* m_from;
    iconv_t m_cd{};
    bool m_open = false;
};

// iconv descriptors keep conversion state and must not be shared between threads, so every
// thread has its own set, closed when the thread ends.
struct Converters {
    Converter utf8ToCp936{"CP936", "UTF-8"};
    Converter utf8ToGb18030{"GB18030", "UTF-8"};
    Converter utf16ToCp936{"CP936", kUtf16Native};
    Converter utf16ToGb18030{"GB18030", kUtf16Native};
    Converter cp936ToUtf8{"UTF-8", "CP936"};
    Converter gb18030ToUtf8{"UTF-8", "GB18030"};
};

Converters& ThreadConverters() {
    thread_local Converters converters;
    return converters;
}

// The result string, written in place by iconv and cut to length at the end.
class Output {
public:
    explicit Output(std::size_t expected) { m_buf.resize(std::max<std::size_t>(expected, 16)); }

    // Makes room for at least n more bytes.
    void Reserve(std::size_t n) {
        if (Room() < n) m_buf.resize(std::max(m_buf.size() * 2, m_used + n));
    }
    char* Tail() { return m_buf.data() + m_used; }
    std::size_t Room() const { return m_buf.size() - m_used; }
    void Advance(std::size_t n) { m_used += n; }

    void Append(std::string_view s) {
        Reserve(s.size());
        std::memcpy(Tail(), s.data(), s.size());
        m_used += s.size();
    }

    template <typename Unit>
    void AppendAscii(std::basic_string_view<Unit> s) {
        Reserve(s.size());
        std::transform(s.begin(), s.end(), Tail(), [](Unit u) { return static_cast<char>(u); });
        m_used += s.size();
    }

    std::string Take() && {
        m_buf.resize(m_used);
        return std::move(m_buf);
    }

private:
    std::string m_buf;
    std::size_t m_used = 0;
};

void Reset(iconv_t cd) { iconv(cd, nullptr, nullptr, nullptr, nullptr); }

// Converts [in, in + left) with one iconv call (more only when the output must grow). Stops at
// the first sequence the converter rejects; `in` and `left` then describe what remains.
void ConvertRun(iconv_t cd, const char*& in, std::size_t& left, Output& out) {
    while (left > 0) {
        out.Reserve(left);
        char* src = const_cast<char*>(in);
        char* dst = out.Tail();
        std::size_t room = out.Room();
        const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.Advance(static_cast<std::size_t>(dst - out.Tail()));
        in = src;
        if (rc != static_cast<std::size_t>(-1)) return;
        if (errno != E2BIG) return;  // EILSEQ or EINVAL: the caller handles this character
        out.Reserve(out.Room() + 16);
    }
}

// Converts exactly one character; false (and nothing written) when the converter rejects it.
bool ConvertOne(iconv_t cd, const char* in, std::size_t size, Output& out) {
    Reset(cd);
    char buf[16];
    char* src = const_cast<char*>(in);
    std::size_t left = size;
    char* dst = buf;
    std::size_t room = sizeof buf;
    if (iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) || left != 0) return false;
    out.Append(std::string_view(buf, static_cast<std::size_t>(dst - buf)));
    return true;
}

// Length of the leading run of ASCII units.
std::size_t AsciiPrefix(std::string_view s) {
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080u) break;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

std::size_t AsciiPrefix(std::u16string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] < 0x80) ++i;
    return i;
}

// One Unicode scalar value of the input (or one ill-formed piece of it) and its length in units.
struct Scalar {
    std::size_t length;
    bool valid;
};

// The well-formed UTF-8 character at s[i], or the maximal ill-formed subpart there, so that
// each broken piece becomes exactly one U+FFFD.
Scalar ScalarAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {1, true};
    std::size_t trailing = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        trailing = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        trailing = 2;
        if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
        if (b0 == 0xED) hi = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        trailing = 3;
        if (b0 == 0xF0) lo = 0x90;  // no overlong forms
        if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return {1, false};
    }
    std::size_t length = 1;
    for (std::size_t k = 0; k < trailing; ++k, ++length) {
        if (i + length >= s.size()) return {length, false};
        const auto b = static_cast<unsigned char>(s[i + length]);
        if (b < lo || b > hi) return {length, false};
        lo = 0x80;
        hi = 0xBF;
    }
    return {length, true};
}

constexpr bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

Scalar ScalarAt(std::u16string_view s, std::size_t i) {
    if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) return {2, true};
    return {1, !IsHighSurrogate(s[i]) && !IsLowSurrogate(s[i])};  // an unpaired surrogate is ill-formed
}

// glibc's CP936 converter silently drops the tag characters U+E0000..U+E007F (used by flag
// emoji) instead of reporting them, so a CP936 run has to end before each one; GB18030 then
// encodes it like any other character CP936 lacks.
std::size_t FindTagCharacter(std::string_view s, std::size_t from) {
    for (std::size_t i = s.find("\xF3\xA0", from); i != std::string_view::npos;
         i = s.find("\xF3\xA0", i + 1)) {
        if (i + 2 < s.size() && (s[i + 2] == '\x80' || s[i + 2] == '\x81')) return i;
    }
    return s.size();
}

std::size_t FindTagCharacter(std::u16string_view s, std::size_t from) {
    constexpr char16_t kTagHigh = 0xDB40;
    for (std::size_t i = s.find(kTagHigh, from); i != std::u16string_view::npos;
         i = s.find(kTagHigh, i + 1)) {
        if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDC7F) return i;
    }
    return s.size();
}

// Start of the character that contains in[i] (i is inside a run, well past its start), so that
// a run cut at a length limit never splits a character.
std::size_t CharacterStart(std::string_view in, std::size_t i) {
    for (int k = 0; k < 3 && (static_cast<unsigned char>(in[i]) & 0xC0) == 0x80; ++k) --i;
    return i;
}

std::size_t CharacterStart(std::u16string_view in, std::size_t i) {
    return IsLowSurrogate(in[i]) && IsHighSurrogate(in[i - 1]) ? i - 1 : i;
}

// Unicode to model bytes: runs go through CP936 in one call each; where CP936 stops, the one
// character there is taken by GB18030, or becomes U+FFFD when it is ill-formed or GB18030 also
// rejects it, and the next CP936 run starts after it.
//
// glibc converts ahead into its internal form before CP936 sees the text, and when CP936 then
// rejects a character it converts again up to that point, so a failing call costs time in
// proportion to all the input it was given. The first run is the whole input (one call when
// nothing fails); after a failure runs restart at kShortRun units and double while they convert
// cleanly, which keeps text full of characters CP936 lacks linear instead of quadratic.
template <typename Unit>
std::string Encode(std::basic_string_view<Unit> in, Converter Converters::*primary,
                   Converter Converters::*fallback) {
    constexpr std::size_t kShortRun = 256;  // longer than most file names
    std::size_t pos = AsciiPrefix(in);
    if (pos == in.size()) {
        if constexpr (sizeof(Unit) == 1) {
            return std::string(in);
        } else {
            std::string ascii(in.size(), '\0');
            std::transform(in.begin(), in.end(), ascii.begin(), [](Unit u) { return static_cast<char>(u); });
            return ascii;
        }
    }
    Output out(in.size() * sizeof(Unit));
    out.AppendAscii(in.substr(0, pos));
    Converters& converters = ThreadConverters();
    iconv_t cd = (converters.*primary).Get();
    Reset(cd);
    std::size_t nextTag = FindTagCharacter(in, pos);
    std::size_t runLimit = in.size();
    while (pos < in.size()) {
        if (nextTag < pos) nextTag = FindTagCharacter(in, pos);
        std::size_t runEnd = nextTag;
        if (runEnd - pos > runLimit) runEnd = CharacterStart(in, pos + runLimit);
        const char* src = reinterpret_cast<const char*>(in.data() + pos);
        const std::size_t runBytes = (runEnd - pos) * sizeof(Unit);
        std::size_t left = runBytes;
        ConvertRun(cd, src, left, out);
        pos += (runBytes - left) / sizeof(Unit);
        if (pos == runEnd && runEnd != nextTag) {
            runLimit = std::min(runLimit * 2, in.size());
            continue;
        }
        if (pos == in.size()) break;

        const Scalar c = ScalarAt(in, pos);
        if (!c.valid ||
            !ConvertOne((converters.*fallback).Get(), reinterpret_cast<const char*>(in.data() + pos),
                        c.length * sizeof(Unit), out)) {
            out.Append(kReplacementGb18030);
        }
        pos += c.length;
        runLimit = kShortRun;
    }
    return std::move(out).Take();
}

constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Decodes the character at s[i] that CP936 rejected and returns the bytes it takes. GB18030
// reads its four-byte forms (lead, digit, lead, digit) and the double-byte codes GBK leaves
// unassigned. What neither reads becomes U+FFFD; a lead byte followed by a byte that cannot
// continue it gives U+FFFD for the lead alone when that byte is ASCII (it is read again as
// itself), for both bytes otherwise.
std::size_t DecodeOne(std::string_view s, std::size_t i, iconv_t gb18030, Output& out) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const std::size_t left = s.size() - i;
    if (!IsLeadByte(at(0)) || left < 2) {
        out.Append(kReplacementUtf8);
        return 1;
    }
    if (IsDigit(at(1))) {
        if (left >= 4 && IsLeadByte(at(2)) && IsDigit(at(3))) {
            if (!ConvertOne(gb18030, s.data() + i, 4, out)) out.Append(kReplacementUtf8);
            return 4;
        }
        out.Append(kReplacementUtf8);
        return 1;
    }
    if (ConvertOne(gb18030, s.data() + i, 2, out)) return 2;
    out.Append(kReplacementUtf8);
    return at(1) < 0x80 ? 1 : 2;
}

}  // namespace

std::string ToUtf8(std::string_view local) {
    std::size_t pos = AsciiPrefix(local);
    if (pos == local.size()) return std::string(local);
    // A double-byte character takes three bytes in UTF-8.
    Output out(pos + (local.size() - pos) * 3 / 2 + 4);
    out.Append(local.substr(0, pos));
    Converters& converters = ThreadConverters();
    iconv_t cd = converters.cp936ToUtf8.Get();
    Reset(cd);
    while (pos < local.size()) {
        const char* src = local.data() + pos;
        std::size_t left = local.size() - pos;
        ConvertRun(cd, src, left, out);
        pos = local.size() - left;
        if (pos == local.size()) break;
        pos += DecodeOne(local, pos, converters.gb18030ToUtf8.Get(), out);
    }
    return std::move(out).Take();
}

std::string FromUtf8(std::string_view utf8) {
    return Encode(utf8, &Converters::utf8ToCp936, &Converters::utf8ToGb18030);
}

std::string FromUtf16(std::u16string_view utf16) {
    return Encode(utf16, &Converters::utf16ToCp936, &Converters::utf16ToGb18030);
}

}  // namespace pelko::text
