// Thumbnailing the pictures of each folder during a real walk of a temporary folder: which
// pictures get thumbnails, under which names, at which sizes, within which limits.

#include "scan/FolderThumbnails.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "WalkResultPrinter.h"
#include "catalog/CCD.h"
#include "catalog/CFileInfo.h"
#include "imaging/BmpCodec.h"
#include "imaging/JpegCodec.h"
#include "platform/LocalVolume.h"
#include "scan/ByteSource.h"
#include "scan/CScanProgress.h"
#include "scan/DirectoryWalker.h"
#include "scan/ScanExtras.h"
#include "scan/ScanState.h"
#include "support/Pictures.h"
#include "support/PsdBuilder.h"
#include "support/Requirements.h"
#include "support/TempDir.h"

namespace pelko::scan {
namespace {

namespace fs = std::filesystem;
using imaging::Size;
using test::Rgb;

// The picture side of the extras; the other extras find nothing.
class ThumbnailOnlyExtras final : public ScanExtras {
public:
    explicit ThumbnailOnlyExtras(FolderThumbnailer& thumbnailer) : m_thumbnailer(thumbnailer) {}
    WalkResult ListArchive(catalog::CDir&, platform::VolumeFolder&, std::string_view, ScanState&,
                           CScanProgress*) override {
        return WalkResult::Finished;
    }
    std::string ReadMp3Tag(platform::VolumeFolder&, std::string_view) override { return {}; }
    std::unique_ptr<catalog::IconImage> TakeProgramIcon(platform::VolumeFolder&, std::string_view) override {
        return nullptr;
    }
    WalkResult MakeThumbnails(catalog::CDir& dir, platform::VolumeFolder& folder, std::string_view folderPath,
                              const fs::path& thumbnailFolder, ScanState& state,
                              CScanProgress* progress) override {
        results.push_back(
            m_thumbnailer.MakeThumbnails(dir, folder, folderPath, thumbnailFolder, state, progress));
        return results.back();
    }
    std::vector<WalkResult> results;

private:
    FolderThumbnailer& m_thumbnailer;
};

class PictureProgress final : public CScanProgress {
public:
    bool IsCancelled() override { return ++polls > cancelAfter && cancelAfter >= 0; }
    void ShowFolderPath(std::string_view) override {}
    PictureAreaSize PictureArea() override { return area; }
    void ShowPicture(std::string_view picturePath, const fs::path& thumbnailPath) override {
        shown.emplace_back(std::string(picturePath), thumbnailPath.filename().string());
    }
    int polls = 0;
    int cancelAfter = -1;
    PictureAreaSize area;
    std::vector<std::pair<std::string, std::string>> shown;
};

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The size of a thumbnail file, JPEG or BMP.
std::optional<Size> SizeOf(const fs::path& file) {
    const std::vector<std::uint8_t> bytes = test::FileBytes(file);
    if (file.extension() == ".bmp") {
        const auto image = imaging::DecodeBmp(bytes);
        return image ? std::optional(image->PixelSize()) : std::nullopt;
    }
    return imaging::JpegDeclaredSize(bytes);
}

class FolderThumbnailsTest : public ::testing::Test {
protected:
    test::TempDir medium;
    test::TempDir catalogDir;
    ScanSettings scanSettings;
    PictureSettings pictures;
    PictureProgress progress;

    void Picture(std::string_view relative, int width, int height, bool asBmp = false) {
        const imaging::Image image = test::MakePicture(width, height, [](int x, int y) {
            return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0};
        });
        medium.WriteFile(relative, Text(asBmp ? test::BmpOf(image) : test::JpegOf(image)));
    }

    // Scans the medium folder; returns the thumbnail files made, by path below the ".pic"
    // folder, with their sizes.
    std::map<std::string, Size> Scan(CScanProgress* withProgress) {
        catalog::CCD cd;
        cd.m_strName = medium.path().string();
        cd.m_strVolumeLabel = "disc";
        cd.m_dwVolumeSerial = 7;
        cd.m_nKind = catalog::CCD::kKindFixedDir;
        FolderThumbnailer thumbnailer(scanSettings, pictures);
        ThumbnailOnlyExtras extras(thumbnailer);
        platform::LocalVolume volume;
        ScanSettings walkSettings = scanSettings;
        walkSettings.bPicScan = true;
        walked = DirectoryWalker(volume, walkSettings, catalogDir / "Disk", &extras).Scan(cd, withProgress);
        results = extras.results;
        std::map<std::string, Size> made;
        const fs::path root = catalogDir / "Disk" / "disc7.pkb.pic";
        if (!fs::is_directory(root)) return made;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            made[fs::relative(entry.path(), root).string()] = SizeOf(entry.path()).value_or(Size{-1, -1});
        }
        return made;
    }
    std::vector<WalkResult> results;
    WalkResult walked = WalkResult::Finished;
};

TEST_F(FolderThumbnailsTest, SizesFollowTheBoxAndTheArea) {
    pictures.bPicSize = true;  // 320 x 240
    Picture("big.jpg", 1000, 800);
    Picture("wide.bmp", 2000, 100, true);
    Picture("small.jpg", 100, 50);
    Picture("sub/photo.jpe", 300, 235);
    Picture("sub/tiny.jpg", 8, 8);
    Picture("alone/photo.jpe", 8, 8);  // ".jpe" alone does not mark a folder as holding pictures
    const std::map<std::string, Size> made = Scan(&progress);
    const std::map<std::string, Size> expected = {
        {"big.jpg", {320, 240}},        // fitted into the set box
        {"wide.jpg", {2000, 100}},      // larger in one direction only: kept whole
        {"small.jpg", {100, 50}},       // smaller than everything
        {"sub/photo.jpg", {260, 230}},  // not above 320 x 240 in both, but above the area
        {"sub/tiny.jpg", {8, 8}},
    };
    EXPECT_EQ(made, expected);

    // Without a set size, the picture area decides.
    pictures.bPicSize = false;
    progress.area = {400, 300};
    fs::remove_all(catalogDir / "Disk");
    EXPECT_EQ(Scan(&progress).at("big.jpg"), (Size{400, 300}));
}

TEST_F(FolderThumbnailsTest, ThumbnailIsTheFittedPictureBetweenWhiteBands) {
    pictures.bPicSize = true;
    medium.WriteFile("dark.jpg",
                     Text(test::JpegOf(test::MakePicture(1000, 800, [](int, int) { return Rgb{}; }))));
    Scan(&progress);
    const auto thumbnail =
        imaging::DecodeJpeg(test::FileBytes(catalogDir / "Disk" / "disc7.pkb.pic" / "dark.jpg"));
    ASSERT_TRUE(thumbnail);
    ASSERT_EQ(thumbnail->PixelSize(), (Size{320, 240}));
    for (int x : {0, 5, 8, 312, 319}) EXPECT_GT(test::PixelAt(*thumbnail, x, 120).r, 240) << x;
    for (int x : {12, 160, 307}) EXPECT_LT(test::PixelAt(*thumbnail, x, 120).r, 15) << x;
}

TEST_F(FolderThumbnailsTest, OneNameForPicturesThatDifferOnlyInExtension) {
    // a.bmp takes far longer to decode than a.jpg; the two are decoded side by side, but a.jpg
    // comes later in name order and its thumbnail is saved last, over a.bmp's.
    Picture("a.bmp", 1500, 1000, true);
    Picture("a.jpg", 100, 50);
    const std::map<std::string, Size> made = Scan(&progress);
    EXPECT_EQ(made, (std::map<std::string, Size>{{"a.jpg", {100, 50}}}));
    ASSERT_EQ(progress.shown.size(), 2u);
    EXPECT_EQ(progress.shown[1].first, (medium.path() / "a.jpg").string());
    EXPECT_EQ(progress.shown[1].second, "a.jpg");
}

TEST_F(FolderThumbnailsTest, EveryPictureKindAndNothingElse) {
    const std::vector<std::uint8_t> jpeg = test::JpegOf(test::MakePicture(8, 6));
    test::PsdLayout psd;
    psd.resources = {{1036, "", test::ThumbnailResourceData(jpeg, 8, 6)}};
    medium.WriteFile("layered.psd", Text(test::BuildPsd(psd)));
    test::PsdLayout flat;
    flat.planes = test::UniformPlanes({9, 8, 7}, 4);
    medium.WriteFile("flat.psd", Text(test::BuildPsd(flat)));
    test::PsdLayout zip = flat;
    zip.compression = 2;
    medium.WriteFile("packed.psd", Text(test::BuildPsd(zip)));
    test::PsdLayout bitmap = flat;
    bitmap.depth = 1;
    bitmap.mode = 0;
    medium.WriteFile("mono.psd", Text(test::BuildPsd(bitmap)));
    Picture("shot.JPG", 20, 10);
    medium.WriteFile("broken.jpg", "not a picture at all");
    medium.WriteFile("notes.txt", "text");
    Picture("fake.png", 20, 10);
    const std::map<std::string, Size> made = Scan(&progress);
    EXPECT_EQ(test::FileBytes(catalogDir / "Disk" / "disc7.pkb.pic" / "layered.jpg"), jpeg);
    EXPECT_EQ(made.at("flat.jpg"), (Size{2, 2}));
    EXPECT_EQ(made.at("shot.jpg"), (Size{20, 10}));
    EXPECT_FALSE(made.contains("packed.jpg"));
    EXPECT_FALSE(made.contains("mono.jpg"));
    EXPECT_FALSE(made.contains("broken.jpg"));
    EXPECT_FALSE(made.contains("notes.jpg"));
    EXPECT_FALSE(made.contains("fake.jpg"));
}

TEST_F(FolderThumbnailsTest, RealTiffAndGifPicturesGetThumbnails) {
    REQUIRE_FIXTURES();
    const fs::path fixtures = test::SharedFixtures() / "images";
    fs::copy_file(fixtures / "copyleft.tiff", medium / "scan.tiff");
    fs::copy_file(fixtures / "hopper.gif", medium / "hopper.gif");
    const std::map<std::string, Size> made = Scan(&progress);
    EXPECT_EQ(made, (std::map<std::string, Size>{{"scan.jpg", {220, 220}}, {"hopper.jpg", {128, 128}}}));
}

TEST_F(FolderThumbnailsTest, PictureTooWideForJpegIsSavedAsBmp) {
    Picture("strip.bmp", 70000, 1, true);
    const std::map<std::string, Size> made = Scan(&progress);
    EXPECT_EQ(made, (std::map<std::string, Size>{{"strip.bmp", {70000, 1}}}));
}

TEST_F(FolderThumbnailsTest, PerFolderLimitStopsTheFolder) {
    pictures.bMostPicPerDir = true;
    pictures.nMostPicPerDir = 3;
    for (int i = 0; i < 10; ++i) Picture("p" + std::to_string(i) + ".jpg", 8, 8);
    for (int i = 0; i < 2; ++i) Picture("sub/q" + std::to_string(i) + ".jpg", 8, 8);
    const std::map<std::string, Size> made = Scan(&progress);
    std::vector<std::string> names;
    for (const auto& [name, size] : made) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "sub/q0.jpg", "sub/q1.jpg"}));
    EXPECT_EQ(results, (std::vector<WalkResult>{WalkResult::Finished, WalkResult::Finished}));
    EXPECT_EQ(walked, WalkResult::Finished) << "a picture limit is not a stop";
}

TEST_F(FolderThumbnailsTest, PerScanLimitStopsEveryLaterFolder) {
    pictures.bMostPicPerDisk = true;
    pictures.nMostPicPerDisk = 5;
    for (int i = 0; i < 4; ++i) Picture("a/p" + std::to_string(i) + ".jpg", 8, 8);
    for (int i = 0; i < 4; ++i) Picture("b/q" + std::to_string(i) + ".jpg", 8, 8);
    Picture("c/r.jpg", 8, 8);
    const std::map<std::string, Size> made = Scan(&progress);
    std::vector<std::string> names;
    for (const auto& [name, size] : made) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"a/p0.jpg", "a/p1.jpg", "a/p2.jpg", "a/p3.jpg", "b/q0.jpg"}));
}

TEST_F(FolderThumbnailsTest, SwitchedOffTypesAndNoProgressWindowGiveNothing) {
    pictures.bPicBmp = false;
    Picture("a.bmp", 8, 8, true);
    Picture("b.jpg", 8, 8);
    EXPECT_EQ(Scan(&progress).size(), 1u);
    fs::remove_all(catalogDir / "Disk");
    EXPECT_TRUE(Scan(nullptr).empty());
}

TEST_F(FolderThumbnailsTest, CancelStopsTheFolderAndTheScan) {
    for (int i = 0; i < 7; ++i) Picture("p" + std::to_string(i) + ".jpg", 8, 8);
    // The walker polls at the folder's start and before entries 1, 6; the thumbnailer then
    // polls before its first record and cancels there.
    progress.cancelAfter = 3;
    EXPECT_TRUE(Scan(&progress).empty());
    EXPECT_EQ(results, (std::vector<WalkResult>{WalkResult::Cancelled}));
    EXPECT_EQ(walked, WalkResult::Cancelled);

    // Cancelled at its second poll, before the sixth record: the five before it were made,
    // although later pictures were already being decoded ahead.
    fs::remove_all(catalogDir / "Disk");
    progress.polls = 0;
    progress.cancelAfter = 4;
    const std::map<std::string, Size> made = Scan(&progress);
    std::vector<std::string> names;
    for (const auto& [name, size] : made) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}));
    EXPECT_EQ(results, (std::vector<WalkResult>{WalkResult::Cancelled}));
    EXPECT_EQ(walked, WalkResult::Cancelled);
}

// The thumbnailer over a folder record made by hand: records from an earlier scan are visited
// too, but only as many pictures as the walk added files are handled, and the exclude list
// applies to the records' extensions.
TEST_F(FolderThumbnailsTest, BudgetAndExcludeListApplyToRecords) {
    Picture("a.jpg", 8, 8);
    Picture("b.bmp", 8, 8, true);
    Picture("c.jpg", 8, 8);
    Picture("d.jpg", 8, 8);
    catalog::CDir dir;
    dir.m_strName = medium.path().string();
    for (const char* name : {"a.jpg", "b.bmp", "c.jpg", "d.jpg"}) {
        auto file = std::make_unique<catalog::CFileInfo>();
        file->m_strName = name;
        dir.InsertFile(std::move(file));
    }
    scanSettings.bCheckFileExt = true;
    scanSettings.szFileLimit = "*.bmp";
    FolderThumbnailer thumbnailer(scanSettings, pictures);
    platform::LocalVolume volume;
    const auto folder = volume.OpenFolder(medium.path().string());
    ASSERT_TRUE(folder);
    ScanState state;
    state.nDirFileCount = 2;
    const fs::path out = catalogDir.MakeFolder("out");
    EXPECT_EQ(thumbnailer.MakeThumbnails(dir, *folder, dir.m_strName.str(), out, state, &progress),
              WalkResult::Finished);
    EXPECT_EQ(state.nDirFileCount, 0);
    EXPECT_TRUE(fs::exists(out / "a.jpg"));
    EXPECT_FALSE(fs::exists(out / "b.jpg"));
    EXPECT_TRUE(fs::exists(out / "c.jpg"));
    EXPECT_FALSE(fs::exists(out / "d.jpg"));
}

TEST(ThumbnailFileNameTest, NamesStayInsideTheirFolder) {
    const struct {
        const char* picture;
        const char* thumbnail;
    } cases[] = {
        {"a.bmp", "a.jpg"}, {"photo.tar.TIF", "photo.tar.jpg"}, {"noext", "noext.jpg"},   {".jpg", ".jpg"},
        {"..", "..jpg"},    {"../../x.jpg", ".._.._x.jpg"},     {"a\\b.gif", "a\\b.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(ThumbnailFileName(c.picture), c.thumbnail) << c.picture;
}

TEST(ThumbnailFileNameTest, ThumbnailReplacesASymbolicLinkInsteadOfFollowingIt) {
    test::TempDir dir;
    const fs::path outside = dir.WriteFile("outside/secret.txt", "keep");
    fs::create_directory(dir / "pic");
    fs::create_symlink(outside, dir / "pic" / "x.jpg");
    PictureSettings settings;
    CPicStatic picture;
    const std::vector<std::uint8_t> jpeg = test::JpegOf(test::MakePicture(8, 8));
    MemoryByteSource source(jpeg);
    picture.MakeThumbnail(&source, ".jpg", dir / "pic" / "x.jpg", Size{260, 230}, settings);
    EXPECT_EQ(test::ReadFile(outside), "keep");
}

}  // namespace
}  // namespace pelko::scan
