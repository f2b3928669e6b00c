#pragma once
// The cover picture of a scan object: a ".jpg" or ".bmp" file in the catalog's Disk folder named
// like the object's disc file ("LABEL123.jpg" beside "LABEL123.pkb"). One cover at a time: the
// JPEG is shown when both exist. Failures are reported to the message log.

#include <filesystem>
#include <optional>
#include <string_view>

namespace pelko::catalog {
class CDiskInfo;
class DiscStore;
class MessageLog;
}  // namespace pelko::catalog

namespace pelko::shell {

class CoverPictures {
public:
    CoverPictures(const catalog::DiscStore& discs, catalog::MessageLog& log) : m_discs(discs), m_log(log) {}

    // Where the entry's cover of the given kind (".jpg" or ".bmp") is kept.
    std::filesystem::path CoverPath(const catalog::CDiskInfo& entry, std::string_view extension) const;
    // The cover to show: the ".jpg" when present, else the ".bmp"; nothing without a cover.
    std::optional<std::filesystem::path> CoverOf(const catalog::CDiskInfo& entry) const;

    // Makes `picture` (a ".jpg", ".jpeg" or ".bmp" file) the entry's cover and removes the cover
    // of the other kind. The new cover is complete before any old one is removed, so a failed
    // copy leaves the old cover as it was. Choosing the current cover itself keeps it. True when
    // the chosen picture is the cover afterwards.
    bool Import(const catalog::CDiskInfo& entry, const std::filesystem::path& picture);
    // Removes both covers; true when none is left.
    bool Delete(const catalog::CDiskInfo& entry);

private:
    bool Remove(const std::filesystem::path& cover);

    const catalog::DiscStore& m_discs;
    catalog::MessageLog& m_log;
};

}  // namespace pelko::shell
