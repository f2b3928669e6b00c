#include "scan/ArchiveListing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ExtrasBuilders.h"
#include "ExtrasTestSupport.h"
#include "WalkResultPrinter.h"
#include "scan/ByteSource.h"
#include "scan/RarHeaders.h"
#include "scan/ScanSettings.h"
#include "scan/ScanState.h"
#include "scan/ZipDirectory.h"
#include "text/Codec.h"

namespace pelko::scan {
namespace {

using catalog::CDir;
using namespace test;

struct Listed {
    WalkResult result = WalkResult::Finished;
    std::vector<std::string> records;  // sorted, so tables need not follow the name order
    ScanState state;
};

Listed List(const std::string& bytes, ArchiveFormat format, const ScanSettings& settings = {},
            CScanProgress* progress = nullptr, CDir* into = nullptr) {
    CDir local;
    CDir& folder = into ? *into : local;
    MemoryByteSource source(Bytes(bytes));
    Listed out;
    out.result = ListArchive(folder, source, format, settings, out.state, progress);
    out.records = Rendered(folder);
    std::sort(out.records.begin(), out.records.end());
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

struct FixtureCase {
    const char* file;
    std::vector<std::string> records;
};

void CheckFixtures(const std::vector<FixtureCase>& cases, ArchiveFormat format) {
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::optional<std::string> bytes = Fixture(c.file);
        ASSERT_TRUE(bytes);
        const Listed listed = List(*bytes, format);
        EXPECT_EQ(listed.result, WalkResult::Finished);
        EXPECT_EQ(listed.records, Sorted(c.records));
    }
}

TEST(ArchiveListing, ZipArchivesWrittenByOtherToolsGiveTheirEntries) {
    REQUIRE_FIXTURES();
    const std::string jp = text::Local("表だよ\\|");
    CheckFixtures(
        {
            {"zip/test_read_format_zip.zip",
             {"|file1|18|2007-05-19 12:51:30", "|file2|18|2007-05-19 13:18:52"}},
            {"zip/test_compat_zip_6.zip",
             {"New Folder\\New Folder\\|New Text Document.txt|11|2012-01-23 02:27:56"}},
            {"zip/test_compat_zip_4.zip",
             {"|foo|4|2011-11-18 21:52:06", "|bar|4|2011-11-18 21:52:08", "|baz|4|2011-11-18 21:52:12"}},
            {"zip/test_read_format_zip_comment_stored_1.zip",
             {"|file0|0|2012-11-06 16:07:02", "|build.sh|23|2012-11-06 15:29:56"}},
            {"zip/test_read_format_zip_filename_utf8_jp.zip",
             {jp + text::Local("一覧表.txt") + "|5|2011-03-20 10:39:42",
              jp + text::Local("漢字.txt") + "|5|2011-03-20 10:37:44"}},
            {"zip/test_read_format_zip_mac_metadata.zip",
             {"|file3|8|2012-11-03 13:01:26", "__MACOSX\\|._file3|287|2012-11-03 13:01:26"}},
            {"zip/test_read_format_zip_nested.zip",
             {"|small.zip|211|2014-09-26 08:04:26", "|file.txt|53|2014-09-26 08:04:50"}},
            {"zip/test_read_format_zip_7z_lzma.zip",
             {"_installdir\\abc_tools\\2000.9-beta11\\bin\\|abc_measurement_analysis_sample|81|2020-09-04 "
              "00:35:58",
              "_installdir\\abc_tools\\2000.9-beta11\\samples\\abc_measurement_analysis_sample\\src\\|"
              "abc_measurement_analysis_sample.py|250|2020-09-04 00:38:18"}},
            {"zip/test_read_format_zip_winzip_aes256.zip", {"|README|6818|2014-08-14 22:04:24"}},
            {"zip/test_compat_zip_3.zip", {"soapui-4.0.0\\|soapui-settings.xml|1030|2011-06-14 10:06:16"}},
            {"zip/test_read_format_zip_zip64a.zip", {"|-|6|2013-11-24 15:10:30"}},
        },
        ArchiveFormat::Zip);
}

TEST(ArchiveListing, RarArchivesWrittenByOtherToolsGiveTheirEntries) {
    REQUIRE_FIXTURES();
    // Shift_JIS names read as the system's double-byte code: 0x5C after a lead byte is part
    // of a character, not a separator.
    const std::string sjisFolder =
        "\x95\x5c\x82\xbe\x82\xe6\\\x90\x56\x82\xb5\x82\xa2\x83\x74\x83\x48\x83\x8b\x83\x5f\\";
    CheckFixtures(
        {
            {"rar/test_read_format_rar.rar",
             // testdir\test.txt is refused: a test.txt is recorded already.
             {"|test.txt|20|2011-06-26 14:53:46", "|testlink|8|2011-06-24 09:38:34"}},
            {"rar/test_read_format_rar_unicode.rar",
             {sjisFolder + "|\x90\x56\x8b\x4b\x83\x65\x83\x4c\x83\x58\x83\x67\x20\x83\x68\x83\x4c\x83\x85\x83"
                           "\x81\x83\x93\x83"
                           "\x67.txt|0|2011-07-01 13:09:04",
              "\x95\x5c\x82\xbe\x82\xe6\\|"
              "\x8a\xbf\x8e\x9a\x92\xb7\x82\xa2\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc"
              "long-filename-in-\x8a\xbf\x8e\x9a.txt|5|2011-03-20 10:37:44",
              "|\xe8\xa1\xa8\xe3\x81\xa0\xe3\x82\x88\x5c\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab|54|"
              "2011-08-11 "
              "10:34:48",
              "|abcdefghijklmnopqrs\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88.txt|16|2012-03-07 16:38:58"}},
            {"rar/test_read_format_rar_subblock.rar", {"|test.txt|20|2011-06-26 14:53:46"}},
            {"rar/test_rar_multivolume_single_file.part1.rar", {}},
            {"rar/test_rar_multivolume_single_file.part2.rar", {}},
            {"rar/test_rar_multivolume_single_file.part3.rar", {}},
            {"rar/test_read_format_rar_encryption_data.rar",
             {"|foo.txt|16|2013-09-17 09:37:10", "|bar.txt|16|2013-09-17 09:37:12"}},
            {"rar/test_read_format_rar_compress_normal.rar",
             {"|LibarchiveAddingTest.html|20111|2011-06-26 22:25:44", "|testlink|25|2011-07-13 21:04:50",
              "testdir\\|test.txt|20|2011-06-26 14:59:06"}},
            {"rar/test_read_format_rar5_stored.rar", {}},
            {"rar/rar15-comment.rar",
             {"|FILE1.TXT|7|2010-11-03 19:49:32", "|FILE2.TXT|8|2010-11-03 19:49:38"}},
            {"rar/rar3-comment-plain.rar",
             {"|file1.txt|0|2010-11-02 10:03:24", "|file2.txt|0|2010-11-02 10:03:24"}},
            {"rar/rar3-subdirs.rar",
             {"sub\\dir2\\|file2.txt|6|2020-07-20 21:01:44",
              "sub\\with space\\|long fn.txt|8|2020-07-20 21:02:16",
              "sub\\|\xc3\xbc\xc8\xb5\xc4\xa9\xc3\xb6\xe1\xb8\x8b\xc3\xa8\\file.txt|5|2020-07-20 21:07:00",
              "sub\\dir1\\|file1.txt|6|2020-07-20 21:01:32"}},
            {"rar/rar202-comment-nopsw.rar",
             {"|FILE1.TXT|7|2010-11-03 00:27:28", "|FILE2.TXT|7|2010-11-03 00:27:34"}},
            {"rar/rar3-versions.rar",
             {"|versioned.txt;1|2|2020-07-30 22:52:46", "|versioned.txt;2|2|2020-07-30 22:52:46",
              "|versioned.txt|2|2020-07-30 22:52:46"}},
            {"rar/ctime4.rar", {"|afile.txt|0|2011-05-10 21:28:46"}},
            {"rar/test_read_format_rar_windows.rar",
             {"testdir\\|test.txt|16|2011-08-18 12:11:24", "|testshortcut.lnk|441|2011-08-18 12:14:14"}},
            {"rar/test_read_format_rar_noeof.rar", {"|test.txt|20|2011-06-26 14:53:46"}},
        },
        ArchiveFormat::Rar);
}

TEST(ArchiveListing, RarParserKeepsDuplicatesAndLeavesOutFoldersAndRar5) {
    REQUIRE_FIXTURES();
    const std::optional<std::string> basic = Fixture("rar/test_read_format_rar.rar");
    const std::optional<std::string> rar5 = Fixture("rar/test_read_format_rar5_stored.rar");
    ASSERT_TRUE(basic && rar5);
    MemoryByteSource source(Bytes(*basic));
    const std::optional<std::vector<RarItem>> items = ReadRarItems(source);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[2].name, "testdir\\test.txt");
    MemoryByteSource newer(Bytes(*rar5));
    EXPECT_FALSE(ReadRarItems(newer));
}

TEST(ArchiveListing, ZipEdgeCases) {
    const std::uint32_t kFolderAttribute = 0x10;
    struct Case {
        const char* what;
        std::vector<ZipItem> items;
        std::vector<std::string> records;
    };
    const std::vector<Case> cases = {
        {"same name in two folders: the first is kept",
         {{"a/readme.txt", 1}, {"b/readme.txt", 2}},
         {"a\\|readme.txt|1|2020-01-02 03:04:10"}},
        {"the same with backslashes, as old Windows archivers wrote them",
         {{"a\\readme.txt", 1}, {"b\\readme.txt", 2}},
         {"a\\|readme.txt|1|2020-01-02 03:04:10"}},
        {"folder entry gives no record; its file does",
         {{"docs/", 0}, {"docs/x.txt", 3}},
         {"docs\\|x.txt|3|2020-01-02 03:04:10"}},
        {"names differing in case only are duplicates",
         {{"A.TXT", 1}, {"a.txt", 2}},
         {"|A.TXT|1|2020-01-02 03:04:10"}},
        {"folder marked by its attributes only",
         {{"empty", 0, DosDate(2020, 1, 2), DosTime(3, 4, 5), 0, kFolderAttribute}},
         {}},
        {"trail byte 0x5C is no separator",
         {{"dir/\x81\x5cx.txt", 4}},
         {"dir\\|\x81\x5cx.txt|4|2020-01-02 03:04:10"}},
        {"UTF-8 flagged names are converted",
         {{"\xe5\x85\x89\xe7\x9b\x98/\xe6\x96\x87.txt", 5, DosDate(2020, 1, 2), DosTime(3, 4, 5), 0x0800}},
         {text::Local("光盘\\|文.txt") + "|5|2020-01-02 03:04:10"}},
        {"ZIP64 size of a large entry",
         {{"big.iso", 0xFFFFFFFF, DosDate(2020, 1, 2), DosTime(3, 4, 5), 0, 0,
           std::string("\x99\x99\x00\x00\x01\x00\x08\x00\x05\x00\x00\x00\x01\x00\x00\x00", 16)}},
         {"|big.iso|4294967301|2020-01-02 03:04:10"}},
        {"a zero byte ends a name", {{std::string("cut\0off", 7), 1}}, {"|cut|1|2020-01-02 03:04:10"}},
        {"seconds field 29 is 58 seconds",
         {{"t", 1, DosDate(1999, 12, 31), DosTime(23, 59, 29)}},
         {"|t|1|1999-12-31 23:59:58"}},
        {"impossible date gives no time", {{"t", 1, DosDate(2000, 13, 0), 0}}, {"|t|1|1601-01-01 00:00:00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(List(BuildZip(c.items), ArchiveFormat::Zip).records, Sorted(c.records));
    }
}

TEST(ArchiveListing, ZipFoundBehindAProgramAndAComment) {
    const std::string zip = BuildZip({{"inner/file", 7}}, std::string(3000, 'x'), "a comment");
    // The stored offsets do not count the 3000 bytes in front; the directory is found anyway.
    EXPECT_EQ(List(zip, ArchiveFormat::Zip).records,
              std::vector<std::string>{"inner\\|file|7|2020-01-02 03:04:10"});
}

TEST(ArchiveListing, RarEdgeCases) {
    const std::string start = RarStart();
    const auto folderEntry = [](std::string name) {
        return RarEntry{std::move(name), 0, 0,
                        (std::uint32_t{DosDate(2011, 6, 26)} << 16) | DosTime(14, 53, 23), 0x80E0};
    };
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> records;
    };
    RarEntry large{"big.iso", 5, 2};
    large.flags |= 0x100;
    large.highUnpacked = 1;
    const std::vector<Case> cases = {
        {"marker and archive header only", start, {}},
        {"marker only", "Rar!\x1A\x07\x00", {}},
        {"split entries are left out, later ones listed",
         start + RarFile({"first.bin", 9, 4, 0, 0x8002}) + RarFile({"middle.bin", 9, 4, 0, 0x8003}) +
             RarFile({"last.bin", 9, 4, 0, 0x8001}) + RarFile({"whole.txt", 3, 3}) + RarEnd(),
         {"|whole.txt|3|2011-06-26 14:53:46"}},
        {"seconds field 29 is 58 seconds",
         start + RarFile({"t.txt", 1, 1, (std::uint32_t{DosDate(2001, 2, 3)} << 16) | DosTime(4, 5, 29)}),
         {"|t.txt|1|2001-02-03 04:05:58"}},
        {"an archive that begins with a folder entry lists what follows",
         start + RarFile(folderEntry("dir")) + RarFile({"dir\\in.txt", 4, 4}) + RarEnd(),
         {"dir\\|in.txt|4|2011-06-26 14:53:46"}},
        {"extra header bytes are skipped by the header size",
         start + RarFile({"salted.txt", 16, 32, 0, 0x8424, 8}) + RarFile({"next.txt", 1, 1}),
         {"|next.txt|1|2011-06-26 14:53:46", "|salted.txt|16|1601-01-01 00:00:00"}},
        {"a chain that breaks off keeps what came before",
         start + RarFile({"kept.txt", 2, 2}) + RarFile({"cut.txt", 9, 9}).substr(0, 35),
         {"|kept.txt|2|2011-06-26 14:53:46"}},
        {"64-bit sizes of large entries",
         start + RarFile(large) + RarFile({"after.txt", 1, 1}),
         {"|big.iso|4294967301|2011-06-26 14:53:46", "|after.txt|1|2011-06-26 14:53:46"}},
        {"names end at a zero byte and lose surrounding spaces",
         start + RarFile({std::string("  pad.txt \0unicode part", 22), 1, 1}),
         {"|pad.txt|1|2011-06-26 14:53:46"}},
        {"an archive header shorter than 13 bytes",
         RarStart(13).replace(12, 2, "\x05\x00", 2) + RarFile({"x", 1, 1}),
         {}},
        {"not RAR at all", "PK\x03\x04 and then some bytes", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Listed listed = List(c.bytes, ArchiveFormat::Rar);
        EXPECT_EQ(listed.result, WalkResult::Finished);
        EXPECT_EQ(listed.records, Sorted(c.records));
    }
}

std::vector<ZipItem> NumberedItems(int count) {
    std::vector<ZipItem> items;
    for (int i = 0; i < count; ++i) items.push_back({"f" + std::to_string(i), static_cast<std::uint32_t>(i)});
    return items;
}

TEST(ArchiveListing, PerFolderLimitCountsPositionsAndEndsNormally) {
    ScanSettings settings;
    settings.bCheckFileLimit = true;
    settings.nFileLimit = 3;
    std::vector<ZipItem> items = NumberedItems(10);
    items.insert(items.begin() + 1, ZipItem{"folder/"});  // takes a position, makes no record
    const Listed listed = List(BuildZip(items), ArchiveFormat::Zip, settings);
    EXPECT_EQ(listed.result, WalkResult::Finished);
    ASSERT_EQ(listed.records.size(), 2u);
    EXPECT_TRUE(listed.records[0].starts_with("|f0|"));
    EXPECT_TRUE(listed.records[1].starts_with("|f1|"));
}

TEST(ArchiveListing, WholeScanLimitStopsAndKeepsWhatWasListed) {
    ScanSettings settings;
    settings.bCheckFileLimitDisk = true;
    settings.nFileLimitTotal = 4;
    CDir folder;
    const std::string zip = BuildZip(NumberedItems(10));
    MemoryByteSource source(Bytes(zip));
    ScanState state;
    state.nScanFileCount = 1;  // one file recorded earlier in the scan
    EXPECT_EQ(ListArchive(folder, source, ArchiveFormat::Zip, settings, state, nullptr),
              WalkResult::LimitReached);
    EXPECT_EQ(folder.Files().size(), 3u);
    EXPECT_EQ(state.nScanFileCount, 5);
}

TEST(ArchiveListing, CancellationIsTestedBeforeEveryFifthEntry) {
    const std::string zip = BuildZip(NumberedItems(12));
    // Poll 1 is the test before the listing; polls 2, 3 and 4 come before entries 0, 5 and 10.
    for (const auto& [allowed, expectedRecords] : {std::pair{0, 0u}, {1, 0u}, {2, 5u}, {3, 10u}, {4, 12u}}) {
        SCOPED_TRACE(allowed);
        CancelAfter progress(allowed);
        const Listed listed = List(zip, ArchiveFormat::Zip, {}, &progress);
        EXPECT_EQ(listed.result, allowed == 4 ? WalkResult::Finished : WalkResult::Cancelled);
        EXPECT_EQ(listed.records.size(), expectedRecords);
    }

    // A medium that leaves its drive stops the listing the same way and says so.
    class MediumLeaves final : public CScanProgress {
    public:
        bool IsCancelled() override { return ++polls > 2; }
        bool MediumGone() const override { return polls > 2; }
        void ShowFolderPath(std::string_view) override {}
        int polls = 0;
    } gone;
    const Listed listed = List(zip, ArchiveFormat::Zip, {}, &gone);
    EXPECT_EQ(listed.result, WalkResult::MediumGone);
    EXPECT_EQ(listed.records.size(), 5u);
}

TEST(ArchiveListing, RescanKeepsRecordedEntriesAndAddsNewOnes) {
    CDir folder;
    List(BuildZip({{"a.txt", 1}}), ArchiveFormat::Zip, {}, nullptr, &folder);
    folder.Files()[0]->m_strMemo = "user memo";
    const Listed listed =
        List(BuildZip({{"a.txt", 9}, {"b.txt", 2}}), ArchiveFormat::Zip, {}, nullptr, &folder);
    EXPECT_EQ(listed.records,
              Sorted({"user memo|a.txt|1|2020-01-02 03:04:10", "|b.txt|2|2020-01-02 03:04:10"}));
}

TEST(ArchiveListing, FormatFollowsTheArchiveNameOnly) {
    EXPECT_EQ(ArchiveFormatOf("Backup.ZIP"), ArchiveFormat::Zip);
    EXPECT_EQ(ArchiveFormatOf("old.rar "), ArchiveFormat::Rar);
    EXPECT_EQ(ArchiveFormatOf("notes.zip.txt"), ArchiveFormat::None);
}

// A medium that fails to read past a point, as a scratched disc does.
class FailingSource final : public ByteSource {
public:
    FailingSource(const std::string& bytes, std::uint64_t failFrom)
        : m_memory(Bytes(bytes)), m_failFrom(failFrom) {}
    std::uint64_t Size() const override { return m_memory.Size(); }
    // Bytes from `failFrom` on cannot be read.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset >= m_failFrom) return std::nullopt;
        return m_memory.ReadAt(offset, out.first(std::min<std::uint64_t>(out.size(), m_failFrom - offset)));
    }

private:
    MemoryByteSource m_memory;
    std::uint64_t m_failFrom;
};

TEST(ArchiveListing, ReadErrorsListNothing) {
    const std::string rar = RarStart() + RarFile({"one.txt", 1, 40000}) + RarFile({"two.txt", 2, 2});
    const std::string zip = BuildZip({{"one.txt", 1}, {"two.txt", 2}});
    for (const auto& [bytes, format] : {std::pair{rar, ArchiveFormat::Rar}, {zip, ArchiveFormat::Zip}}) {
        CDir folder;
        FailingSource source(bytes, bytes.size() - 10);
        ScanState state;
        EXPECT_EQ(ListArchive(folder, source, format, {}, state, nullptr), WalkResult::Finished);
        EXPECT_TRUE(folder.Files().empty());
    }
}

// Every cut of a valid archive, and every single damaged byte of its directory, must list a
// subset of what the whole archive lists, without reading outside the bytes.
TEST(ArchiveListing, DamagedArchivesListNoMoreThanTheirEntries) {
    const std::string zip = BuildZip({{"a/one.txt", 1}, {"two.txt", 2}, {"dir/"}}, "", "c");
    const std::string rar =
        RarStart(20) + RarFile({"one.txt", 1, 1}) + RarFile({"dir\\two.txt", 2, 2}) + RarEnd();
    for (const auto& [bytes, format] : {std::pair{zip, ArchiveFormat::Zip}, {rar, ArchiveFormat::Rar}}) {
        const std::vector<std::string> whole = List(bytes, format).records;
        ASSERT_EQ(whole.size(), 2u);
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            const Listed listed = List(bytes.substr(0, cut), format);
            EXPECT_EQ(listed.result, WalkResult::Finished);
            EXPECT_LE(listed.records.size(), whole.size()) << cut;
        }
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            for (const char value : {'\0', '\xFF', '\x7F'}) {
                std::string damaged = bytes;
                damaged[at] = value;
                EXPECT_EQ(List(damaged, format).result, WalkResult::Finished);
            }
        }
    }
}

}  // namespace
}  // namespace pelko::scan
