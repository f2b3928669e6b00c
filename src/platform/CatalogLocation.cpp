#include "platform/CatalogLocation.h"

#include <cstdlib>
#include <system_error>

namespace pelko::platform {

namespace fs = std::filesystem;

namespace {

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

fs::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return fs::path(xdg) / "Pelko";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local/share/Pelko";
    return fs::current_path() / "Pelko";
}

}  // namespace

fs::path ResolveCatalogFolder(const std::optional<fs::path>& commandLineFolder) {
    if (commandLineFolder) return fs::absolute(*commandLineFolder);
    if (const char* env = std::getenv("PELKO_CATALOG"); env && *env) return fs::absolute(env);
    std::error_code ec;
    if (const fs::path exeFolder = ExecutableFolder();
        !exeFolder.empty() && fs::exists(exeFolder / "tnk.dat", ec))
        return exeFolder;
    return UserDataFolder();
}

bool EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

}  // namespace pelko::platform
