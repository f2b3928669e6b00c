#include "scan/ArchiveListing.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "catalog/CDir.h"
#include "scan/ByteSource.h"
#include "scan/CScanProgress.h"
#include "scan/DosTime.h"
#include "scan/RarHeaders.h"
#include "scan/ScanSettings.h"
#include "scan/ScanState.h"
#include "scan/ZipDirectory.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace {

using catalog::CDir;
using catalog::CFileInfo;

// Collects the records of one listing and files them when it ends. Records are made in
// archive order but inserted in name order, so that filing a large archive costs one sort
// rather than one shift of the folder's list per entry; a stable sort keeps the first of equal
// names first, which is the one the folder accepts.
//
// The sort compares keys in which only the single-byte letters are folded to lower case: as
// lead bytes (0x81 and up) sort above every single byte, comparing such keys byte by byte
// orders names exactly as text::CompareNoCase does, without its per-character branches.
class Listing {
public:
    Listing(CDir& folder, const ScanSettings& settings, ScanState& state, CScanProgress* progress)
        : m_folder(folder), m_settings(settings), m_state(state), m_progress(progress) {}

    enum class Gate { Take, End, Limit, Cancel };

    // The gate for the entry at `position` (from 0) of the archive.
    Gate Pass(std::size_t position) {
        if (m_settings.bCheckFileLimit &&
            position >= static_cast<std::size_t>(std::max(m_settings.nFileLimit, 0)))
            return Gate::End;
        if (m_settings.bCheckFileLimitDisk && ++m_state.nScanFileCount > m_settings.nFileLimitTotal)
            return Gate::Limit;
        if (m_passed % 5 == 0 && m_progress && m_progress->IsCancelled()) return Gate::Cancel;
        ++m_passed;
        return Gate::Take;
    }

    CScanProgress* Progress() const { return m_progress; }

    // Makes the record of an entry whose model path is `path` ("a\b\name"); none for a folder
    // entry, whose path ends in "\".
    void Add(std::string_view path, std::uint64_t size, std::uint64_t fileTime) {
        const std::size_t slash = text::FindLastChar(path, '\\');
        const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
        if (name.empty()) return;
        auto record = std::make_unique<CFileInfo>();
        record->m_strName = name;
        if (slash != std::string_view::npos) record->m_strMemo = path.substr(0, slash + 1);
        record->SetSize(size);
        record->m_ftTime = fileTime;

        const std::size_t keyAt = m_keys.size();
        m_keys += name;
        for (std::size_t i = keyAt; i < m_keys.size();) {
            const std::size_t length = text::CharLength(m_keys, i);
            if (length == 1 && m_keys[i] >= 'A' && m_keys[i] <= 'Z')
                m_keys[i] = static_cast<char>(m_keys[i] + 32);
            i += length;
        }
        m_order.push_back({keyAt, name.size(), m_records.size()});
        m_records.push_back(std::move(record));
    }

    // Files the records made so far into the folder.
    void File() {
        const std::string_view keys = m_keys;
        std::stable_sort(m_order.begin(), m_order.end(), [keys](const Key& a, const Key& b) {
            return keys.substr(a.at, a.length) < keys.substr(b.at, b.length);
        });
        for (const Key& key : m_order) m_folder.InsertFile(std::move(m_records[key.record]));
        m_records.clear();
        m_order.clear();
        m_keys.clear();
    }

private:
    struct Key {
        std::size_t at;
        std::size_t length;
        std::size_t record;
    };

    CDir& m_folder;
    const ScanSettings& m_settings;
    ScanState& m_state;
    CScanProgress* m_progress;
    std::size_t m_passed = 0;
    std::vector<std::unique_ptr<CFileInfo>> m_records;  // in archive order
    std::vector<Key> m_order;
    std::string m_keys;  // every record's folded name, one after another
};

template <typename Entries, typename AddEntry>
WalkResult RunGate(Listing& listing, const Entries& entries, AddEntry addEntry) {
    WalkResult result = WalkResult::Finished;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Listing::Gate gate = listing.Pass(i);
        if (gate == Listing::Gate::End) break;
        if (gate == Listing::Gate::Limit) {
            result = WalkResult::LimitReached;
            break;
        }
        if (gate == Listing::Gate::Cancel) {
            result = CancelReason(*listing.Progress());
            break;
        }
        addEntry(entries[i]);
    }
    listing.File();
    return result;
}

WalkResult ListZip(Listing& listing, ByteSource& source) {
    const std::optional<ZipDirectory> directory = ZipDirectory::Read(source);
    if (!directory) return WalkResult::Finished;
    return RunGate(listing, directory->Entries(), [&](const ZipEntry& entry) {
        if (entry.IsFolderByAttributes()) return;
        listing.Add(ZipNameToModel(entry.name, entry.HasUtf8Name()), entry.uncompressedSize,
                    FileTimeFromDos(entry.dosDate, entry.dosTime));
    });
}

WalkResult ListRar(Listing& listing, ByteSource& source) {
    const std::optional<std::vector<RarItem>> items = ReadRarItems(source);
    if (!items) return WalkResult::Finished;
    return RunGate(listing, *items, [&](const RarItem& item) {
        listing.Add(item.name, item.unpackedSize,
                    FileTimeFromDos(static_cast<std::uint16_t>(item.dosDateTime >> 16),
                                    static_cast<std::uint16_t>(item.dosDateTime)));
    });
}

}  // namespace

ArchiveFormat ArchiveFormatOf(std::string_view fileName) {
    const std::string extension = text::Extension(text::Trim(fileName));
    if (extension == ".zip") return ArchiveFormat::Zip;
    if (extension == ".rar") return ArchiveFormat::Rar;
    return ArchiveFormat::None;
}

std::string ZipNameToModel(std::string_view rawName, bool utf8) {
    // Names are C strings to every other reader of the format: a zero byte ends them.
    rawName = rawName.substr(0, rawName.find('\0'));
    std::string name = utf8 ? text::FromUtf8(rawName) : std::string(rawName);
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = text::CharLength(name, i);
        if (length == 1 && name[i] == '/') name[i] = '\\';
        i += length;
    }
    return name;
}

WalkResult ListArchive(CDir& archiveFolder, ByteSource& source, ArchiveFormat format,
                       const ScanSettings& settings, ScanState& state, CScanProgress* progress) {
    if (progress && progress->IsCancelled()) return CancelReason(*progress);
    try {
        Listing listing(archiveFolder, settings, state, progress);
        switch (format) {
            case ArchiveFormat::Zip:
                return ListZip(listing, source);
            case ArchiveFormat::Rar:
                return ListRar(listing, source);
            case ArchiveFormat::None:
                break;
        }
    } catch (const std::bad_alloc&) {
        // What was filed before memory ran out stays; the scan goes on with the next folder.
        return WalkResult::OutOfMemory;
    }
    return WalkResult::Finished;
}

}  // namespace pelko::scan
