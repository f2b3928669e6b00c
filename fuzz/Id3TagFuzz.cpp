// Feeds arbitrary bytes to the ID3v1 memo reader with every field chosen. The memo can never
// be longer than the tag's text fields, the genre name and the separators.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "scan/ByteSource.h"
#include "scan/Mp3Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelko::scan::MemoryByteSource source({data, size});
    const std::uint8_t fields = size > 0 ? static_cast<std::uint8_t>(data[0] & 0x3F) : 0x3F;
    const std::string memo = pelko::scan::ReadMp3Memo(source, pelko::scan::Mp3Options(fields, '+'));
    if (memo.size() > 30 * 4 + 4 + 32 + 5) std::abort();
    if (size < pelko::scan::kId3v1Bytes && !memo.empty()) std::abort();
    return 0;
}
