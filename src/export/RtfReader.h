#pragma once
// Our small RTF reader for logs loaded into the message pane. It keeps text, paragraph and line
// breaks, tabs, the colour of the text (\cf with the colour table), \'hh bytes (taken as CP936)
// and \uN characters (honouring \ucN fallbacks); every other control word is ignored and the
// content of ignorable or non-text destinations (font table, style sheet, pictures, \*...)
// is skipped.
//
// The input is outside bytes: any input gives a result, never a crash or unbounded work. Input
// that does not start with "{\rtf" is refused; unbalanced braces and truncated escapes at the
// end are tolerated as far as the text reaches; nesting deeper than kMaxRtfDepth is refused.

#include <string>
#include <string_view>

#include "export/RtfText.h"

namespace pelko::exporting {

inline constexpr int kMaxRtfDepth = 256;

struct RtfReadResult {
    bool ok = false;
    std::string error;  // why the input was refused (English, for logs and tests)
    RtfSpans spans;     // adjacent runs of one colour merged; empty when refused
};

RtfReadResult ReadRtf(std::string_view bytes);

}  // namespace pelko::exporting
