#pragma once
// Stand-in executables for the desktop's tools (xdg-open, xdg-email, gsettings...): shell
// scripts in a folder put first on PATH for the life of the object, which record their
// arguments one per line and exit with a chosen status.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempDir.h"

namespace pelko::test {

class StandInTools {
public:
    StandInTools();
    ~StandInTools();
    StandInTools(const StandInTools&) = delete;
    StandInTools& operator=(const StandInTools&) = delete;

    // A tool that records its arguments, prints `output` and exits with `status`.
    void Add(std::string_view name, int status = 0, std::string_view output = {});
    // The arguments of every run of a tool so far, one line each, runs separated by "--".
    std::vector<std::string> Calls(std::string_view name) const;
    // PATH holds only the stand-ins, so that no real tool is found.
    void HideRealTools();

private:
    TempDir m_dir;
    std::string m_savedPath;
};

}  // namespace pelko::test
