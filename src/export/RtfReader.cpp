#include "export/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "text/Codec.h"

namespace pelko::exporting {

namespace {

// Destinations whose content is not document text.
// clang-format off
constexpr std::array<std::string_view, 40> kSkippedDestinations = {
    "fonttbl", "stylesheet", "info", "pict", "object", "objdata", "header", "headerl", "headerr",
    "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable",
    "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping",
    "datastore", "latentstyles", "mmathPr", "revtbl", "filetbl", "annotation", "atnid", "atnauthor",
    "comment", "author", "title", "subject", "keywords", "doccomm", "operator", "nonshppict", "shpinst",
};
// clang-format on

constexpr int kMaxFallbackChars = 16;
constexpr std::size_t kNoColour = static_cast<std::size_t>(-1);

struct Group {
    std::size_t colour = 0;  // index into the colour table; 0 is the automatic colour
    int unicodeSkip = 1;     // \ucN: fallback characters after each \uN
    bool skip = false;       // inside a destination that holds no text
    bool colourTable = false;
};

class Parser {
public:
    explicit Parser(std::string_view in) : m_in(in) {}

    RtfReadResult Run() {
        RtfReadResult result;
        std::size_t start = 0;
        while (start < m_in.size() && IsBlank(m_in[start])) ++start;
        if (m_in.substr(start, 5) != "{\\rtf") {
            result.error = "not an RTF document (no {\\rtf at the start)";
            return result;
        }
        m_pos = start;
        while (m_pos < m_in.size() && !m_done && m_error.empty()) Step();
        FlushSurrogate();
        if (!m_error.empty()) {
            result.error = m_error;
            return result;
        }
        result.ok = true;
        result.spans = std::move(m_spans);
        return result;
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c) {
        if (IsDigit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    Group& Top() { return m_groups.back(); }

    void Step() {
        const char c = m_in[m_pos];
        if (c == '{') {
            ++m_pos;
            if (static_cast<int>(m_groups.size()) >= kMaxRtfDepth) {
                m_error = "groups nested deeper than " + std::to_string(kMaxRtfDepth);
                return;
            }
            m_groups.push_back(m_groups.empty() ? Group{}
                                                : Group{Top().colour, Top().unicodeSkip, Top().skip, false});
            m_firstInGroup = true;
            m_pendingFallback = 0;
            return;
        }
        if (c == '}') {
            ++m_pos;
            FlushSurrogate();
            if (!m_groups.empty()) {
                if (Top().colourTable) EndColourEntry(false);
                m_groups.pop_back();
            }
            if (m_groups.empty()) m_done = true;  // the document's own group ended
            m_pendingFallback = 0;
            m_firstInGroup = false;
            return;
        }
        if (m_groups.empty()) {  // bytes before the first group are blanks only (checked above)
            ++m_pos;
            return;
        }
        if (c == '\\') {
            ++m_pos;
            ControlSymbolOrWord();
            m_firstInGroup = false;
            return;
        }
        ++m_pos;
        m_firstInGroup = false;
        if (c == '\r' || c == '\n') return;
        if (Top().colourTable) {
            if (c == ';') EndColourEntry(true);
            return;
        }
        Text(c);
    }

    void ControlSymbolOrWord() {
        if (m_pos >= m_in.size()) return;
        const char c = m_in[m_pos];
        if (!IsLetter(c)) {
            ++m_pos;
            switch (c) {
                case '\\':
                case '{':
                case '}':
                    Text(c);
                    break;
                case '\'':
                    HexByte();
                    break;
                case '*':
                    Top().skip = true;
                    break;
                case '~':
                    Text(' ');
                    break;
                case '_':
                    Text('-');
                    break;
                case '\r':
                case '\n':
                    Text('\n');
                    break;
                default:
                    break;  // \-, \:, \| and unknown symbols carry no text
            }
            return;
        }
        const bool first = m_firstInGroup;
        const std::size_t wordStart = m_pos;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos]) && m_pos - wordStart < 32) ++m_pos;
        const std::string_view word = m_in.substr(wordStart, m_pos - wordStart);
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) ++m_pos;  // an over-long word is cut
        bool hasNumber = false;
        bool negative = false;
        std::int64_t number = 0;
        if (m_pos < m_in.size() && m_in[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
            hasNumber = true;
            if (number < 100'000'000'000) number = number * 10 + (m_in[m_pos] - '0');
            ++m_pos;
        }
        if (negative) number = -number;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos;
        Word(word, hasNumber, number, first);
    }

    void Word(std::string_view word, bool hasNumber, std::int64_t number, bool firstInGroup) {
        if (word == "bin") {  // binary data: skip it whatever the destination
            const std::size_t count = hasNumber && number > 0 ? static_cast<std::size_t>(number) : 0;
            m_pos += std::min(count, m_in.size() - m_pos);
            return;
        }
        if (firstInGroup && std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) !=
                                kSkippedDestinations.end()) {
            Top().skip = true;
            return;
        }
        if (word == "colortbl") {
            Top().colourTable = true;
            Top().skip = true;
            m_table.clear();
            m_entry = {};
            m_entryHasValue = false;
            return;
        }
        if (Top().colourTable) {
            const auto value = static_cast<std::uint8_t>(std::clamp<std::int64_t>(number, 0, 255));
            if (word == "red") m_entry.r = value;
            if (word == "green") m_entry.g = value;
            if (word == "blue") m_entry.b = value;
            m_entryHasValue = m_entryHasValue || word == "red" || word == "green" || word == "blue";
            return;
        }
        if (word == "uc") {
            Top().unicodeSkip = static_cast<int>(std::clamp<std::int64_t>(number, 0, kMaxFallbackChars));
            return;
        }
        if (word == "u") {
            if (!hasNumber) return;
            // A signed 16-bit value; anything outside that range names no character.
            Unicode(number < -32768 || number > 65535 ? std::uint16_t{0xFFFD}
                                                      : static_cast<std::uint16_t>(number & 0xFFFF));
            return;
        }
        if (Top().skip) return;
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            Text('\n');
        } else if (word == "tab" || word == "cell") {
            Text('\t');
        } else if (word == "cf") {
            // A negative index is outside the table like a too large one.
            Top().colour = !hasNumber ? 0 : number < 0 ? kNoColour : static_cast<std::size_t>(number);
        } else if (word == "plain") {
            Top().colour = 0;
        }
    }

    void EndColourEntry(bool terminated) {
        if (!terminated && !m_entryHasValue) return;
        // The first entry is usually empty: the automatic colour, shown black.
        m_table.push_back(m_entry);
        m_entry = {};
        m_entryHasValue = false;
    }

    void HexByte() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_in.size() && HexValue(m_in[m_pos]) >= 0) {
            value = value * 16 + HexValue(m_in[m_pos]);
            ++m_pos;
            ++digits;
        }
        if (digits == 0) return;
        if (Top().colourTable) return;
        if (m_pendingFallback > 0) {
            --m_pendingFallback;
            return;
        }
        FlushSurrogate();
        if (Top().skip) return;
        Emit(std::string(1, static_cast<char>(value)));
    }

    void Unicode(std::uint16_t unit) {
        m_pendingFallback = Top().unicodeSkip;
        if (Top().skip || Top().colourTable) return;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            FlushSurrogate();
            m_highSurrogate = unit;
            return;
        }
        char32_t point = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            point = m_highSurrogate != 0
                        ? 0x10000 + ((char32_t{m_highSurrogate} - 0xD800) << 10) + (unit - 0xDC00)
                        : char32_t{0xFFFD};
            m_highSurrogate = 0;
        } else {
            FlushSurrogate();
        }
        if (point == 0) point = 0xFFFD;  // a NUL would end the text for C-string readers
        Emit(text::FromUtf8(Utf8(point)));
    }

    // A high surrogate with no low one after it stands for a character that cannot be shown.
    void FlushSurrogate() {
        if (m_highSurrogate == 0) return;
        m_highSurrogate = 0;
        if (!m_groups.empty() && !Top().skip) Emit(text::FromUtf8(Utf8(0xFFFD)));
    }

    static std::string Utf8(char32_t p) {
        std::string s;
        if (p < 0x80) {
            s += static_cast<char>(p);
        } else if (p < 0x800) {
            s += static_cast<char>(0xC0 | (p >> 6));
            s += static_cast<char>(0x80 | (p & 0x3F));
        } else if (p < 0x10000) {
            s += static_cast<char>(0xE0 | (p >> 12));
            s += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (p & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (p >> 18));
            s += static_cast<char>(0x80 | ((p >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (p & 0x3F));
        }
        return s;
    }

    void Text(char c) {
        if (m_pendingFallback > 0) {
            --m_pendingFallback;
            return;
        }
        FlushSurrogate();
        if (Top().skip) return;
        Emit(std::string(1, c));
    }

    void Emit(const std::string& bytes) {
        const std::size_t index = Top().colour;
        const Rgb colour = index < m_table.size() ? m_table[index] : Rgb{};  // the automatic colour is black
        if (m_spans.empty() || m_spans.back().colour != colour) m_spans.push_back({std::string(), colour});
        m_spans.back().text += bytes;
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    std::vector<Group> m_groups;
    std::vector<Rgb> m_table;  // the colour table as read; \cfN takes entry N
    Rgb m_entry;
    bool m_entryHasValue = false;
    bool m_firstInGroup = false;
    bool m_done = false;
    int m_pendingFallback = 0;
    std::uint16_t m_highSurrogate = 0;
    RtfSpans m_spans;
    std::string m_error;
};

}  // namespace

RtfReadResult ReadRtf(std::string_view bytes) { return Parser(bytes).Run(); }

}  // namespace pelko::exporting
