// Feeds arbitrary bytes to the image-list reader. Besides crashes and sanitizer reports it
// checks two properties: the reader never consumes more than the input, and an icon it
// returns survives a write and a second read unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "catalog/CArchive.h"
#include "catalog/ImageList.h"

using pelko::catalog::ArchiveError;
using pelko::catalog::CArchive;
using pelko::catalog::IconImage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CArchive ar(std::span<const std::uint8_t>(data, size));
    IconImage icon;
    try {
        icon = pelko::catalog::ReadImageList(ar);
    } catch (const ArchiveError&) {
        return 0;
    }
    if (ar.Position() > size) std::abort();

    std::vector<std::uint8_t> written;
    {
        CArchive out(written, pelko::catalog::CArchive::Mode::Store);
        pelko::catalog::WriteImageList(out, icon);
    }
    CArchive again{std::span<const std::uint8_t>(written)};
    if (!(pelko::catalog::ReadImageList(again) == icon) || again.RemainingBound() != 0) std::abort();
    return 0;
}
