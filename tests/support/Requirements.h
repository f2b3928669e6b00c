#pragma once
// What a test needs from the machine beyond the checkout: the shared fixtures folder beside it,
// a program on PATH, a service of the system (udev, say). Where a need is not met the test skips
// and says why, except under CI (the CI variable set): CI installs every tool the tests use
// (scripts/install-deps.sh) and lays the fixtures beside the checkout, so there a missing one is
// a broken setup, and the test fails instead of passing quietly as a skip.
//
//     REQUIRE_FIXTURES();
//     REQUIRE_TOOL("genisoimage");
//     REQUIRE_MACHINE(watcher != nullptr, "udev cannot be listened to");
//
// Like GTEST_SKIP, both return from the function they are in: use them in a test body or in
// SetUp, not in a helper whose caller would carry on. Ask only in the tests that need the thing,
// so that the others run wherever they are built.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::test {

// True when the CI variable is set to anything but "", "0" or "false".
bool UnderCi();

// The shared fixtures folder: $PELKO_SHARED_FIXTURES when set and not empty (a checkout in
// another place, or a test of what happens without them), else the one beside the checkout.
std::filesystem::path SharedFixtures();

// Why a need is not met, or nothing when it is.
std::optional<std::string> FixturesMissing();
std::optional<std::string> ToolMissing(std::string_view program);

}  // namespace pelko::test

// The switch keeps an `else` after the macro from binding to the macro's own `if`.
#define PELKO_REQUIRE_(missing)                                                                 \
    switch (0)                                                                                  \
    case 0:                                                                                     \
    default:                                                                                    \
        if (const std::optional<std::string> pelko_missing_ = (missing); !pelko_missing_) {     \
        } else if (::pelko::test::UnderCi())                                                    \
            GTEST_FAIL() << *pelko_missing_ << " (CI is set: what a test needs must be there)"; \
        else                                                                                    \
            GTEST_SKIP() << *pelko_missing_

#define REQUIRE_FIXTURES() PELKO_REQUIRE_(::pelko::test::FixturesMissing())
#define REQUIRE_TOOL(program) PELKO_REQUIRE_(::pelko::test::ToolMissing(program))
#define REQUIRE_MACHINE(available, reason) \
    PELKO_REQUIRE_((available) ? std::nullopt : std::optional<std::string>(reason))
