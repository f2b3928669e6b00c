#pragma once
// The files of deleted catalog entries wait here until a catalog that no longer names them is
// safely on the disk. Deleting them first would leave the saved catalog naming missing disc
// files whenever the save then failed (a full disk, a crash in between).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelko::catalog {

class CCategory;
class MessageLog;

// What a deleted entry leaves on the disk: its disc file and ZIP, its search index, its exported
// pages, and its thumbnail folder when that goes too (removed with its content).
struct EntryLeftovers {
    std::string volumeLabel;
    std::uint32_t volumeSerial = 0;
    std::vector<std::filesystem::path> discFiles;
    std::filesystem::path index;  // removed with the disc files; silently, it can be rebuilt
    std::vector<std::filesystem::path> pages;
    std::vector<std::filesystem::path> folders;
};

class DeferredDeletions {
public:
    void Add(EntryLeftovers leftovers) { m_pending.push_back(std::move(leftovers)); }
    bool Empty() const { return m_pending.empty(); }

    // Called once the catalog under `root` has been saved: deletes what is waiting, except the
    // disc files and thumbnails of a disc the catalog holds again (an entry of the same label
    // and serial filed since, whose files have the same names). The exported pages of the
    // deleted entry go in any case. Failures are reported to `log`.
    void Run(const CCategory& root, MessageLog& log);

private:
    std::vector<EntryLeftovers> m_pending;
};

}  // namespace pelko::catalog
