// Reads a catalog file from memory the way loading does: with the header, and without it when
// the header is missing; then writes it back.
#include <cstddef>
#include <cstdint>

#include "catalog/CPelkoDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelko::catalog;
    CRootCategory root;
    CFindHistory history;
    CatalogRead result = ReadCatalogBytes({data, size}, true, root, history);
    if (result == CatalogRead::BadHeader) {
        CRootCategory headerless;
        result = ReadCatalogBytes({data, size}, false, headerless, history);
        if (result == CatalogRead::Ok) CatalogBytes(headerless, history);
        return 0;
    }
    if (result == CatalogRead::Ok) CatalogBytes(root, history);
    return 0;
}
