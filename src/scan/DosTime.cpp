#include "scan/DosTime.h"

#include <chrono>

#include "platform/FileTime.h"

namespace pelko::scan {

std::uint64_t FileTimeFromDos(std::uint16_t date, std::uint16_t time) {
    const int year = 1980 + (date >> 9);
    const unsigned month = (date >> 5) & 0x0F;
    const unsigned day = date & 0x1F;
    const int hour = time >> 11;
    const int minute = (time >> 5) & 0x3F;
    const int second = (time & 0x1F) * 2;
    const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                          std::chrono::day{day}};
    if (!ymd.ok() || hour > 23 || minute > 59 || second > 59) return 0;
    const auto days = std::chrono::sys_days{ymd}.time_since_epoch().count();
    const std::int64_t seconds = static_cast<std::int64_t>(days) * 86400 + hour * 3600 + minute * 60 + second;
    return platform::FileTimeFromUnix(seconds, 0);
}

}  // namespace pelko::scan
