#pragma once
// Runs pelko-cli in-process on a catalog folder with no one at the terminal; commands that keep
// settings (find) write them to `settings`.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "cli/Command.h"

namespace pelko::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult RunCliOn(const std::filesystem::path& catalog, std::vector<std::string> args,
                          settings::SettingsStore& settings, const std::string& input = {}) {
    args.insert(args.begin(), {"--catalog", catalog});
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(args, in, out, err, settings, false);
    return {status, out.str(), err.str()};
}

// The same with the settings pelko-cli finds itself ($PELKO_SETTINGS_FILE or the user's file)
// and the arguments as given.
inline CliResult RunCliAsIs(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace pelko::test
