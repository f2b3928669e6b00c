#pragma once
// Windows FILETIME values: 100-nanosecond intervals since 1601-01-01 UTC, the time unit of the
// catalog's file records.

#include <cstdint>

namespace pelko::platform {

constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000LL;  // 1970-01-01 as a FILETIME

constexpr std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
    const std::int64_t ticks = seconds * 10'000'000LL + nanoseconds / 100 + kFileTimeUnixEpoch;
    return ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks);
}

}  // namespace pelko::platform
