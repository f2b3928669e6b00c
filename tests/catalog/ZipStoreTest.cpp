#include "catalog/ZipStore.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/Requirements.h"

namespace pelko::catalog {
namespace {

namespace fs = std::filesystem;

// Archives written by other tools: the reader must take what they hold and refuse what it
// cannot inflate, without crashing and without writing anything.
TEST(ZipStoreTest, ReadsEntriesOfArchivesMadeByOtherTools) {
    REQUIRE_FIXTURES();
    const fs::path folder = test::SharedFixtures() / "zip";
    using Status = ZipEntryRead::Status;
    struct Case {
        const char* file;
        const char* entry;
        Status status;
        std::size_t size;
    };
    const Case cases[] = {
        {"test_read_format_zip.zip", "file1", Status::Ok, 18},                      // data descriptor
        {"test_read_format_zip.zip", "file2", Status::Damaged, 0},                  // its CRC is wrong
        {"test_compat_zip_4.zip", "baz", Status::Ok, 4},                            // leading garbage
        {"test_read_format_zip_comment_stored_1.zip", "build.sh", Status::Ok, 23},  // comment after EOCD
        {"test_read_format_zip_comment_stored_1.zip", "file0", Status::Ok, 0},
        {"test_read_format_zip_zip64a.zip", "-", Status::Ok, 6},             // ZIP64 records
        {"test_compat_zip_6.zip", "New Text Document.txt", Status::Ok, 11},  // matched by last part
        {"test_read_format_zip_7z_lzma.zip", "abc_measurement_analysis_sample.py", Status::Damaged, 0},
        {"test_read_format_zip_winzip_aes256.zip", "README", Status::Damaged, 0},  // encrypted
        {"test_read_format_zip.zip", "absent", Status::NotFound, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " / " + c.entry);
        const ZipEntryRead read = ReadZipEntry(folder / c.file, c.entry);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes.size(), c.size);
    }
    EXPECT_EQ(ReadZipEntry(folder / "test_read_format_zip_zip64a.zip", "-").bytes,
              (std::vector<std::uint8_t>{'f', 'i', 'l', 'e', '0', '\n'}));
}

TEST(ZipStoreTest, NotAnArchiveIsNotFound) {
    EXPECT_EQ(ReadZipEntry("/nonexistent/x.zip", "x").status, ZipEntryRead::Status::NotFound);
    EXPECT_EQ(ReadZipEntry("/proc/self/status", "x").status, ZipEntryRead::Status::NotFound);
}

}  // namespace
}  // namespace pelko::catalog
