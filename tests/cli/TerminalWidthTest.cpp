#include "cli/TerminalWidth.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "text/Codec.h"

namespace pelko::cli {
namespace {

TEST(TerminalWidthTest, ColumnsCountWideCharactersTwice) {
    const struct {
        const char* text;
        int columns;
    } cases[] = {
        {"", 0},
        {"/media/cd", 9},
        {"光盘资料", 8},
        {"a光b", 4},
        {"ｆｕｌｌ", 8},          // full-width forms
        {"カタカナ한글", 12},     // kana, Hangul
        {"𠀀", 2},                // outside the BMP (extension B)
        {"😀x", 3},
        {"e\xcc\x81", 1},         // e + combining acute
        {"\xff" "a", 2},          // a stray byte counts as one
        {"café", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(DisplayColumns(c.text), c.columns) << c.text;
}

TEST(TerminalWidthTest, LongTextIsShortenedInTheMiddle) {
    const struct {
        const char* name;
        const char* text;
        int columns;
        const char* expected;
    } cases[] = {
        {"fits", "/media/cd/a", 11, "/media/cd/a"},
        {"ascii", "/media/cdrom/photos/2024/holiday", 20, "/media/c...4/holiday"},
        {"odd room goes to the end", "abcdefghij", 8, "ab...hij"},
        {"cjk halves", "/光盘/资料/说明文件.txt", 16, "/光盘/...件.txt"},
        {"a wide character never straddles the cut", "光盘资料说明文件", 9, "光...件"},
        {"wide end", "abcdef光盘", 8, "ab...盘"},
        {"four columns", "abcdefgh", 4, "...h"},
        {"three", "abcdefgh", 3, "..."},
        {"two", "abcdefgh", 2, ".."},
        {"zero", "abcdefgh", 0, ""},
        {"negative", "abc", -5, ""},
        {"empty", "", 5, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string fitted = ShortenMiddle(c.text, c.columns);
        EXPECT_EQ(fitted, c.expected);
        EXPECT_LE(DisplayColumns(fitted), std::max(c.columns, 0));
    }
    // Every width of a mixed path: never wider, never cut inside a character, never over-cut.
    const std::string path = "/media/cdrom/光盘资料/Setup Files/说明文件 😀.txt";
    for (int columns = 0; columns <= DisplayColumns(path) + 1; ++columns) {
        const std::string fitted = ShortenMiddle(path, columns);
        SCOPED_TRACE(columns);
        EXPECT_LE(DisplayColumns(fitted), columns);
        if (columns >= 4) {
            EXPECT_GE(DisplayColumns(fitted), std::min(columns, DisplayColumns(path)) - 2);
        }
        // A cut inside a character would come back from the codec with U+FFFD in it.
        EXPECT_EQ(text::ToUtf8(text::FromUtf8(fitted)), fitted) << "cut inside a character";
        if (columns >= DisplayColumns(path)) {
            EXPECT_EQ(fitted, path);
        }
    }
}

TEST(TerminalWidthTest, TerminalWidthFromThePseudoTerminalElse80) {
    int master = -1;
    int slave = -1;
    struct winsize size {};
    size.ws_col = 57;
    size.ws_row = 20;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, &size), 0);
    EXPECT_EQ(TerminalColumns(slave), 57);
    size.ws_col = 0;  // a terminal that does not know its width
    ASSERT_EQ(::ioctl(master, TIOCSWINSZ, &size), 0);
    EXPECT_EQ(TerminalColumns(slave), 80);
    ::close(master);
    ::close(slave);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    EXPECT_EQ(TerminalColumns(pipeFds[1]), 80);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

}  // namespace
}  // namespace pelko::cli
