#pragma once
// Coloured text as the message pane keeps it and as our RTF writer and reader exchange it.

#include <cstdint>
#include <string>
#include <vector>

namespace pelko::exporting {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A run of text in one colour. `text` is in model bytes (GBK/GB18030); "\n" ends a paragraph.
struct RtfSpan {
    std::string text;
    Rgb colour;
    friend bool operator==(const RtfSpan&, const RtfSpan&) = default;
};

using RtfSpans = std::vector<RtfSpan>;

// The spans' texts joined, colours dropped.
std::string PlainText(const RtfSpans& spans);

}  // namespace pelko::exporting
