#pragma once
// SHA-256 of a byte string as 64 lower-case hex digits, to compare written files with the
// digests recorded for the shared fixtures.

#include <cstdint>
#include <span>
#include <string>

namespace pelko::test {

std::string Sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace pelko::test
