#pragma once
// Shared helpers of the scan extras tests: fixture files, record rendering, a progress that
// cancels on cue.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>

#include "catalog/CDir.h"
#include "platform/FileTime.h"
#include "scan/CScanProgress.h"
#include "support/Requirements.h"

namespace pelko::scan::test {

// The bytes of a shared fixture, or nullopt when it cannot be read. A test that reads fixtures
// starts with REQUIRE_FIXTURES().
inline std::optional<std::string> Fixture(const std::string& relative) {
    std::ifstream in(pelko::test::SharedFixtures() / relative, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

inline std::string CalendarText(std::uint64_t fileTime) {
    using namespace std::chrono;
    const std::int64_t seconds =
        (static_cast<std::int64_t>(fileTime) - platform::kFileTimeUnixEpoch) / 10'000'000;
    const sys_seconds at{std::chrono::seconds{seconds}};
    const auto day = floor<days>(at);
    const year_month_day ymd{day};
    const hh_mm_ss hms{at - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<long>(hms.hours().count()), static_cast<long>(hms.minutes().count()),
                  static_cast<long>(hms.seconds().count()));
    return text;
}

// "memo|name|size|time" per file record, in the folder's order.
inline std::vector<std::string> Rendered(const catalog::CDir& dir) {
    std::vector<std::string> out;
    for (const auto& f : dir.Files())
        out.push_back(f->m_strMemo.str() + "|" + f->m_strName.str() + "|" + std::to_string(f->Size()) + "|" +
                      CalendarText(f->m_ftTime));
    return out;
}

class CancelAfter final : public CScanProgress {
public:
    explicit CancelAfter(int polls) : m_limit(polls) {}
    bool IsCancelled() override { return ++polls > m_limit; }
    void ShowFolderPath(std::string_view) override {}
    int polls = 0;

private:
    int m_limit;
};

}  // namespace pelko::scan::test
