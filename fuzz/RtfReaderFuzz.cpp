// Reads outside bytes as an RTF document. A refused input carries a reason and no text; an
// accepted one must come back unchanged through our writer and reader, so a log saved by the
// pane loads as it was.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "export/RtfReader.h"
#include "export/RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelko::exporting;
    const RtfReadResult read = ReadRtf({reinterpret_cast<const char*>(data), size});
    if (!read.ok) {
        if (read.error.empty() || !read.spans.empty()) __builtin_trap();
        return 0;
    }
    for (const RtfSpan& span : read.spans) {
        if (span.text.empty()) __builtin_trap();
    }
    const RtfReadResult again = ReadRtf(WriteRtf(read.spans));
    if (!again.ok || again.spans != read.spans) __builtin_trap();
    return 0;
}
