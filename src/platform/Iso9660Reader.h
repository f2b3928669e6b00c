#pragma once
// Reads the folder tree and file data of an ISO 9660 medium (an image file or a disc device)
// without mounting it. Names come from Rock Ridge when the primary tree carries it (as Linux
// shows the disc), else from the Joliet tree, else from the primary tree with the ";1" version
// removed. Every offset and length from the medium is checked against its size, so a damaged
// or hostile image gives errors, never reads beyond it.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/ByteSource.h"

namespace pelko::platform {

struct IsoExtent {
    std::uint32_t sector = 0;
    std::uint32_t length = 0;  // bytes
};

struct IsoEntry {
    std::string name;  // model bytes; "." and ".." for the folder itself and its parent
    bool isDirectory = false;
    std::vector<IsoExtent> extents;  // a file over 4 GiB is recorded in several
    std::uint64_t size = 0;
    std::uint64_t fileTime = 0;  // FILETIME of the recording date
};

enum class IsoNames { RockRidge, Joliet, Primary };

class Iso9660Reader {
public:
    // Null when the medium holds no ISO 9660 file system in the session starting at `sessionStart`.
    static std::unique_ptr<Iso9660Reader> Open(std::unique_ptr<ByteSource> source,
                                               std::uint64_t sessionStart = 0);

    const IsoEntry& Root() const { return m_root; }
    IsoNames Names() const { return m_names; }

    // The entries of a folder in the medium's order; nullopt when its records cannot be read.
    // With Rock Ridge, folders moved out of a too-deep tree are shown at their place of origin,
    // and the root's relocation folder ("rr_moved", ".rr_moved"), left empty by that, is not
    // shown: it is an artefact of the image's making. A folder of that name that holds anything
    // else, or one in an image without Rock Ridge, is content and stays.
    std::optional<std::vector<IsoEntry>> ReadFolder(const IsoEntry& folder);

    // Up to out.size() bytes of a file from `offset`; nullopt on a read error.
    std::optional<std::size_t> ReadFile(const IsoEntry& file, std::uint64_t offset,
                                        std::span<std::uint8_t> out);

private:
    Iso9660Reader(std::unique_ptr<ByteSource> source, IsoNames names, IsoEntry root, std::size_t suspSkip);
    bool ReadBytes(std::uint64_t sector, std::uint32_t offset, std::span<std::uint8_t> out);
    std::optional<std::vector<std::uint8_t>> ReadExtent(const IsoExtent& extent);
    // The folder's records; `relocatedCount`, when given, counts the Rock Ridge records of folders
    // moved elsewhere, which are left out.
    std::optional<std::vector<IsoEntry>> ReadFolderRecords(const IsoEntry& folder, std::size_t* relocatedCount);
    bool IsRelocationFolder(const IsoEntry& entry);

    std::unique_ptr<ByteSource> m_source;
    IsoNames m_names;
    IsoEntry m_root;
    std::size_t m_suspSkip;  // bytes before the system use entries of each record (SUSP "SP")
};

}  // namespace pelko::platform
