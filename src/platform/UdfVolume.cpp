#include "platform/UdfVolume.h"

#include <cdio/logging.h>
#include <cdio/udf.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileTime.h"
#include "platform/WriteAll.h"
#include "text/Codec.h"

namespace pelko::platform {

namespace {

// libcdio's own log handler ends the process on an error (an image it cannot place, say): a
// library must report, not exit, so its messages are dropped and its return values used.
void QuietCdioLog(cdio_log_level_t, const char*) {}

void SilenceCdioOnce() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(QuietCdioLog); });
}

struct DirentFree {
    void operator()(udf_dirent_t* p) const { udf_dirent_free(p); }
};
using DirentPtr = std::unique_ptr<udf_dirent_t, DirentFree>;

struct UdfFile {
    std::string name;  // model bytes
    bool isDirectory = false;
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    std::optional<std::uint64_t> firstSector;  // absolute, when the data lies in one extent
    DirentPtr folder;                          // an unread listing of a sub-folder
};

}  // namespace

struct UdfVolume::Disc {
    udf_t* udf = nullptr;
    ~Disc() {
        if (udf) udf_close(udf);
    }
};

namespace {

class UdfFolder final : public VolumeFolder {
public:
    UdfFolder(std::shared_ptr<UdfVolume::Disc> disc, DirentPtr listing) : m_disc(std::move(disc)) {
        // udf_readdir moves the dirent along and frees it at the end.
        udf_dirent_t* d = listing.release();
        while ((d = udf_readdir(d)) != nullptr) {
            const char* raw = udf_get_filename(d);
            if (raw == nullptr || raw[0] == '\0') continue;  // the parent entry
            UdfFile file;
            file.name = text::FromUtf8(raw);
            file.isDirectory = udf_is_dir(d);
            file.time = FileTimeFromUnix(udf_get_modification_time(d), 0);
            if (file.isDirectory) {
                file.folder.reset(udf_opendir(d));
            } else {
                file.size = udf_get_file_length(d);
                std::uint32_t start = 0;
                std::uint32_t end = 0;
                if (udf_get_lba(&d->fe, &start, &end) && end >= start &&
                    (static_cast<std::uint64_t>(end - start) + 1) * UDF_BLOCKSIZE >= file.size)
                    file.firstSector = static_cast<std::uint64_t>(d->i_part_start) + start;
            }
            m_files.push_back(std::move(file));
        }
        for (std::size_t i = 0; i < m_files.size(); ++i) m_byName.emplace(m_files[i].name, i);
    }

    void Enumerate(const std::function<bool(const VolumeEntry&)>& visit) override {
        if (!visit(VolumeEntry{".", ".", true}) || !visit(VolumeEntry{"..", "..", true})) return;
        for (const UdfFile& file : m_files)
            if (!visit(VolumeEntry{file.name, file.name, file.isDirectory})) return;
    }

    std::optional<EntryInfo> Stat(std::string_view rawName) override {
        const UdfFile* file = Find(rawName);
        if (!file) return std::nullopt;
        return EntryInfo{file->size, file->time};
    }

    std::unique_ptr<VolumeFolder> OpenChild(std::string_view rawName) override {
        UdfFile* file = Find(rawName);
        if (!file || !file->isDirectory || !file->folder) return nullptr;
        // libudf reads a listing once: the child takes it, and a second open of the same
        // sub-folder needs a fresh listing of this folder.
        DirentPtr listing = std::move(file->folder);
        return std::make_unique<UdfFolder>(m_disc, std::move(listing));
    }

    std::optional<std::size_t> ReadAt(std::string_view rawName, std::uint64_t offset,
                                      std::span<std::uint8_t> out) override {
        const UdfFile* file = Find(rawName);
        if (!file || file->isDirectory || !file->firstSector) return std::nullopt;
        if (offset >= file->size) return 0;
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), file->size - offset));
        std::vector<std::uint8_t> block(UDF_BLOCKSIZE);
        std::size_t have = 0;
        while (have < want) {
            const std::uint64_t at = offset + have;
            const std::uint64_t sector = *file->firstSector + at / UDF_BLOCKSIZE;
            if (udf_read_sectors(m_disc->udf, block.data(), static_cast<lsn_t>(sector), 1) !=
                DRIVER_OP_SUCCESS)
                return std::nullopt;
            const std::size_t within = static_cast<std::size_t>(at % UDF_BLOCKSIZE);
            const std::size_t n = std::min(want - have, UDF_BLOCKSIZE - within);
            std::copy_n(block.data() + within, n, out.data() + have);
            have += n;
        }
        return have;
    }

    bool CopyTo(std::string_view rawName, const std::filesystem::path& destination) override {
        const UdfFile* file = Find(rawName);
        if (!file || file->isDirectory) return false;
        AtomicFile out(destination);
        if (!out.Create()) return false;
        std::vector<std::uint8_t> chunk(64 * UDF_BLOCKSIZE);
        for (std::uint64_t offset = 0; offset < file->size;) {
            const std::optional<std::size_t> got = ReadAt(rawName, offset, chunk);
            if (!got || *got == 0) return false;
            if (!WriteAll(out.Descriptor(), std::span(chunk).first(*got))) return false;
            offset += *got;
        }
        return out.Commit();
    }

private:
    UdfFile* Find(std::string_view name) {
        const auto found = m_byName.find(name);
        return found == m_byName.end() ? nullptr : &m_files[found->second];
    }

    std::shared_ptr<UdfVolume::Disc> m_disc;
    std::vector<UdfFile> m_files;
    std::map<std::string, std::size_t, std::less<>> m_byName;
};

}  // namespace

UdfVolume::UdfVolume(std::shared_ptr<Disc> disc, std::string rootName)
    : m_disc(std::move(disc)), m_rootName(std::move(rootName)) {}
UdfVolume::~UdfVolume() = default;

std::unique_ptr<UdfVolume> UdfVolume::Open(const std::filesystem::path& imageOrDevice, std::string rootName) {
    SilenceCdioOnce();
    auto disc = std::make_shared<Disc>();
    disc->udf = udf_open(imageOrDevice.c_str());
    if (!disc->udf) return nullptr;
    const DirentPtr root(udf_get_root(disc->udf, true, 0));
    if (!root) return nullptr;
    return std::unique_ptr<UdfVolume>(new UdfVolume(std::move(disc), std::move(rootName)));
}

std::unique_ptr<VolumeFolder> UdfVolume::OpenFolder(std::string_view path) {
    if (!path.starts_with(m_rootName)) return nullptr;
    std::string_view rest = path.substr(m_rootName.size());
    if (!rest.empty() && rest.front() != '/' && rest.front() != '\\') return nullptr;
    DirentPtr root(udf_get_root(m_disc->udf, true, 0));
    if (!root) return nullptr;
    std::unique_ptr<VolumeFolder> folder = std::make_unique<UdfFolder>(m_disc, std::move(root));
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const std::size_t end = std::min(rest.find_first_of("/\\"), rest.size());
        const std::string part(rest.substr(0, end));
        rest.remove_prefix(end);
        if (part.empty()) continue;
        folder = folder->OpenChild(part);
        if (!folder) return nullptr;
    }
    return folder;
}

}  // namespace pelko::platform
