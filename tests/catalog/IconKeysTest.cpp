#include "catalog/IconKeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

// A platform that knows icons for some extensions and records what it was asked.
struct FakePlatform {
    std::vector<std::string> known;
    std::vector<std::pair<std::string, int>> asked;

    IconKeys::PlatformIcon Callback() {
        return [this](std::string_view extension, int position) {
            asked.emplace_back(extension, position);
            for (const auto& k : known)
                if (k == extension) return true;
            return false;
        };
    }
};

TEST(IconKeysTest, FixedKeysComeFirstAndMatchTrimmedAndLowerCased) {
    IconKeys keys;
    const std::vector<std::string> expected = {"unkown", "category", "disk", "cdinfo", "fixeddisk",
                                               "zipdir", "fixeddir", "dir",  "rardir"};
    EXPECT_EQ(keys.Keys(), expected);

    const struct {
        const char* key;
        int position;
    } cases[] = {
        {"unkown", 0}, {" Category ", 1}, {"DISK", 2}, {"\tcdinfo\r\n", 3}, {"FixedDisk", 4},
        {"zipdir", 5}, {"fixeddir", 6},   {"Dir", 7},  {"rardir ", 8},
    };
    for (const auto& c : cases) EXPECT_EQ(keys.Position(c.key), c.position) << c.key;
    EXPECT_EQ(keys.Count(), 9u);
}

TEST(IconKeysTest, ExtensionOfAFileNameKey) {
    const struct {
        std::string key;
        std::string extension;
    } cases[] = {
        {"Song.MP3", ".mp3"},
        {".mp3", ".mp3"},
        {"  a.tar.GZ ", ".gz"},
        {"ab", ".ab"},  // short keys get a "." put before them
        {"abc", ".abc"},
        {"x.z", ".x.z"},        // three bytes or fewer are never cut at the "."
        {"README", ".readme"},  // no "." at all: the whole key
        {"", "."},
        {text::Local("歌曲.WMA"), ".wma"},
        {"\x81\x41", ".\x81\x41"},  // the trail byte of a double-byte character is no letter
    };
    for (const auto& c : cases) EXPECT_EQ(IconKeys::ExtensionKey(c.key), c.extension) << c.key;
}

// The first request for an extension grows the list by one; the same extension by another
// name or case finds that position without asking the platform again.
TEST(IconKeysTest, KnownExtensionIsAppendedOnce) {
    FakePlatform platform{{".mp3", ".txt"}, {}};
    IconKeys keys(platform.Callback());

    EXPECT_EQ(keys.Position("Song.MP3"), 9);
    EXPECT_EQ(keys.Count(), 10u);
    EXPECT_EQ(keys.Position(".mp3"), 9);
    EXPECT_EQ(keys.Position(" other.Mp3"), 9);
    EXPECT_EQ(keys.Position("notes.txt"), 10);
    EXPECT_EQ(keys.Count(), 11u);
    EXPECT_EQ(keys.Keys()[9], ".mp3");
    EXPECT_EQ(keys.Find(".txt"), 10);

    const std::vector<std::pair<std::string, int>> asked = {{".mp3", 9}, {".txt", 10}};
    EXPECT_EQ(platform.asked, asked);
}

// Without an icon from the platform the key falls back to "unkown" and nothing is entered, so
// a later request asks again.
TEST(IconKeysTest, ExtensionWithoutIconFallsBackToUnknown) {
    FakePlatform platform;
    IconKeys keys(platform.Callback());
    EXPECT_EQ(keys.Position("film.xyz"), 0);
    EXPECT_EQ(keys.Position("ab"), 0);
    EXPECT_EQ(keys.Position("film.XYZ"), 0);
    EXPECT_EQ(keys.Count(), 9u);
    EXPECT_EQ(keys.Find(".xyz"), -1);
    const std::vector<std::pair<std::string, int>> asked = {{".xyz", 9}, {".ab", 9}, {".xyz", 9}};
    EXPECT_EQ(platform.asked, asked);

    IconKeys bare;
    EXPECT_EQ(bare.Position("Song.MP3"), 0);
    EXPECT_EQ(bare.Count(), 9u);
}

TEST(IconKeysTest, KeyOfEachItem) {
    CCategory category;
    EXPECT_EQ(IconKeyOf(category), "category");

    const std::pair<std::uint8_t, const char*> kinds[] = {
        {0, "disk"}, {1, "fixeddisk"}, {2, "fixeddir"}, {3, "unkown"}, {255, "unkown"}};
    for (const auto& [kind, key] : kinds) {
        CDiskInfo entry;
        entry.m_nKind = kind;
        CCD cd;
        cd.m_nKind = kind;
        const CDir& asDir = cd;
        EXPECT_EQ(IconKeyOf(entry), key) << int{kind};
        EXPECT_EQ(IconKeyOf(cd), key) << int{kind};
        EXPECT_EQ(IconKeyOf(asDir), key) << int{kind};
    }

    const struct {
        std::uint8_t dirKind;
        std::string name;
        const char* key;
    } folders[] = {
        {CDir::kKindArchive, "Backup.ZIP", "zipdir"}, {CDir::kKindArchive, "a.zip.rar", "zipdir"},
        {CDir::kKindArchive, "data.rar", "rardir"},   {CDir::kKindArchive, "zip", "rardir"},
        {CDir::kKindFolder, "old.zip", "dir"},        {CDir::kKindFolder, text::Local("文档"), "dir"},
    };
    for (const auto& f : folders) {
        CDir dir;
        dir.m_nDirKind = f.dirKind;
        dir.m_strName = f.name;
        EXPECT_EQ(IconKeyOf(dir), f.key) << f.name;
    }

    CFileInfo file;
    file.m_strName = "Setup.EXE";
    EXPECT_EQ(IconKeyOf(file), "Setup.EXE");
    FakePlatform platform{{".exe"}, {}};
    IconKeys keys(platform.Callback());
    EXPECT_EQ(keys.Position(IconKeyOf(file)), 9);
    EXPECT_EQ(keys.Keys()[9], ".exe");
}

}  // namespace
}  // namespace pelko::catalog
