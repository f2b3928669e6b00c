#pragma once
// Our small RTF writer for the message pane's saved logs: one font, a colour table of the
// colours used, 9-point text, one \par per line end. Bytes of CP936 characters are written as
// \'hh (the document declares code page 936); the GB18030 four-byte characters CP936 lacks as
// \uN with a "?" fallback, so every character survives a round trip through our reader and
// opens in other word processors.

#include <iosfwd>
#include <string>

#include "export/RtfText.h"

namespace pelko::exporting {

void WriteRtf(std::ostream& out, const RtfSpans& spans);
std::string WriteRtf(const RtfSpans& spans);

}  // namespace pelko::exporting
