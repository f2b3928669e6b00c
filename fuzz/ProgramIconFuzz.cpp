// Feeds arbitrary bytes to the icon extractor for programs. An icon it returns must hold only
// shown pixels (alpha 0xFF) and hidden black ones (0).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "scan/ByteSource.h"
#include "scan/ProgramIcon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelko::scan::MemoryByteSource source({data, size});
    const auto icon = pelko::scan::ExtractProgramIcon(source);
    if (!icon) return 0;
    for (const std::uint32_t pixel : icon->pixels)
        if (pixel != 0 && (pixel >> 24) != 0xFF) std::abort();
    return 0;
}
