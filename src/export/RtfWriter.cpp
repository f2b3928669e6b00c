#include "export/RtfWriter.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <vector>

#include "text/Codec.h"

namespace pelko::exporting {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void WriteByteEscape(std::ostream& out, unsigned char byte) {
    out << "\\'" << kHex[byte >> 4] << kHex[byte & 0xF];
}

// Code points of a UTF-8 string that came from our codec (always well formed).
std::vector<char32_t> CodePoints(std::string_view utf8) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        points.push_back(point);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return points;
}

// \uN takes a signed 16-bit number; characters beyond the BMP go as a surrogate pair.
void WriteUnicode(std::ostream& out, char32_t point) {
    auto unit = [&](std::uint32_t u) {
        out << "\\u" << static_cast<std::int16_t>(static_cast<std::uint16_t>(u)) << '?';
    };
    if (point > 0xFFFF) {
        const std::uint32_t v = point - 0x10000;
        unit(0xD800 + (v >> 10));
        unit(0xDC00 + (v & 0x3FF));
    } else {
        unit(point);
    }
}

bool IsFourByteStart(std::string_view s, std::size_t i) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    return i + 3 < s.size() && at(i) >= 0x81 && at(i) <= 0xFE && at(i + 1) >= 0x30 && at(i + 1) <= 0x39 &&
           at(i + 2) >= 0x81 && at(i + 2) <= 0xFE && at(i + 3) >= 0x30 && at(i + 3) <= 0x39;
}

void WriteText(std::ostream& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsFourByteStart(text, i)) {
            // Only a sequence that names a character and comes back as the same bytes goes as
            // \uN; any other is kept byte for byte.
            const std::string_view sequence = text.substr(i, 4);
            const std::string utf8 = text::ToUtf8(sequence);
            if (text::FromUtf8(utf8) == sequence) {
                for (const char32_t point : CodePoints(utf8)) WriteUnicode(out, point);
            } else {
                for (const char byte : sequence) WriteByteEscape(out, static_cast<unsigned char>(byte));
            }
            i += 4;
            continue;
        }
        if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {
            WriteByteEscape(out, c);
            WriteByteEscape(out, static_cast<unsigned char>(text[i + 1]));
            i += 2;
            continue;
        }
        switch (c) {
            case '\n':
                out << "\\par\r\n";
                break;
            case '\t':
                out << "\\tab ";
                break;
            case '\\':
            case '{':
            case '}':
                out << '\\' << static_cast<char>(c);
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    WriteByteEscape(out, c);
                } else {
                    out << static_cast<char>(c);
                }
        }
        ++i;
    }
}

}  // namespace

void WriteRtf(std::ostream& out, const RtfSpans& spans) {
    // Index 0 of the colour table is the automatic colour; ours start at 1.
    std::vector<Rgb> colours;
    for (const RtfSpan& span : spans) {
        if (std::find(colours.begin(), colours.end(), span.colour) == colours.end())
            colours.push_back(span.colour);
    }
    out << "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\r\n";
    out << "{\\colortbl ;";
    for (const Rgb& c : colours)
        out << "\\red" << int{c.r} << "\\green" << int{c.g} << "\\blue" << int{c.b} << ';';
    out << "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs18";
    std::size_t current = 0;
    for (const RtfSpan& span : spans) {
        if (span.text.empty()) continue;
        const std::size_t index =
            static_cast<std::size_t>(std::find(colours.begin(), colours.end(), span.colour) -
                                     colours.begin()) +
            1;
        if (index != current) {
            out << "\\cf" << index << ' ';
            current = index;
        }
        WriteText(out, span.text);
    }
    out << "}\r\n";
}

std::string WriteRtf(const RtfSpans& spans) {
    std::ostringstream out;
    WriteRtf(out, spans);
    return out.str();
}

}  // namespace pelko::exporting
