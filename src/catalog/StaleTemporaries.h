#pragma once
// Temporary files that saves of ours left behind when the program was killed in the middle
// (a scan stopped with kill -9 while its disc file was written): "<target>.tmpXXXXXX", made by
// platform::AtomicFile beside the file it replaces. They are never read, so they would lie in
// the catalog folder and its "Disk" and "Index" folders for ever.
//
// Only our own names are touched: the target part must be a file we write there (the catalog
// file and the help pages in the catalog folder; disc files, their ZIPs and the default
// pictures in "Disk"; search indexes in "Index"), followed by ".tmp" and mkstemp's six letters
// or digits. Sub-folders (thumbnails, exported pages) are left alone.
//
// A temporary file may belong to a save that is running right now in another copy (pelko-cli
// beside the desktop program). Two guards keep such a file: its writer holds an flock on it
// from creation until it is closed for the rename, and a file changed in the last ten minutes
// is kept in any case (the moment between closing and renaming, a writer that is stopped).

#include <chrono>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pelko::catalog {

class MessageLog;

enum class TemporaryPlace { CatalogFolder, DiskFolder, IndexFolder };

// Whether `name` is a temporary file of ours in that folder, by its name alone.
bool IsOwnTemporaryName(std::string_view name, TemporaryPlace place);

inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// Removes the stale temporary files of the catalog in `catalogFolder` and of its "Disk" and
// "Index" folders, posting a hint for each one removed and an error for each one that could not
// be. Returns the files removed.
std::vector<std::filesystem::path> RemoveStaleTemporaries(const std::filesystem::path& catalogFolder,
                                                          MessageLog& log,
                                                          std::chrono::seconds minimumAge = kStaleTemporaryAge);

}  // namespace pelko::catalog
