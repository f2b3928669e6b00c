#pragma once
// Finds a byte string in a large block, faster than memmem for the short words people search
// for: sixteen positions at a time are tested for the word's first and last byte together, and
// only where both agree are the bytes between compared. Text in double-byte encodings repeats
// its lead bytes constantly, so a search that stops at every first byte, as memmem's do, stops
// far more often than one that also needs the last byte in its place.

#include <cstddef>
#include <string_view>

namespace pelko::search {

// The first position at or after `from` where `needle` occurs in `block`, or npos. An empty
// needle occurs at `from` (when from <= block.size()).
std::size_t FindInBlock(std::string_view block, std::string_view needle, std::size_t from = 0);

}  // namespace pelko::search
