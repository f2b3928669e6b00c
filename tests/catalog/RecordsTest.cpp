#include <gtest/gtest.h>

#include <vector>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes hand-made record bytes, e.g. records of older versions.
struct Writer {
    Bytes bytes;
    CArchive ar{bytes, CArchive::Mode::Store};
    Writer& Byte(std::uint8_t v) { return ar.WriteByte(v), *this; }
    Writer& Dword(std::uint32_t v) { return ar.WriteDword(v), *this; }
    Writer& Double(double v) { return ar.WriteDouble(v), *this; }
    Writer& String(std::string_view s) { return ar.WriteString(s), *this; }
    Writer& Time(std::uint64_t t) {
        return Dword(static_cast<std::uint32_t>(t)).Dword(static_cast<std::uint32_t>(t >> 32));
    }
};

template <typename Record>
Bytes Store(Record& record) {
    Bytes out;
    CArchive ar(out, CArchive::Mode::Store);
    record.Serialize(ar);
    return out;
}

template <typename Record>
void Load(Record& record, const Bytes& bytes) {
    CArchive ar(bytes);
    record.Serialize(ar);
    EXPECT_EQ(ar.RemainingBound(), 0u) << "record not consumed exactly";
}

std::unique_ptr<CFileInfo> File(std::string name, std::uint64_t size = 0) {
    auto f = std::make_unique<CFileInfo>();
    f->m_strName = std::move(name);
    f->SetSize(size);
    return f;
}

std::unique_ptr<CDir> Dir(std::string name) {
    auto d = std::make_unique<CDir>();
    d->m_strName = std::move(name);
    return d;
}

TEST(RecordsTest, FileInfoCurrentVersionRoundTrip) {
    CFileInfo file;
    file.m_strName = text::Local("光盘.iso");
    file.m_strMemo = "memo";
    file.SetSize(0x100000001ull);
    file.m_ftTime = 0x01D2'3456'789A'BCDEull;
    auto icon = std::make_unique<IconImage>();
    icon->pixels[0] = 0xFF112233;
    file.SetIcon(std::move(icon));
    const Bytes bytes = Store(file);
    EXPECT_EQ(bytes[0], 0x33);

    CFileInfo back;
    Load(back, bytes);
    EXPECT_EQ(back.m_strName, file.m_strName);
    EXPECT_EQ(back.m_strMemo, "memo");
    EXPECT_EQ(back.Size(), 0x100000001ull);
    EXPECT_EQ(back.m_ftTime, file.m_ftTime);
    ASSERT_TRUE(back.HasIcon());
    EXPECT_EQ(back.m_icon->pixels[0], 0xFF112233u);
}

TEST(RecordsTest, FileInfoOlderVersionsLackLaterFields) {
    struct Case {
        const char* rule;
        Bytes bytes;
        std::uint64_t size;
    };
    const Case cases[] = {
        {"0x27: no size high, no flags, no icon",
         Writer().Byte(0x27).String("a").String("").Dword(7).Time(99).bytes, 7},
        {"0x28: flags without icon, still no size high",
         Writer().Byte(0x28).String("a").String("").Dword(7).Time(99).Byte(0).bytes, 7},
        {"0x33: size high read",
         Writer().Byte(0x33).String("a").String("").Dword(7).Dword(1).Time(99).Byte(0).bytes, 0x100000007ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CFileInfo file;
        Load(file, c.bytes);
        EXPECT_EQ(file.m_strName, "a");
        EXPECT_EQ(file.Size(), c.size);
        EXPECT_EQ(file.m_ftTime, 99u);
        EXPECT_FALSE(file.HasIcon());
    }
}

TEST(RecordsTest, DirBeforeKindByteReadsAsOrdinaryFolder) {
    const Bytes bytes = Writer()
                            .Byte(0x22)
                            .String("old")
                            .String("m")
                            .Dword(1)
                            .Byte(0x27)
                            .String("f")
                            .String("")
                            .Dword(3)
                            .Time(1)
                            .Dword(0)
                            .bytes;
    CDir dir;
    Load(dir, bytes);
    EXPECT_EQ(dir.m_nDirKind, CDir::kKindFolder);
    EXPECT_EQ(dir.m_strName, "old");
    ASSERT_EQ(dir.Files().size(), 1u);
    EXPECT_EQ(dir.Files()[0]->m_pParent, &dir);
}

TEST(RecordsTest, SortedInsertionRefusesNamesEqualWithoutCase) {
    CDir dir;
    EXPECT_NE(dir.InsertFile(File("b.txt")), nullptr);
    EXPECT_NE(dir.InsertFile(File("A.txt")), nullptr);
    EXPECT_NE(dir.InsertFile(File("c.txt")), nullptr);
    EXPECT_EQ(dir.InsertFile(File("B.TXT")), nullptr);
    EXPECT_NE(dir.InsertSubdir(Dir("Z")), nullptr);
    EXPECT_EQ(dir.InsertSubdir(Dir("z")), nullptr);
    std::vector<std::string> names;
    for (const auto& f : dir.Files()) names.push_back(f->m_strName.str());
    EXPECT_EQ(names, (std::vector<std::string>{"A.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(dir.Files()[1]->m_pParent, &dir);
}

TEST(RecordsTest, DiscRoundTripWithTotals) {
    CCD cd;
    cd.m_strVolumeLabel = "DATA";
    cd.m_dwVolumeSerial = 3735928559u;
    cd.m_strFileSystem = "CDFS";
    cd.m_nKind = CCD::kKindFixedDir;
    cd.m_strFolderPath = "/srv/data";
    cd.m_strName = "/srv/data";
    CDir* sub = cd.InsertSubdir(Dir("sub"));
    sub->InsertFile(File("big", (1ull << 32) + 1));
    cd.InsertFile(File("small", 10));
    cd.RecomputeTotals();
    EXPECT_EQ(cd.m_dCurrentBytes, 4294967307.0);
    EXPECT_EQ(cd.m_nFileCount, 2u);
    EXPECT_EQ(cd.m_nFolderCount, 1u);

    const Bytes bytes = Store(cd);
    CCD back;
    Load(back, bytes);
    EXPECT_EQ(back.m_nVersionRead, CCD::kVersion);
    EXPECT_EQ(back.m_strVolumeLabel, "DATA");
    EXPECT_EQ(back.m_dwVolumeSerial, 3735928559u);
    EXPECT_EQ(back.m_strFolderPath, "/srv/data");
    EXPECT_EQ(back.m_nKind, CCD::kKindFixedDir);
    EXPECT_EQ(back.m_dCurrentBytes, 4294967307.0);
    EXPECT_EQ(back.m_nFileCount, 2u);
    ASSERT_EQ(back.Subdirs().size(), 1u);
    EXPECT_EQ(back.Subdirs()[0]->Files()[0]->Size(), (1ull << 32) + 1);
    EXPECT_EQ(back.Subdirs()[0]->OwningCD(), &back);
}

TEST(RecordsTest, DiscVersion0x30HasNoStatistics) {
    const Bytes bytes = Writer()
                            .String(CCD::kSignature)
                            .String("OLD")
                            .Dword(5)
                            .Dword(255)
                            .Dword(0)
                            .String("CDFS")
                            .Byte(0x30)
                            .Byte(0)
                            .String("readme")
                            .String("")
                            .Byte(0x23)
                            .Byte(0)
                            .String("D:")
                            .String("")
                            .Dword(1)
                            .Byte(0x33)
                            .String("f")
                            .String("")
                            .Dword(100)
                            .Dword(0)
                            .Time(1)
                            .Byte(0)
                            .Dword(0)
                            .bytes;
    CCD cd;
    Load(cd, bytes);
    EXPECT_EQ(cd.m_nVersionRead, 0x30);
    EXPECT_EQ(cd.m_strReadme, "readme");
    EXPECT_EQ(cd.m_nFileCount, 0u);
    EXPECT_EQ(cd.m_dCurrentBytes, 0.0);
    ASSERT_EQ(cd.Files().size(), 1u);
}

TEST(RecordsTest, DiscBeforeKindKeepsDefaults) {
    const Bytes bytes = Writer()
                            .String(CCD::kSignature)
                            .String("V")
                            .Dword(1)
                            .Dword(0)
                            .Dword(0)
                            .String("")
                            .Byte(0x22)
                            .Byte(0x22)
                            .String("D:")
                            .String("")
                            .Dword(0)
                            .Dword(0)
                            .bytes;
    CCD cd;
    Load(cd, bytes);
    EXPECT_EQ(cd.m_nKind, CCD::kKindDisk);
    EXPECT_EQ(cd.m_strReadme, text::Local("该对象目前没有描述信息"));
    EXPECT_TRUE(cd.m_strFolderPath.empty());
}

TEST(RecordsTest, DiskInfoVersionsAndReservedBlock) {
    CDiskInfo entry;
    entry.m_strName = "n";
    entry.m_strVolumeLabel = "L";
    entry.m_dwVolumeSerial = 7;
    entry.m_nKind = 1;
    entry.m_reserved = {1, 2, 3, 4, 5, 6, 7, 8};
    entry.m_strFolderPath = "p";
    entry.m_dScanBytes = 5;
    entry.m_dCurrentBytes = 6;
    entry.m_nFileCount = 3;
    entry.m_nFolderCount = 4;
    const Bytes bytes = Store(entry);
    EXPECT_EQ(bytes[0], 0x31);
    CDiskInfo back;
    Load(back, bytes);
    EXPECT_EQ(back.m_reserved, entry.m_reserved);
    EXPECT_EQ(back.m_nFileCount, 3u);
    EXPECT_EQ(back.m_nFolderCount, 4u);
    EXPECT_EQ(back.m_dCurrentBytes, 6.0);

    CDiskInfo old;
    Load(old, Writer().Byte(0x23).String("n").String("L").Dword(7).String("m").Byte(2).bytes);
    EXPECT_EQ(old.m_nKind, 2);
    EXPECT_TRUE(old.IsOldVersion());
}

TEST(RecordsTest, OwnerIsFoundOverAtMost130Folders) {
    CCD cd;
    CDir* dir = &cd;
    std::vector<CDir*> chain;
    for (int i = 0; i < 140; ++i) {
        dir = dir->InsertSubdir(Dir("d"));
        chain.push_back(dir);
    }
    EXPECT_EQ(chain[128]->OwningCD(), &cd);  // 130 links up to the root
    EXPECT_EQ(chain[129]->OwningCD(), nullptr);
    cd.m_bModified = false;
    chain[0]->RemoveSubdirAt(0);
    EXPECT_TRUE(cd.m_bModified);
}

// Damaged input must end in an archive error, never in a crash or a huge allocation.
TEST(RecordsTest, HostileCountsAndNestingAreRefused) {
    struct Case {
        const char* rule;
        Bytes bytes;
    };
    Writer deep;
    for (int i = 0; i < 200000; ++i) deep.Byte(0x23).Byte(0).String("").String("").Dword(0).Dword(1);
    const Case cases[] = {
        {"file count 0x7FFFFFFF with no records",
         Writer().Byte(0x23).Byte(0).String("").String("").Dword(0x7FFFFFFF).bytes},
        {"folder count 0x7FFFFFFF",
         Writer().Byte(0x23).Byte(0).String("").String("").Dword(0).Dword(0x7FFFFFFF).bytes},
        {"folders nested far too deep", deep.bytes},
        {"truncated file record",
         Writer().Byte(0x23).Byte(0).String("").String("").Dword(1).Byte(0x33).String("abc").bytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CDir dir;
        CArchive ar(c.bytes);
        EXPECT_THROW(dir.Serialize(ar), ArchiveError);
    }
    CDir negative;  // negative counts mean no element
    Load(negative,
         Writer().Byte(0x23).Byte(0).String("").String("").Dword(0xFFFFFFFF).Dword(0x80000000).bytes);
    EXPECT_TRUE(negative.Files().empty());
}

TEST(RecordsTest, FullAndRelativePaths) {
    struct Case {
        const char* root;
        const char* child;
        const char* grandchild;
    };
    const Case cases[] = {
        {"D:\\", "D:\\a", "D:\\a\\b"},
        {"D:", "D:\\a", "D:\\a\\b"},
        {"/", "/a", "/a/b"},
        {"/srv/data", "/srv/data/a", "/srv/data/a/b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        CCD cd;
        cd.m_strName = c.root;
        CDir* a = cd.InsertSubdir(Dir("a"));
        CDir* b = a->InsertSubdir(Dir("b"));
        EXPECT_EQ(cd.FullPath(), c.root);
        EXPECT_EQ(a->FullPath(), c.child);
        EXPECT_EQ(b->FullPath(), c.grandchild);
        EXPECT_EQ(b->RelativePath(), "\\a\\b");
        EXPECT_EQ(cd.RelativePath(), "");
    }
}

TEST(RecordsTest, DiscFileNames) {
    EXPECT_EQ(DiscFileName("DATA", 3735928559u), "DATA3735928559.pkb");
    EXPECT_EQ(DiscFileName("", 0), "0.pkb");
}

}  // namespace
}  // namespace pelko::catalog
