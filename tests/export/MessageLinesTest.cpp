#include <gtest/gtest.h>

#include <string>

#include "catalog/CRootCategory.h"
#include "export/MessageLines.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"

namespace pelko::exporting {
namespace {

using catalog::MessageKind;
using text::Local;

TEST(MessageLines, PrefixesAndColoursOfEveryKind) {
    const std::tm now{};
    const struct {
        MessageKind kind;
        const char* line;  // UTF-8
        Rgb colour;
    } cases[] = {
        {MessageKind::Hint, "提示：  x", {0, 0, 255}},   {MessageKind::Warning, "警告：  x", {0, 0, 255}},
        {MessageKind::Error, "错误：  x", {255, 0, 0}},  {MessageKind::Result, "        x", {0, 0, 0}},
        {MessageKind::Detail, "        x", {0, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(text::ToUtf8(MessageLine(c.kind, "x", now)), c.line);
        EXPECT_EQ(MessageColour(c.kind), c.colour);
    }
    EXPECT_EQ(MessageColour(MessageKind::TimeStamp), (Rgb{150, 150, 150}));
    EXPECT_EQ(text::ToUtf8(MessageLimitWarning()), "警告：提示信息超过65535行，请清除无用的信息");
}

TEST(MessageLines, TimeStampHasNoLeadingZerosAndReplacesTheText) {
    std::tm t{};
    t.tm_year = 2006 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 7;
    t.tm_sec = 2;
    EXPECT_EQ(MessageLine(MessageKind::TimeStamp, "ignored", t), "2006-3-5 9:7:2\r\n" + std::string(56, '^'));
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 59;
    EXPECT_EQ(TimeStampText(t), "2006-12-31 23:59:59\r\n" + std::string(56, '^'));
}

TEST(MessageLines, LineNamesCatalogItemWhenItsFirstPartIsTheRoot) {
    const struct {
        const char* line;  // UTF-8
        bool names;
    } cases[] = {
        {"Pelko\\Music\\Disc1\\a.mp3", true},
        {"        Pelko\\Music", true},  // a search hit, behind the result prefix
        {" pelko \\x", true},            // trimmed, letter case ignored
        {"Pelko", true},
        {"提示：  Pelko\\Music", false},  // the prefix is part of the first part
        {"Pelkox\\Music", false},
        {"", false},
        {"乗Pelko\\x", false},  // 0x5C as a trail byte is no separator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(NamesCatalogItem(Local(c.line), "Pelko"), c.names);
    }
    EXPECT_FALSE(NamesCatalogItem("Pelko\\x", ""));
}

class ScanObjectNames : public ::testing::Test {
protected:
    void SetUp() override {
        root.m_strName = "Pelko";
        catalog::CCategory* music = root.AddNewSubcategory(Local("音乐"), log, ui);
        catalog::CCategory* rock = music->AddNewSubcategory("Rock", log, ui);
        rock->AddNewEntry(Local("乗光盘1"), log);
        music->AddNewEntry("Disc1", log);
        root.AddNewEntry("Music", log);  // an entry named like nothing on the way down
    }
    std::string Found(std::string_view utf8Line) const {
        const std::string line = Local(utf8Line);
        const auto span = FindScanObjectName(line, root);
        return span ? text::ToUtf8(line.substr(span->offset, span->length)) : "<none>";
    }
    catalog::CRootCategory root;
    test::RecordingLog log;
    test::ScriptedUi ui;
};

TEST_F(ScanObjectNames, WalkDownCategoriesToTheFirstEntry) {
    const struct {
        const char* line;
        const char* found;
    } cases[] = {
        {"        Pelko\\音乐\\Disc1\\Songs\\a.mp3", "Disc1"},
        {"Pelko\\音乐\\Rock\\乗光盘1\\x", "乗光盘1"},  // a GBK name whose trail byte is "\"
        {"Pelko\\音乐\\Rock\\乗光盘1", "乗光盘1"},     // at the end of the line
        {"Pelko\\Music", "Music"},                     // an entry of the root
        {"Pelko\\nope\\音乐\\Disc1", "Disc1"},         // unknown parts are passed over
        {"Pelko\\音乐\\disc1", "<none>"},              // exact comparison
        {"错误：  光盘 Pelko\\音乐\\Rock 已经存在", "<none>"},
        {"Pelko/音乐/Disc1", "<none>"},
        {"pelko\\Music", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Found(c.line), c.found);
    }
}

TEST_F(ScanObjectNames, OnlyTheFirst4096BytesAreRead) {
    const std::string pad(4096 - 10, ' ');  // with "Pelko\\Music" one byte over
    EXPECT_EQ(Found(pad + "Pelko\\Music"), "<none>") << "the name ends after byte 4096";
    EXPECT_EQ(Found(pad.substr(1) + "Pelko\\Music"), "Music");
}

TEST(MessageLines, FileKindsFollowTheName) {
    const struct {
        const char* name;
        PaneFileKind save;
        PaneFileKind load;
    } cases[] = {
        {"/tmp/report.TXT", PaneFileKind::PlainText, PaneFileKind::PlainText},
        {"/tmp/a.txt.bak", PaneFileKind::PlainText, PaneFileKind::PlainText},
        {"/tmp/log.log", PaneFileKind::Rtf, PaneFileKind::Nothing},
        {"/tmp/日志.RTF", PaneFileKind::Rtf, PaneFileKind::Rtf},
        {"/tmp/old.doc", PaneFileKind::Rtf, PaneFileKind::Nothing},
        {"/tmp/x.rtf/a.Txt", PaneFileKind::PlainText, PaneFileKind::PlainText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SaveKindFor(c.name), c.save);
        EXPECT_EQ(LoadKindFor(c.name), c.load);
    }
}

TEST(MessageLines, LineEnds) {
    EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(FromCrLf("a\r\nb\rc\n\r\n"), "a\nb\nc\n\n");
}

}  // namespace
}  // namespace pelko::exporting
