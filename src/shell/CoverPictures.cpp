#include "shell/CoverPictures.h"

#include <system_error>

#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "platform/FileCopy.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace fs = std::filesystem;
using catalog::MessageKind;

namespace {

constexpr std::string_view kJpeg = ".jpg";
constexpr std::string_view kBitmap = ".bmp";

// The cover kind of a chosen picture by its extension, in any letter case; empty for others.
std::string_view CoverKind(const fs::path& picture) {
    // The file-system name is UTF-8, so the extension is taken by fs::path, not as model bytes.
    std::string extension = picture.extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".jpg" || extension == ".jpeg") return kJpeg;
    if (extension == ".bmp") return kBitmap;
    return {};
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

}  // namespace

fs::path CoverPictures::CoverPath(const catalog::CDiskInfo& entry, std::string_view extension) const {
    return m_discs.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial).replace_extension(extension);
}

std::optional<fs::path> CoverPictures::CoverOf(const catalog::CDiskInfo& entry) const {
    for (const std::string_view kind : {kJpeg, kBitmap}) {
        fs::path cover = CoverPath(entry, kind);
        std::error_code error;
        if (fs::is_regular_file(cover, error)) return cover;
    }
    return std::nullopt;
}

bool CoverPictures::Remove(const fs::path& cover) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(cover, error))) return true;
    if (fs::remove(cover, error)) return true;
    m_log.Post(MessageKind::Error,
               text::Local("删除文件 ") + catalog::ModelPath(cover) + text::Local(" 失败"));
    return false;
}

bool CoverPictures::Import(const catalog::CDiskInfo& entry, const fs::path& picture) {
    const std::string_view kind = CoverKind(picture);
    if (kind.empty()) {
        m_log.Post(MessageKind::Error, text::LocalWith("文件 %s 不是 BMP 或 JPEG 图片，不能作为封面",
                                                       catalog::ModelPath(picture)));
        return false;
    }
    std::error_code error;
    const fs::path folder = m_discs.DiskFolder();
    fs::create_directories(folder, error);
    if (error) {
        m_log.Post(MessageKind::Error, text::LocalWith("创建文件夹 %s 失败", catalog::ModelPath(folder)));
        return false;
    }
    const fs::path target = CoverPath(entry, kind);
    const fs::path other = CoverPath(entry, kind == kJpeg ? kBitmap : kJpeg);
    if (!SameFile(picture, target)) {
        // Copied beside the cover first and renamed over it, so the old cover stays whole until
        // the new one is complete.
        fs::path partial = target;
        partial += ".part";
        fs::remove(partial, error);
        // A picture chosen through a link is copied from the file it names.
        const fs::path source = fs::canonical(picture, error);
        if (error || platform::CopyFileNoReplace(source, partial) != platform::CopyResult::Copied) {
            m_log.Post(MessageKind::Error,
                       text::Local("复制文件 ") + catalog::ModelPath(picture) + text::Local(" 失败"));
            return false;
        }
        fs::rename(partial, target, error);
        if (error) {
            fs::remove(partial, error);
            m_log.Post(MessageKind::Error,
                       text::Local("复制文件 ") + catalog::ModelPath(picture) + text::Local(" 失败"));
            return false;
        }
    }
    return Remove(other);
}

bool CoverPictures::Delete(const catalog::CDiskInfo& entry) {
    const bool jpegGone = Remove(CoverPath(entry, kJpeg));
    const bool bitmapGone = Remove(CoverPath(entry, kBitmap));
    return jpegGone && bitmapGone;
}

}  // namespace pelko::shell
