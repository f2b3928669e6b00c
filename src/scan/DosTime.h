#pragma once
// MS-DOS date and time, as ZIP and RAR headers keep them: date bits 9-15 year - 1980, 5-8
// month, 0-4 day; time bits 11-15 hour, 5-10 minute, 0-4 seconds / 2. The fields are a
// calendar value without a time zone; they become the FILETIME of that calendar value.

#include <cstdint>

namespace pelko::scan {

// 0 when a field is out of its range (month 0 or 13, day 0, hour 24 …), as a reader of
// damaged headers gets no usable time from them.
std::uint64_t FileTimeFromDos(std::uint16_t date, std::uint16_t time);

}  // namespace pelko::scan
