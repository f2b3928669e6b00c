// Reads a whole disc record from memory, as opening a disc file does after the signature check.
#include <cstddef>
#include <cstdint>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelko::catalog;
    try {
        CCD cd;
        CArchive ar({data, size});
        cd.Serialize(ar);
        cd.RecomputeTotals();
        // Writing back what was read must work for anything that could be read.
        std::vector<std::uint8_t> out;
        CArchive store(out, CArchive::Mode::Store);
        cd.Serialize(store);
    } catch (const ArchiveError&) {
    }
    return 0;
}
