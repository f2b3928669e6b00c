#include "shell/RowPictures.h"

#include <array>
#include <system_error>
#include <vector>

#include "catalog/DiscStore.h"
#include "catalog/IconKeys.h"
#include "scan/FolderThumbnails.h"
#include "shell/CoverPictures.h"
#include "text/MbString.h"

namespace pelko::shell {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The lower-cased extension of a model name, from its last "." (empty without one).
std::string ExtensionOf(std::string_view name) {
    const std::size_t dot = text::FindLastChar(name, '.');
    return dot == std::string_view::npos ? std::string() : text::AsciiLower(name.substr(dot));
}

// A file's icon key: an archive by its lower-cased name, else its name (the extension decides).
std::string FileIconKey(const catalog::CFileInfo& file) {
    const std::string lower = text::AsciiLower(file.m_strName.view());
    if (text::FindWhole(lower, ".zip") != std::string::npos) return std::string(catalog::kIconZipDir);
    if (text::FindWhole(lower, ".rar") != std::string::npos) return std::string(catalog::kIconRarDir);
    return std::string(catalog::IconKeyOf(file));
}

}  // namespace

bool RowPictures::ShowsThumbnail(std::string_view extension) {
    static constexpr std::array<std::string_view, 6> kThumbnailed = {".jpg", ".gif", ".bmp",
                                                                     ".tif", ".psd", ".tiff"};
    for (const std::string_view known : kThumbnailed)
        if (extension == known) return true;
    return false;
}

fs::path RowPictures::DefaultPictureFile(catalog::DefaultPicture picture) const {
    const fs::path folder = m_discs.DiskFolder();
    fs::path file = folder / catalog::DefaultPictureFileName(picture);
    if (IsFile(file) || (catalog::WriteDefaultPicture(picture, folder) && IsFile(file))) return file;
    return {};
}

bool RowPictures::RestoreDefaultPicture(const fs::path& file) const {
    const fs::path folder = m_discs.DiskFolder();
    if (file.parent_path().lexically_normal() != folder.lexically_normal()) return false;
    for (const catalog::DefaultPicture picture : catalog::kAllDefaultPictures)
        if (file.filename() == catalog::DefaultPictureFileName(picture))
            return catalog::WriteDefaultPicture(picture, folder);
    return false;
}

// The walker's layout: the disc's "<disc file>.pic" folder, then one folder per folder name
// below the root, each name made safe on its own.
std::optional<fs::path> RowPictures::ThumbnailFolder(const catalog::CDir& dir) const {
    std::vector<const catalog::CDir*> chain;
    const catalog::CDir* at = &dir;
    for (; at->m_pParent; at = at->m_pParent) {
        // Archive listings are never thumbnailed; a broken chain is not followed forever.
        if (at->m_nDirKind == catalog::CDir::kKindArchive || chain.size() > catalog::CDir::kMaxDepth)
            return std::nullopt;
        chain.push_back(at);
    }
    const auto* cd = dynamic_cast<const catalog::CCD*>(at);
    if (!cd) return std::nullopt;
    fs::path folder = m_discs.PictureFolder(cd->m_strVolumeLabel, cd->m_dwVolumeSerial);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        folder /= catalog::SafeFileName((*it)->m_strName.view());
    return folder;
}

std::optional<fs::path> RowPictures::ThumbnailOf(const catalog::CFileInfo& file) const {
    if (!file.m_pParent || !ShowsThumbnail(ExtensionOf(file.m_strName.view()))) return std::nullopt;
    const std::optional<fs::path> folder = ThumbnailFolder(*file.m_pParent);
    if (!folder) return std::nullopt;
    fs::path thumbnail = *folder / scan::ThumbnailFileName(file.m_strName.view());
    if (IsFile(thumbnail)) return thumbnail;
    // The scan falls back to BMP when JPEG encoding fails.
    thumbnail.replace_extension(".bmp");
    if (IsFile(thumbnail)) return thumbnail;
    return std::nullopt;
}

const catalog::IconImage* StoredProgramIcon(const catalog::CFileInfo& file) {
    return ExtensionOf(file.m_strName.view()) == ".exe" ? file.m_icon.get() : nullptr;
}

RowPicture RowPictures::PictureOf(const CatalogObject& row) const {
    return std::visit(
        Overloaded{
            [&](catalog::CCategory* category) {
                return RowPicture{DefaultPictureFile(catalog::DefaultPicture::Category), nullptr,
                                  std::string(catalog::IconKeyOf(*category))};
            },
            [&](catalog::CDiskInfo* entry) {
                fs::path picture = m_covers.CoverOf(*entry).value_or(fs::path());
                if (picture.empty())
                    picture = DefaultPictureFile(catalog::DefaultPictureForKind(entry->m_nKind));
                return RowPicture{std::move(picture), nullptr, std::string(catalog::IconKeyOf(*entry))};
            },
            [&](catalog::CDir* dir) {
                return RowPicture{{}, nullptr, std::string(catalog::IconKeyOf(*dir))};
            },
            [&](catalog::CFileInfo* file) {
                RowPicture picture{{}, nullptr, FileIconKey(*file)};
                const std::string extension = ExtensionOf(file->m_strName.view());
                if (extension == ".exe") {
                    picture.programIcon = StoredProgramIcon(*file);
                } else if (std::optional<fs::path> thumbnail = ThumbnailOf(*file)) {
                    picture.file = std::move(*thumbnail);
                }
                return picture;
            },
            [&](ReadmeRow) {
                return RowPicture{{}, nullptr, std::string(catalog::kIconDiscInfo)};
            },
        },
        row);
}

}  // namespace pelko::shell
