#pragma once
// What a catalog folder holds, as the program reads it: the catalog (tree, categories, entries,
// password) and, for every entry, its disc as loaded and its thumbnails. Each disc and each
// thumbnail is a unit of its own, since each is replaced on its own; the catalog file is one
// unit. Temporary files of interrupted saves are no part of it.
//
// Discs are keyed by label and serial. A disc the caller does not list as known has its serial
// written "new": a folder scanned twice gets a serial from the clock each time, and both runs
// must still compare equal.

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pelko::test {

struct EntryState {
    std::string path;      // catalog path, UTF-8
    std::string identity;  // name, memo, kind and scanned folder
    std::string stats;     // sizes and counts, which a new scan changes
    friend bool operator==(const EntryState&, const EntryState&) = default;
};

struct CatalogSnapshot {
    // Faults that no state may show: a catalog that does not load, a disc file that does not
    // open, a temporary file's content showing through.
    std::vector<std::string> faults;

    std::string password;                           // UTF-8
    std::string tree;                               // what `pelko-cli tree` prints
    std::map<std::string, std::string> categories;  // path -> memo
    std::map<std::string, EntryState> entries;      // disc key -> entry
    std::map<std::string, std::string> discs;       // disc key -> the disc as JSON
    std::map<std::string, std::string> pictures;    // disc key + "/" + file -> SHA-256
    std::set<std::string> discNames;                // label and serial as stored, never "new"

    // The catalog file's unit: everything but the discs and thumbnails.
    bool SameCatalog(const CatalogSnapshot& other) const {
        return password == other.password && tree == other.tree && categories == other.categories &&
               entries == other.entries;
    }
    bool SameEverything(const CatalogSnapshot& other) const {
        return SameCatalog(other) && discs == other.discs && pictures == other.pictures;
    }
    // One line per unit, for reports.
    std::string Describe() const;
};

// Reads the catalog in `folder` with pelko-cli's own code (run in this process). With `known`
// (the discNames of an earlier snapshot), discs not in it have their serials written "new".
CatalogSnapshot TakeSnapshot(const std::filesystem::path& folder,
                             const std::set<std::string>* known = nullptr);

// Runs pelko-cli in this process on `folder`, with the password (if any) on standard input.
struct InProcessRun {
    int status;
    std::string out;
    std::string err;
};
InProcessRun RunInProcess(const std::filesystem::path& folder, const std::vector<std::string>& args,
                          const std::string& password = {});

// Places temporary files as an interrupted save leaves them beside the catalog file and every
// disc file the catalog names, each holding a whole, valid file whose content differs from the
// real one by the word "POISON". A program that ever reads one shows that word.
void PlantPoisonedTemporaries(const std::filesystem::path& folder);

// Copies a catalog folder with the modification times of its files, which decide between a
// disc's plain file and its ZIP.
void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to);

// The temporary files of interrupted saves ("NAME.tmpXXXXXX") under a folder.
std::vector<std::filesystem::path> TemporaryFiles(const std::filesystem::path& folder);

}  // namespace pelko::test
