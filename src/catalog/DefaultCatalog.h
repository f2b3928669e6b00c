#pragma once
// The catalog a first start begins with: six categories of four sub-categories each, no
// entries, an empty history. Kept in the old headerless form, exactly as it is written to
// "tnk.dat" on a first start (811 bytes).

#include <cstdint>
#include <vector>

namespace pelko::catalog {

std::vector<std::uint8_t> DefaultCatalogBytes();

}  // namespace pelko::catalog
