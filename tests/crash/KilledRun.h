#pragma once
// Runs pelko-cli as a separate process and, when asked, kills it with SIGKILL: the closest a
// test gets to pulling the plug on the program.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pelko::test {

using Seconds = std::chrono::duration<double>;

// When to kill: a time after the start, or a time after the program's n-th change of a name in
// the watched folders (a file made, renamed or removed), which lands kills between the steps
// of a save far more often than a clock does.
struct KillPlan {
    Seconds after{};
    int afterChanges = 0;  // 0: count `after` from the start
};

struct ProgramRun {
    bool killed = false;  // SIGKILL ended it (false: it exited before the kill came)
    int status = -1;      // exit status when it exited
    Seconds took{};
    int changes = 0;                     // names made, renamed or removed in the watched folders
    std::optional<Seconds> firstChange;  // when the first of them came, from the start
    std::string err;                     // what it wrote to standard error
};

// Runs `program` with `args`, `input` on its standard input, in `scratch` (which receives its
// output files), watching the folders `watched` (not their subfolders).
ProgramRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::string& input, const std::filesystem::path& scratch,
                      const std::vector<std::filesystem::path>& watched = {},
                      std::optional<KillPlan> kill = std::nullopt);

}  // namespace pelko::test
