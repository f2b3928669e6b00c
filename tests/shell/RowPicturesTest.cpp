#include "shell/RowPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDiskInfo.h"
#include "catalog/DefaultPictures.h"
#include "catalog/DiscStore.h"
#include "catalog/IconKeys.h"
#include "shell/CoverPictures.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;

std::string Bytes(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

class RowPicturesTest : public ::testing::Test {
protected:
    RowPicturesTest() {
        cd.m_strVolumeLabel = "DISC";
        cd.m_dwVolumeSerial = 42;
        entry.m_strVolumeLabel = "DISC";
        entry.m_dwVolumeSerial = 42;
    }

    catalog::CDir* Folder(catalog::CDir& parent, std::string_view name,
                          std::uint8_t kind = catalog::CDir::kKindFolder) {
        auto dir = std::make_unique<catalog::CDir>();
        dir->m_strName = name;
        dir->m_nDirKind = kind;
        return parent.InsertSubdir(std::move(dir));
    }
    catalog::CFileInfo* File(catalog::CDir& parent, std::string_view name) {
        auto file = std::make_unique<catalog::CFileInfo>();
        file->m_strName = name;
        return parent.InsertFile(std::move(file));
    }
    fs::path PictureFolder() const { return discs.PictureFolder("DISC", 42); }

    test::TempDir dir;
    test::RecordingLog log;
    catalog::DiscStore discs{dir.path(), log};
    CoverPictures covers{discs, log};
    RowPictures pictures{discs, covers};
    catalog::CCD cd;
    catalog::CDiskInfo entry;
};

TEST_F(RowPicturesTest, CategoryPictureIsWrittenWhenMissingAndKeptOtherwise) {
    catalog::CCategory category;
    const fs::path cat = dir / "Disk" / "cat.bmp";

    const RowPicture first = pictures.PictureOf(&category);
    EXPECT_EQ(first.file, cat);
    EXPECT_EQ(first.iconKey, "category");
    EXPECT_EQ(test::ReadFile(cat), Bytes(catalog::DefaultPictureBytes(catalog::DefaultPicture::Category)));

    // A picture the user put there is shown as it is, not replaced.
    dir.WriteFile("Disk/cat.bmp", "own picture");
    EXPECT_EQ(pictures.PictureOf(&category).file, cat);
    EXPECT_EQ(test::ReadFile(cat), "own picture");
}

TEST_F(RowPicturesTest, OnlyDefaultPicturesOfTheDiskFolderAreRestored) {
    catalog::CCategory category;
    const fs::path cat = pictures.PictureOf(&category).file;
    dir.WriteFile("Disk/cat.bmp", "damaged");
    EXPECT_TRUE(pictures.RestoreDefaultPicture(cat));
    EXPECT_EQ(test::ReadFile(cat), Bytes(catalog::DefaultPictureBytes(catalog::DefaultPicture::Category)));

    const fs::path cover = dir.WriteFile("Disk/DISC42.bmp", "cover");
    const fs::path elsewhere = dir.WriteFile("other/fdisk.bmp", "someone else's");
    for (const fs::path& other : {cover, elsewhere}) {
        SCOPED_TRACE(other.string());
        EXPECT_FALSE(pictures.RestoreDefaultPicture(other));
    }
    EXPECT_EQ(test::ReadFile(cover), "cover");
    EXPECT_EQ(test::ReadFile(elsewhere), "someone else's");
}

TEST_F(RowPicturesTest, EntryShowsItsCoverElseTheDefaultPictureOfItsKind) {
    struct Case {
        std::uint8_t kind;
        const char* picture;
        catalog::DefaultPicture bytes;
    };
    for (const Case& c : {Case{0, "disk.bmp", catalog::DefaultPicture::Disc},
                          Case{1, "fdisk.bmp", catalog::DefaultPicture::HardDisk},
                          Case{2, "fdir.bmp", catalog::DefaultPicture::Folder},
                          Case{9, "fdir.bmp", catalog::DefaultPicture::Folder}}) {
        SCOPED_TRACE(c.picture);
        entry.m_nKind = c.kind;
        EXPECT_EQ(pictures.PictureOf(&entry).file, dir / "Disk" / c.picture);
        EXPECT_EQ(test::ReadFile(dir / "Disk" / c.picture), Bytes(catalog::DefaultPictureBytes(c.bytes)));
    }

    const fs::path bitmap = dir.WriteFile("Disk/DISC42.bmp", "bmp cover");
    EXPECT_EQ(pictures.PictureOf(&entry).file, bitmap);
    const fs::path jpeg = dir.WriteFile("Disk/DISC42.jpg", "jpeg cover");
    EXPECT_EQ(pictures.PictureOf(&entry).file, jpeg) << "the JPEG cover comes first";
}

TEST_F(RowPicturesTest, FilesShowTheirThumbnailTheirProgramIconOrTheirIconKey) {
    catalog::CDir* photos = Folder(*Folder(cd, "photos"), "2024");
    catalog::CFileInfo* jpeg = File(*photos, "Beach.JPG");
    catalog::CFileInfo* tiff = File(*photos, "scan.tiff");
    catalog::CFileInfo* gif = File(*photos, "none.gif");
    catalog::CFileInfo* text = File(*photos, "notes.txt");
    catalog::CFileInfo* archive = File(*photos, "old.ZIP");
    catalog::CFileInfo* setup = File(cd, "setup.EXE");
    catalog::CFileInfo* bare = File(cd, "bare.exe");
    auto icon = std::make_unique<catalog::IconImage>();
    icon->pixels[0] = 0xFF112233;
    setup->SetIcon(std::move(icon));

    const fs::path folder = PictureFolder() / "photos" / "2024";
    const fs::path beach = dir.WriteFile(fs::relative(folder / "Beach.jpg", dir.path()).string(), "jpeg");
    dir.WriteFile(fs::relative(folder / "Beach.bmp", dir.path()).string(), "bmp");
    const fs::path scan = dir.WriteFile(fs::relative(folder / "scan.bmp", dir.path()).string(), "bmp");
    dir.WriteFile(fs::relative(folder / "notes.jpg", dir.path()).string(), "jpeg");

    EXPECT_EQ(pictures.PictureOf(jpeg).file, beach) << "JPEG thumbnail first";
    EXPECT_EQ(pictures.PictureOf(tiff).file, scan) << "the BMP a failed JPEG encoding left";
    EXPECT_EQ(pictures.PictureOf(setup).programIcon, setup->m_icon.get());
    EXPECT_TRUE(pictures.PictureOf(setup).file.empty());

    struct Keyed {
        catalog::CFileInfo* file;
        const char* key;
    };
    for (const Keyed& k : {Keyed{gif, "none.gif"}, Keyed{text, "notes.txt"}, Keyed{archive, "zipdir"},
                           Keyed{bare, "bare.exe"}}) {
        SCOPED_TRACE(k.key);
        const RowPicture picture = pictures.PictureOf(k.file);
        EXPECT_TRUE(picture.file.empty());
        EXPECT_EQ(picture.programIcon, nullptr);
        EXPECT_EQ(picture.iconKey, k.key);
    }

    EXPECT_EQ(pictures.PictureOf(photos).iconKey, "dir");
    EXPECT_TRUE(pictures.PictureOf(photos).file.empty());
    EXPECT_EQ(pictures.PictureOf(ReadmeRow{}).iconKey, "cdinfo");
}

TEST_F(RowPicturesTest, PicturesInsideArchivesHaveNoThumbnail) {
    catalog::CDir* zip = Folder(cd, "pics.zip", catalog::CDir::kKindArchive);
    catalog::CFileInfo* inside = File(*zip, "a.jpg");
    dir.WriteFile(fs::relative(PictureFolder() / "pics.zip" / "a.jpg", dir.path()).string(), "jpeg");
    EXPECT_EQ(pictures.ThumbnailOf(*inside), std::nullopt);
    EXPECT_EQ(pictures.PictureOf(zip).iconKey, "zipdir");
}

TEST_F(RowPicturesTest, HostileNamesFromTheDiscFileStayInsideTheDiskFolder) {
    // Taken literally, folder ".." and file "../../x.jpg" would lead from the thumbnail folder
    // up to the catalog folder; bait waits there.
    catalog::CDir* up = Folder(cd, "..");
    catalog::CFileInfo* file = File(*up, "../../x.jpg");
    dir.WriteFile("x.jpg", "outside");
    dir.WriteFile("Disk/x.jpg", "outside");
    EXPECT_EQ(pictures.ThumbnailOf(*file), std::nullopt);

    const std::optional<fs::path> safe = [&] {
        dir.WriteFile(fs::relative(PictureFolder() / "__" / ".._.._x.jpg", dir.path()).string(), "inside");
        return pictures.ThumbnailOf(*file);
    }();
    ASSERT_TRUE(safe.has_value());
    EXPECT_EQ(test::ReadFile(*safe), "inside");
    const std::string normal = safe->lexically_normal().string();
    EXPECT_EQ(normal.rfind(PictureFolder().string() + "/", 0), 0u) << normal;

    // A label with a slash names a file in the Disk folder, not a folder elsewhere.
    entry.m_strVolumeLabel = "../../etc";
    const fs::path picture = pictures.PictureOf(&entry).file;
    EXPECT_EQ(picture, dir / "Disk" / "disk.bmp");
    dir.WriteFile("Disk/.._.._etc42.jpg", "cover");
    EXPECT_EQ(pictures.PictureOf(&entry).file, dir / "Disk" / ".._.._etc42.jpg");
}

}  // namespace
}  // namespace pelko::shell
