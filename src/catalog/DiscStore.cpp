#include "catalog/DiscStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <vector>

#include "catalog/CArchive.h"
#include "catalog/CDiskInfo.h"
#include "catalog/MessageLog.h"
#include "catalog/ZipStore.h"
#include "platform/AtomicFile.h"
#include "platform/WholeFile.h"
#include "text/Codec.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Which copy of a disc holds its newest content. A plain file is written first and compressed
// afterwards, so a plain file at least as new as the ZIP has not reached it yet, and a plain
// file older than the ZIP is a copy the ZIP has replaced.
enum class NewestCopy { None, Plain, Zip };

NewestCopy FindNewestCopy(const fs::path& plain, const fs::path& zip) {
    struct stat plainStat {};
    struct stat zipStat {};
    const bool havePlain = ::stat(plain.c_str(), &plainStat) == 0;
    const bool haveZip = ::stat(zip.c_str(), &zipStat) == 0;
    if (havePlain && haveZip) {
        const auto& p = plainStat.st_mtim;
        const auto& z = zipStat.st_mtim;
        const bool zipNewer = z.tv_sec > p.tv_sec || (z.tv_sec == p.tv_sec && z.tv_nsec > p.tv_nsec);
        return zipNewer ? NewestCopy::Zip : NewestCopy::Plain;
    }
    if (havePlain) return NewestCopy::Plain;
    return haveZip ? NewestCopy::Zip : NewestCopy::None;
}

}  // namespace

std::string ModelPath(const fs::path& path) { return text::FromUtf8(path.native()); }

std::string SafeFileName(std::string_view modelName) {
    std::string name = text::ToUtf8(modelName);
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name.assign(std::max<std::size_t>(name.size(), 1), '_');
    return name;
}

DiscStore::DiscStore(fs::path catalogFolder, MessageLog& log)
    : m_catalogFolder(std::move(catalogFolder)), m_log(log) {}

fs::path DiscStore::PlainPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const {
    return DiskFolder() / SafeFileName(DiscFileName(volumeLabel, volumeSerial));
}

fs::path DiscStore::ZipPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const {
    fs::path zip = PlainPath(volumeLabel, volumeSerial);
    zip += ".zip";
    return zip;
}

fs::path DiscStore::IndexPath(std::string_view volumeLabel, std::uint32_t volumeSerial) const {
    return m_catalogFolder / "Index" / (SafeFileName(DiscFileName(volumeLabel, volumeSerial)) + ".idx");
}

std::optional<DiscFileStamp> DiscStore::CurrentStamp(std::string_view volumeLabel,
                                                     std::uint32_t volumeSerial) const {
    const fs::path plain = PlainPath(volumeLabel, volumeSerial);
    const fs::path zip = ZipPath(volumeLabel, volumeSerial);
    switch (FindNewestCopy(plain, zip)) {
        case NewestCopy::Plain:
            return StampOf(plain, 0);
        case NewestCopy::Zip:
            return StampOf(zip, 1);
        case NewestCopy::None:
            break;
    }
    return std::nullopt;
}

std::optional<DiscIndex> DiscStore::OpenIndex(const CDiskInfo& entry) const {
    const std::optional<DiscFileStamp> stamp = CurrentStamp(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    return stamp ? OpenIndex(entry, *stamp) : std::nullopt;
}

std::optional<DiscIndex> DiscStore::OpenIndex(const CDiskInfo& entry, const DiscFileStamp& current) const {
    std::vector<std::uint8_t> bytes;
    if (platform::ReadWholeFile(IndexPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial), bytes) !=
        platform::WholeFileRead::Ok) {
        return std::nullopt;
    }
    try {
        return DiscIndex::Unpack(bytes, current);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool DiscStore::WriteIndex(const CCD& contents, const DiscFileStamp& stamp) const {
    std::error_code ec;
    const fs::path file = IndexPath(contents.m_strVolumeLabel, contents.m_dwVolumeSerial);
    fs::create_directories(file.parent_path(), ec);
    try {
        const std::string packed = DiscIndex::Pack(stamp, DiscIndex::Encode(contents));
        // Rebuilt from the disc file whenever it is lost, so a crash-safe rename is enough.
        return !packed.empty() &&
               platform::ReplaceFileContent(file, packed, platform::Durability::ProcessCrash);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool DiscStore::RefreshIndex(const CCD& contents) const {
    const std::optional<DiscFileStamp> stamp =
        CurrentStamp(contents.m_strVolumeLabel, contents.m_dwVolumeSerial);
    if (!stamp) return false;
    // Only the header is read: it names the disc file version the index was built from.
    std::array<std::uint8_t, DiscIndex::kHeaderBytes> header{};
    std::ifstream existing(IndexPath(contents.m_strVolumeLabel, contents.m_dwVolumeSerial), std::ios::binary);
    if (existing.read(reinterpret_cast<char*>(header.data()), header.size()) &&
        DiscIndex::PeekStamp(header) == stamp)
        return true;
    return WriteIndex(contents, *stamp);
}

fs::path DiscStore::PictureFolder(std::string_view volumeLabel, std::uint32_t volumeSerial) const {
    fs::path pic = PlainPath(volumeLabel, volumeSerial);
    pic += ".pic";
    return pic;
}

void DiscStore::ReportError(std::string_view utf8Format, const fs::path& path) {
    m_log.Post(MessageKind::Error, text::LocalWith(utf8Format, ModelPath(path)));
}

std::unique_ptr<CCD> DiscStore::Open(const CDiskInfo& entry) {
    const fs::path plain = PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    const fs::path zip = ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    std::unique_ptr<CCD> cd;
    switch (FindNewestCopy(plain, zip)) {
        case NewestCopy::Plain:
            cd = LoadPlain(plain);
            break;
        case NewestCopy::Zip:
            cd = LoadFromZip(plain, zip);
            break;
        case NewestCopy::None:
            break;
    }
    if (cd) cd->m_strDisplayName = entry.m_strName;
    return cd;
}

std::unique_ptr<CCD> DiscStore::OpenPath(const fs::path& file) {
    if (file.extension() == ".zip") {
        fs::path plain = file;
        plain.replace_extension();
        return LoadFromZip(plain, file);
    }
    return LoadPlain(file);
}

std::unique_ptr<CCD> DiscStore::LoadPlain(const fs::path& plain) {
    std::vector<std::uint8_t> bytes;
    if (platform::ReadWholeFile(plain, bytes) != platform::WholeFileRead::Ok) {
        ReportError("这个扫描对象文件 %s 打开失败，原因可能是文件不存在", plain);
        return nullptr;
    }
    return Parse(bytes, plain);
}

std::unique_ptr<CCD> DiscStore::LoadFromZip(const fs::path& plain, const fs::path& zip) {
    const std::string entryName = text::FromUtf8(plain.filename().native());
    ZipEntryRead read = ReadZipEntry(zip, entryName);
    switch (read.status) {
        case ZipEntryRead::Status::Ok:
            return Parse(read.bytes, plain);
        case ZipEntryRead::Status::NotFound:
            ReportError("这个扫描对象文件 %s 打开失败，原因可能是文件不存在", plain);
            return nullptr;
        case ZipEntryRead::Status::Damaged:
            break;
    }
    ReportError("打开这个扫描对象文件 %s 失败，或这个文件并非真正的扫描后的对象文件", plain);
    return nullptr;
}

std::unique_ptr<CCD> DiscStore::Parse(std::span<const std::uint8_t> bytes, const fs::path& shownPath) {
    try {
        CArchive probe(bytes);
        if (probe.ReadString() != CCD::kSignature) {
            ReportError("文件 %s 并非真正的扫描后对象文件", shownPath);
            return nullptr;
        }
        auto cd = std::make_unique<CCD>();
        CArchive ar(bytes);
        cd->Serialize(ar);
        cd->m_strName.clear();  // the root name stored at scan time is not used after loading
        cd->m_strFilePath = ModelPath(shownPath);
        return cd;
    } catch (const ArchiveError&) {
        ReportError("打开这个扫描对象文件 %s 失败，或这个文件并非真正的扫描后的对象文件", shownPath);
    } catch (const std::bad_alloc&) {
        ReportError("打开这个扫描对象文件 %s 失败，或这个文件并非真正的扫描后的对象文件", shownPath);
    }
    return nullptr;
}

bool DiscStore::Save(CCD& cd) {
    if (!cd.m_bModified) return true;
    std::error_code ec;
    fs::create_directories(DiskFolder(), ec);
    if (!fs::is_directory(DiskFolder(), ec)) return false;
    const fs::path plain = PlainPath(cd.m_strVolumeLabel, cd.m_dwVolumeSerial);
    platform::AtomicFile file(plain);
    if (!file.Create()) return false;
    try {
        CArchive ar(file.Descriptor(), CArchive::Mode::Store);
        cd.Serialize(ar);
        ar.Close();
    } catch (const ArchiveError&) {
        return false;
    }
    if (!file.Commit()) return false;
    cd.m_strFilePath = ModelPath(plain);
    cd.m_bModified = false;
    cd.m_bSaved = true;
    return true;
}

bool DiscStore::Release(std::unique_ptr<CCD>& cd) {
    if (!cd) return true;
    const fs::path plain = PlainPath(cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
    if (!Save(*cd)) {
        // The object stays with the caller, changes and all: nothing of it is lost.
        ReportError("保存光盘文件 %s 失败", plain);
        return false;
    }
    CompressNewestPlain(plain, ZipPath(cd->m_strVolumeLabel, cd->m_dwVolumeSerial));
    RefreshIndex(*cd);  // a failure only makes searches of this disc read it in full
    cd.reset();
    return true;
}

void DiscStore::CompressNewestPlain(const fs::path& plain, const fs::path& zip) {
    std::error_code ec;
    switch (FindNewestCopy(plain, zip)) {
        case NewestCopy::Plain: {
            // The plain file goes only once its compressed copy is safely in place; until then
            // it stays and, being the newer copy, is what the next open reads.
            const std::string entryName = text::FromUtf8(plain.filename().native());
            if (WriteZipWithFile(zip, entryName, plain)) {
                fs::remove(plain, ec);
            } else {
                ReportError("压缩光盘文件 %s 失败，未压缩的文件保留在原处", plain);
            }
            break;
        }
        case NewestCopy::Zip:
            if (Exists(plain)) fs::remove(plain, ec);  // an older copy the ZIP has replaced
            break;
        case NewestCopy::None:
            break;
    }
}

bool RefreshOldEntry(CCD& cd, CDiskInfo& entry) {
    if (cd.m_dCurrentBytes != 0.0 || cd.m_nFolderCount != 0) return false;
    cd.RecomputeTotals();
    cd.m_bModified = true;
    entry.CopyStatistics(cd);
    return true;
}

}  // namespace pelko::catalog
