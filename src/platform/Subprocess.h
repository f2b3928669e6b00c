#pragma once
// Runs a helper program of the desktop (xdg-open, xdg-email, gsettings, udisksctl) found on
// PATH, waits for it, and reports its exit status and what it printed.

#include <optional>
#include <string>
#include <vector>

namespace pelko::platform {

struct ProgramResult {
    int exitStatus = -1;  // -1 when it was killed by a signal
    std::string output;   // standard output, when asked for
};

// Nothing when the program cannot be started (not installed). Standard input is /dev/null;
// standard error is discarded; standard output is captured when `captureOutput` is set, else
// discarded.
std::optional<ProgramResult> RunProgram(const std::vector<std::string>& argv, bool captureOutput = false);

}  // namespace pelko::platform
