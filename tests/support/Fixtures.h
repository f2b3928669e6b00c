#pragma once
// Real-world sample files made by other tools live outside the project; tests that use them
// skip with a clear reason when the folder is absent.

#include <gtest/gtest.h>

#include <filesystem>

namespace pelko::test {

inline std::filesystem::path SharedFixture(std::string_view relative) {
    return std::filesystem::path(PELKO_SHARED_FIXTURES) / relative;
}

#define PELKO_REQUIRE_FIXTURE(path)                                                    \
    do {                                                                               \
        if (!std::filesystem::exists(path)) GTEST_SKIP() << "fixture missing: " << (path); \
    } while (0)

}  // namespace pelko::test
