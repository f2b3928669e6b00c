#pragma once
// Where the catalog lives: the folder given on the command line, else $PELKO_CATALOG, else the
// program's own folder when it already holds a catalog file (portable use), else
// $XDG_DATA_HOME/Pelko (normally ~/.local/share/Pelko).

#include <filesystem>
#include <optional>

namespace pelko::platform {

std::filesystem::path ResolveCatalogFolder(const std::optional<std::filesystem::path>& commandLineFolder);

// Creates the folder when missing. False when it cannot be made.
bool EnsureFolder(const std::filesystem::path& folder);

}  // namespace pelko::platform
