#include "cli/TerminalWidth.h"

#include <sys/ioctl.h>

#include <cstdint>
#include <vector>

namespace pelko::cli {

namespace {

constexpr std::string_view kEllipsis = "...";
constexpr int kDefaultColumns = 80;

struct Character {
    std::size_t offset;
    std::size_t length;
    int columns;
};

int ColumnsOf(char32_t c) {
    if (c == 0x200B || c == 0x200C || c == 0x200D || c == 0xFEFF) return 0;  // zero-width
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x20D0 && c <= 0x20FF) ||
        (c >= 0xFE20 && c <= 0xFE2F))
        return 0;  // combining marks
    const bool wide = (c >= 0x1100 && c <= 0x115F) ||                       // Hangul Jamo
                      (c >= 0x2E80 && c <= 0x303E) ||                       // CJK radicals .. symbols
                      (c >= 0x3041 && c <= 0x33FF) ||                       // kana .. CJK compatibility
                      (c >= 0x3400 && c <= 0x4DBF) ||                       // CJK extension A
                      (c >= 0x4E00 && c <= 0x9FFF) ||                       // CJK unified
                      (c >= 0xA000 && c <= 0xA4CF) ||                       // Yi
                      (c >= 0xAC00 && c <= 0xD7A3) ||                       // Hangul syllables
                      (c >= 0xF900 && c <= 0xFAFF) ||                       // CJK compatibility
                      (c >= 0xFE30 && c <= 0xFE4F) ||                       // CJK compatibility forms
                      (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||  // full width
                      (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF) ||  // emoji
                      (c >= 0x20000 && c <= 0x3FFFD);                       // CJK extensions B..
    return wide ? 2 : 1;
}

// The characters of `utf8` with their columns; an invalid byte stands alone.
std::vector<Character> Characters(std::string_view utf8) {
    std::vector<Character> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        if (lead < 0x80) length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF) length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back({i, 1, 1});
            ++i;
            continue;
        }
        out.push_back({i, length, ColumnsOf(c)});
        i += length;
    }
    return out;
}

}  // namespace

int DisplayColumns(std::string_view utf8) {
    int columns = 0;
    for (const Character& c : Characters(utf8)) columns += c.columns;
    return columns;
}

std::string ShortenMiddle(std::string_view utf8, int columns) {
    if (columns <= 0) return {};
    const std::vector<Character> chars = Characters(utf8);
    int total = 0;
    for (const Character& c : chars) total += c.columns;
    if (total <= columns) return std::string(utf8);
    const int ellipsis = static_cast<int>(kEllipsis.size());
    if (columns <= ellipsis) return std::string(kEllipsis.substr(0, static_cast<std::size_t>(columns)));

    // The end tells which file or folder it is, the start where it lies: the end gets the odd column.
    const int room = columns - ellipsis;
    const int headRoom = room / 2;
    const int tailRoom = room - headRoom;
    std::size_t headEnd = 0;  // characters [0, headEnd)
    for (int used = 0; headEnd < chars.size() && used + chars[headEnd].columns <= headRoom; ++headEnd)
        used += chars[headEnd].columns;
    std::size_t tailStart = chars.size();  // characters [tailStart, size)
    for (int used = 0; tailStart > headEnd && used + chars[tailStart - 1].columns <= tailRoom; --tailStart)
        used += chars[tailStart - 1].columns;
    const std::size_t headBytes = headEnd == 0 ? 0 : chars[headEnd - 1].offset + chars[headEnd - 1].length;
    const std::size_t tailByte = tailStart == chars.size() ? utf8.size() : chars[tailStart].offset;
    std::string out(utf8.substr(0, headBytes));
    out += kEllipsis;
    out += utf8.substr(tailByte);
    return out;
}

int TerminalColumns(int fd) {
    struct winsize size {};
    if (::ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
    return size.ws_col;
}

}  // namespace pelko::cli
