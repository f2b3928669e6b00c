#include "catalog/DiscStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
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
    if (Exists(plain)) {
        cd = LoadPlain(plain);
    } else if (Exists(zip)) {
        cd = LoadFromZip(plain, zip);
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

bool DiscStore::Release(std::unique_ptr<CCD> cd) {
    if (!cd) return true;
    const bool saved = Save(*cd);
    const fs::path plain = PlainPath(cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
    const fs::path zip = ZipPath(cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
    cd->m_strFilePath = ModelPath(plain);
    if (!saved) {
        // The tree is about to be destroyed; say so rather than lose the changes silently.
        ReportError("保存光盘文件 %s 失败", plain);
        return false;
    }
    std::error_code ec;
    if (cd->m_bSaved && Exists(plain)) {
        const std::string entryName = text::FromUtf8(plain.filename().native());
        // The plain file is removed only once its compressed copy is safely in place.
        if (WriteZipWithFile(zip, entryName, plain)) fs::remove(plain, ec);
    } else if (!cd->m_bSaved && Exists(plain) && Exists(zip)) {
        fs::remove(plain, ec);  // a left-over extracted copy
    }
    return true;
}

void DiscStore::DeleteFiles(const CDiskInfo& entry, bool deletePictureFolder) {
    const fs::path plain = PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    const fs::path zip = ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    for (const fs::path& file : {plain, zip}) {
        std::error_code ec;
        if (Exists(file) && !fs::remove(file, ec)) {
            m_log.Post(MessageKind::Error,
                       text::Local("删除光盘文件 ") + ModelPath(file) + text::Local(" 失败"));
        }
    }
    const fs::path pictures = PictureFolder(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    std::error_code ec;
    if (deletePictureFolder && fs::is_directory(pictures, ec)) fs::remove_all(pictures, ec);
}

bool RefreshOldEntry(CCD& cd, CDiskInfo& entry) {
    if (cd.m_dCurrentBytes != 0.0 || cd.m_nFolderCount != 0) return false;
    cd.RecomputeTotals();
    cd.m_bModified = true;
    entry.CopyStatistics(cd);
    return true;
}

}  // namespace pelko::catalog
