#include "support/Requirements.h"

#include <unistd.h>

#include <cstdlib>

namespace pelko::test {

bool UnderCi() {
    const char* ci = std::getenv("CI");
    if (ci == nullptr) return false;
    const std::string_view value(ci);
    return !value.empty() && value != "0" && value != "false";
}

std::filesystem::path SharedFixtures() {
    if (const char* folder = std::getenv("PELKO_SHARED_FIXTURES"); folder && *folder) return folder;
    return PELKO_SHARED_FIXTURES;
}

std::optional<std::string> FixturesMissing() {
    std::error_code ec;
    const std::filesystem::path folder = SharedFixtures();
    if (std::filesystem::is_directory(folder, ec)) return std::nullopt;
    return "the shared fixtures are not at " + folder.string() + " (set PELKO_SHARED_FIXTURES)";
}

std::optional<std::string> ToolMissing(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / program;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0)
            return std::nullopt;
    }
    return std::string(program) + " is not installed (not found on PATH)";
}

}  // namespace pelko::test
