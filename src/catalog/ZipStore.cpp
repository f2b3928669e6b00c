#include "catalog/ZipStore.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <ctime>
#include <memory>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace {

constexpr std::uint16_t kUtf8NameFlag = 0x0800;
// Deflate cannot expand data by more than about 1032:1; anything claiming more is damaged.
constexpr std::uint64_t kMaxInflateRatio = 1100;

struct UnzCloser {
    void operator()(void* handle) const { unzClose(handle); }
};
struct ZipCloser {
    void operator()(void* handle) const { zipClose(handle, nullptr); }
};

std::string_view BaseName(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    return text::AfterLastBackslash(name);
}

ZipEntryRead InflateCurrent(unzFile zip, const unz_file_info64& info, std::uint64_t archiveSize) {
    ZipEntryRead result;
    result.status = ZipEntryRead::Status::Damaged;
    if (info.compressed_size > archiveSize) return result;
    if (info.uncompressed_size > info.compressed_size * kMaxInflateRatio + 65536) return result;
    if (unzOpenCurrentFile(zip) != UNZ_OK) return result;
    result.bytes.resize(static_cast<std::size_t>(info.uncompressed_size));
    std::size_t have = 0;
    for (;;) {
        std::uint8_t probe = 0;
        std::uint8_t* dest = have < result.bytes.size() ? result.bytes.data() + have : &probe;
        const std::size_t room = have < result.bytes.size() ? result.bytes.size() - have : 1;
        const int got =
            unzReadCurrentFile(zip, dest, static_cast<unsigned>(std::min<std::size_t>(room, 1u << 30)));
        if (got < 0 || (got > 0 && have >= result.bytes.size())) {  // error, or more than recorded
            unzCloseCurrentFile(zip);
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    const int closed = unzCloseCurrentFile(zip);  // reports a CRC mismatch
    if (closed != UNZ_OK || have != result.bytes.size()) {
        result.bytes.clear();
        return result;
    }
    result.status = ZipEntryRead::Status::Ok;
    return result;
}

}  // namespace

ZipEntryRead ReadZipEntry(const std::filesystem::path& zipPath, std::string_view entryName) {
    std::unique_ptr<void, UnzCloser> zip(unzOpen64(zipPath.c_str()));
    if (!zip) return {};
    std::error_code ec;
    const std::uint64_t archiveSize = std::filesystem::file_size(zipPath, ec);
    if (ec) return {};
    for (int rc = unzGoToFirstFile(zip.get()); rc == UNZ_OK; rc = unzGoToNextFile(zip.get())) {
        unz_file_info64 info{};
        char name[1024];
        if (unzGetCurrentFileInfo64(zip.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        std::string stored(name, std::min<std::size_t>(info.size_filename, sizeof name - 1));
        if (info.flag & kUtf8NameFlag) stored = text::FromUtf8(stored);
        if (BaseName(stored) == entryName) return InflateCurrent(zip.get(), info, archiveSize);
    }
    return {};
}

bool WriteZipWithFile(const std::filesystem::path& zipPath, std::string_view entryName,
                      const std::filesystem::path& sourceFile) {
    const platform::FileDescriptor source(::open(sourceFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid()) return false;
    const int in = source.get();
    struct stat st {};
    if (::fstat(in, &st) != 0) return false;

    platform::AtomicFile target(zipPath);
    if (!target.Create()) return false;
    {
        std::unique_ptr<void, ZipCloser> zip(zipOpen64(target.TemporaryPath().c_str(), APPEND_STATUS_CREATE));
        if (!zip) return false;
        zip_fileinfo fileInfo{};
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        fileInfo.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
        fileInfo.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
        fileInfo.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
        fileInfo.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
        fileInfo.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
        fileInfo.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
        const std::string name(entryName);
        const int zip64 = static_cast<std::uint64_t>(st.st_size) >= 0xFFFFFFFFull ? 1 : 0;
        if (zipOpenNewFileInZip64(zip.get(), name.c_str(), &fileInfo, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION, zip64) != ZIP_OK)
            return false;
        std::vector<std::uint8_t> chunk(1 << 20);
        for (;;) {
            const ssize_t got = ::read(in, chunk.data(), chunk.size());
            if (got < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (got == 0) break;
            if (zipWriteInFileInZip(zip.get(), chunk.data(), static_cast<unsigned>(got)) != ZIP_OK)
                return false;
        }
        if (zipCloseFileInZip(zip.get()) != ZIP_OK) return false;
        if (zipClose(zip.release(), nullptr) != ZIP_OK) return false;
    }
    return target.Commit();
}

}  // namespace pelko::catalog
