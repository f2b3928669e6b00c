#pragma once
// Writing a whole buffer to a file descriptor.

#include <cstdint>
#include <span>
#include <string_view>

namespace pelko::platform {

// Writes every byte, resuming after interruptions and short writes. False on an error, or when
// the descriptor accepts nothing (a write of 0 bytes would otherwise repeat for ever); errno
// then tells why (EIO for a write that made no progress).
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);
bool WriteAll(int fd, std::string_view bytes);

}  // namespace pelko::platform
