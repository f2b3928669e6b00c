#pragma once
// The disc files of a catalog: one file per scan object in the catalog's "Disk" folder, named
// from the volume label and serial, kept at rest as a ZIP beside which the plain file exists
// only while the object is loaded. Opens, saves, releases (save and compress) and deletes them.
// Failures are reported to the message log in the user's words; files are only ever replaced
// atomically, so a failed or interrupted save leaves the previous file intact.
//
// When both the plain file and the ZIP exist (a save that was not yet compressed when the
// program stopped), the newer of the two holds the disc: it is the one opened, and releasing
// the disc leaves its content in the ZIP.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "catalog/CCD.h"
#include "catalog/DiscIndex.h"

namespace pelko::catalog {

class CDiskInfo;
class MessageLog;

class DiscStore {
public:
    DiscStore(std::filesystem::path catalogFolder, MessageLog& log);

    std::filesystem::path DiskFolder() const { return m_catalogFolder / "Disk"; }
    // On-disk paths of an object's files: the plain disc file, its ZIP, its thumbnail folder.
    std::filesystem::path PlainPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const;
    std::filesystem::path ZipPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const;
    std::filesystem::path PictureFolder(std::string_view volumeLabel, std::uint32_t volumeSerial) const;

    // The search index of an object's disc file, in the catalog's "Index" folder.
    std::filesystem::path IndexPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const;
    // The stamp of the copy Open would read; nullopt when there is none.
    std::optional<DiscFileStamp> CurrentStamp(std::string_view volumeLabel, std::uint32_t volumeSerial) const;
    // The index of an entry's disc file when it is there, undamaged and built from the disc
    // file's current copy, whose stamp is `current`; nullopt otherwise (the disc must then be
    // searched in full).
    std::optional<DiscIndex> OpenIndex(const CDiskInfo& entry, const DiscFileStamp& current) const;
    // The same, stating the current copy first.
    std::optional<DiscIndex> OpenIndex(const CDiskInfo& entry) const;
    // Writes the index of `contents`, which must be what the disc file's current copy of
    // `stamp` holds. False when it could not be written (searches then read the disc file).
    bool WriteIndex(const CCD& contents, const DiscFileStamp& stamp) const;
    // Writes the index unless the one on disk already belongs to the current copy.
    bool RefreshIndex(const CCD& contents) const;

    // Loads the disc file of a catalog entry (the newer of the plain file and its ZIP's entry,
    // inflated in memory). Null after reporting why when it cannot be read.
    std::unique_ptr<CCD> Open(const CDiskInfo& entry);

    // Loads a disc file given by path: a plain file, or a ZIP holding one ("X.pkb.zip" holds
    // "X.pkb"). Null after reporting why.
    std::unique_ptr<CCD> OpenPath(const std::filesystem::path& file);

    // Writes the plain disc file when the object is modified. False when it could not be written.
    bool Save(CCD& cd);

    // Saves the object when modified, then leaves the newest content in the ZIP (compressing a
    // plain file that is newer than the ZIP) and removes the plain file, brings the search
    // index up to date with it, then destroys the object and resets `cd`. When the changes cannot be written
    // the object is kept in `cd`, unchanged, so that the caller can try again after making room: false, after
    // reporting.
    bool Release(std::unique_ptr<CCD>& cd);

private:
    void CompressNewestPlain(const std::filesystem::path& plain, const std::filesystem::path& zip);
    std::unique_ptr<CCD> LoadPlain(const std::filesystem::path& plain);
    std::unique_ptr<CCD> LoadFromZip(const std::filesystem::path& plain, const std::filesystem::path& zip);
    std::unique_ptr<CCD> Parse(std::span<const std::uint8_t> bytes, const std::filesystem::path& shownPath);
    void ReportError(std::string_view utf8Format, const std::filesystem::path& path);

    std::filesystem::path m_catalogFolder;
    MessageLog& m_log;
};

// Model form (GB18030) of a file-system path, for messages.
std::string ModelPath(const std::filesystem::path& path);

// File-system form of a model name: UTF-8, with "/" and NUL made harmless, and never empty,
// "." or "..".
std::string SafeFileName(std::string_view modelName);

// Fills the statistics of an old entry from its freshly opened disc, recounting the disc and
// marking it modified. True when the entry was old and has been changed (the catalog must
// then be saved).
bool RefreshOldEntry(CCD& cd, CDiskInfo& entry);

}  // namespace pelko::catalog
