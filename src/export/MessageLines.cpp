#include "export/MessageLines.h"

#include <cstdio>

#include "catalog/CCategory.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::exporting {

using catalog::MessageKind;

std::string PlainText(const RtfSpans& spans) {
    std::string out;
    for (const RtfSpan& span : spans) out += span.text;
    return out;
}

std::string MessageLimitWarning() { return text::Local("警告：提示信息超过65535行，请清除无用的信息"); }

Rgb MessageColour(MessageKind kind) {
    switch (kind) {
        case MessageKind::Hint:
        case MessageKind::Warning:
        case MessageKind::Detail:
            return {0, 0, 255};
        case MessageKind::Error:
            return {255, 0, 0};
        case MessageKind::TimeStamp:
            return {150, 150, 150};
        case MessageKind::Result:
            return {0, 0, 0};
    }
    return {0, 0, 0};
}

std::string TimeStampText(const std::tm& local) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%d-%d-%d %d:%d:%d\r\n", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string(stamp) + std::string(56, '^');
}

std::string MessageLine(MessageKind kind, std::string_view text, const std::tm& now) {
    if (kind == MessageKind::TimeStamp) return TimeStampText(now);
    std::string line = catalog::MessagePrefix(kind);
    line += text;
    return line;
}

namespace {

// Position of the first "\" that is a character of its own (never a GBK trail byte), or npos.
std::size_t FindBackslash(std::string_view s, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += text::CharLength(s, i)) {
        if (s[i] == '\\') return i;
    }
    return std::string_view::npos;
}

}  // namespace

bool NamesCatalogItem(std::string_view line, std::string_view rootName) {
    if (rootName.empty()) return false;
    const std::size_t end = FindBackslash(line, 0);
    const std::string_view first = text::Trim(line.substr(0, end));
    return text::CompareNoCase(first, text::Trim(rootName)) == 0;
}

std::optional<ByteSpan> FindScanObjectName(std::string_view line, const catalog::CCategory& root) {
    static constexpr std::string_view kRootMark = "Pelko\\";
    line = line.substr(0, kHighlightLineBytes);
    const std::size_t mark = text::FindWhole(line, kRootMark);
    if (mark == std::string_view::npos) return std::nullopt;
    const catalog::CCategory* current = &root;
    std::size_t start = mark + kRootMark.size();
    while (start <= line.size()) {
        std::size_t end = FindBackslash(line, start);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view part = line.substr(start, end - start);
        if (const catalog::CCategory* sub = current->FindSubcategory(part)) {
            current = sub;
        } else if (current->HasEntry(part)) {
            return ByteSpan{start, part.size()};
        }
        start = end + 1;
    }
    return std::nullopt;
}

namespace {

// The file name comes from the file dialog in UTF-8, so every byte is folded on its own (the
// model strings' multibyte rule would pair UTF-8 bytes wrongly).
bool HoldsNoCase(std::string_view fileName, std::string_view lowerNeedle) {
    std::string lower(fileName);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find(lowerNeedle) != std::string::npos;
}

}  // namespace

PaneFileKind SaveKindFor(std::string_view fileName) {
    return HoldsNoCase(fileName, ".txt") ? PaneFileKind::PlainText : PaneFileKind::Rtf;
}

PaneFileKind LoadKindFor(std::string_view fileName) {
    if (HoldsNoCase(fileName, ".txt")) return PaneFileKind::PlainText;
    if (HoldsNoCase(fileName, ".rtf")) return PaneFileKind::Rtf;
    return PaneFileKind::Nothing;
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string FromCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace pelko::exporting
