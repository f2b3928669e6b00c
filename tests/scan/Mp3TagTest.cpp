#include "scan/Mp3Tag.h"

#include <gtest/gtest.h>

#include "ExtrasBuilders.h"
#include "ExtrasTestSupport.h"
#include "settings/SettingsStore.h"
#include "scan/ByteSource.h"

namespace pelko::scan {
namespace {

using namespace test;

std::string Memo(const std::string& file, int fields, char separator = '+') {
    MemoryByteSource source(Bytes(file));
    return ReadMp3Memo(source, Mp3Options(static_cast<std::uint8_t>(fields), separator));
}

TEST(Mp3Tag, RealFilesGiveTheirRecordedMemos) {
    REQUIRE_FIXTURES();
    struct Case {
        const char* file;
        std::string titleOnly;
        std::string allText;
    };
    const std::vector<Case> cases = {
        {"mp3/id3v1-latin1.mp3", "Play Dead", "Bj\xf6rk+Play Dead+The Young Americans+1993"},
        {"mp3/mpeg1_id3v1.mp3", "some title", "some title"},
        {"mp3/id3v1_does_not_overwrite_id3v2.mp3", "Time What Is Time",
         "Blind Guardian+Time What Is Time+Somewhere Far Beyond+1992"},
        {"mp3/empty_file.mp3", "", ""},
        {"mp3/issue_69.mp3", "Skupinove foto", "Pavel Dobes+Skupinove foto+Skupinove foto+1988"},
        {"mp3/APEv2+Lyrics3v2.mp3", "Secret Laboratory (Rootah Vers",
         "Dub Syndicate+Secret Laboratory (Rootah Vers+Jahtarian Dubbers Vol. 3+2012+-|- YARD MP3 FORCE -|-"},
        {"mp3/notags.mp3", "", ""},
        {"mp3/issue-453.mp3", "https://www.example.com", "https://www.example.com"},
        {"mp3/pr-544-id3v24.mp3", "", "Tagged with Mp3tag v3.01"},
        {"mp3/incomplete.mp3", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::optional<std::string> bytes = Fixture(c.file);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(Memo(*bytes, 0x01), c.titleOnly);
        EXPECT_EQ(Memo(*bytes, 0x1F), c.allText);
    }
}

TEST(Mp3Tag, FieldRules) {
    const std::string audio(300, '\x55');
    struct Case {
        const char* what;
        Id3Fields tag;
        int fields;
        std::string memo;
    };
    const std::string thirty(30, 'T');
    const std::vector<Case> cases = {
        {"artist comes first whatever the bits", {"T", "A"}, 0x03, "A|T"},
        {"a 30-byte title stops at its field", {thirty, "Artist"}, 0x01, thirty},
        {"no fields chosen gives no memo", {"T", "A", "B", "1999", "C"}, 0, ""},
        {"a field of spaces adds nothing and no separator", {"T", "   ", "  Album  "}, 0x07, "T|Album"},
        {"a field beginning with 0xFF is unset", {"\xFFgarbage", "A"}, 0x03, "A"},
        {"year and comment in their order", {"", "", "", "2001", "note"}, 0x18, "2001|note"},
        {"genre by its name", {"T", "", "", "", "", 17}, 0x21, "T|Rock"},
        {"genre beyond the list by its number", {"T", "", "", "", "", 200}, 0x21, "T|200"},
        {"genre 255 is no genre", {"T", "", "", "", "", 255}, 0x21, "T"},
        {"genre only", {"", "", "", "", "", 0}, 0x20, "Blues"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Memo(audio + BuildId3v1(c.tag), c.fields, '|'), c.memo);
    }
}

TEST(Mp3Tag, ShortOrUntaggedFilesGiveNoMemo) {
    EXPECT_EQ(Memo(std::string(100, 'x'), 0x3F), "");
    EXPECT_EQ(Memo(BuildId3v1({"T"}).substr(1) + "x", 0x3F), "");
    EXPECT_EQ(Memo(BuildId3v1({"T"}), 0x01), "T");  // a file that is only a tag
}

TEST(Mp3Tag, OptionsComeFromTheSettings) {
    settings::MemorySettingsStore store;
    EXPECT_EQ(Mp3Options::Load(store).mp3Op, 1);
    EXPECT_EQ(Mp3Options::Load(store).Separator(), '+');
    store.WriteInt("Mp3Op", 0x22);
    store.WriteInt("Mp3Gap", '/');
    EXPECT_EQ(Mp3Options::Load(store).mp3Op, 0x22);
    EXPECT_EQ(Mp3Options::Load(store).Separator(), '/');
    store.WriteInt("Mp3Gap", 0);
    EXPECT_EQ(Mp3Options::Load(store).Separator(), ' ');
}

}  // namespace
}  // namespace pelko::scan
