#include "ui/panes/MessagePane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>

#include "catalog/CRootCategory.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using catalog::MessageKind;
using text::Local;

QTextBlock Line(const MessagePane& pane, int number) {
    return pane.Editor()->document()->findBlockByNumber(number);
}
QString LineText(const MessagePane& pane, int number) { return Line(pane, number).text(); }

// Colour and point size of the character at `offset` of a line.
QTextCharFormat FormatAt(const MessagePane& pane, int line, int offset) {
    const QTextBlock block = Line(pane, line);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const int start = f.position() - block.position();
        if (offset >= start && offset < start + f.length()) return f.charFormat();
    }
    ADD_FAILURE() << "no character " << offset << " in line " << line;
    return {};
}
QColor ColourAt(const MessagePane& pane, int line, int offset) {
    return FormatAt(pane, line, offset).foreground().color();
}

TEST(MessagePaneTest, EachKindHasItsPrefixColourAndNinePointType) {
    MessagePane pane;
    const struct {
        MessageKind kind;
        const char* line;
        QColor colour;
    } cases[] = {
        {MessageKind::Hint, "提示：  光盘", QColor(0, 0, 255)},
        {MessageKind::Warning, "警告：  光盘", QColor(0, 0, 255)},
        {MessageKind::Error, "错误：  光盘", QColor(255, 0, 0)},
        {MessageKind::Result, "        光盘", QColor(0, 0, 0)},
        {MessageKind::Detail, "        光盘", QColor(0, 0, 255)},
    };
    for (const auto& c : cases) pane.Post(c.kind, Local("光盘"));
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(cases[i].line);
        EXPECT_EQ(LineText(pane, i), QString::fromUtf8(cases[i].line));
        EXPECT_EQ(ColourAt(pane, i, 0), cases[i].colour);
        EXPECT_EQ(FormatAt(pane, i, 0).fontPointSize(), 9.0);
        EXPECT_FALSE(FormatAt(pane, i, 0).fontItalic());
        EXPECT_NE(FormatAt(pane, i, 0).fontWeight(), QFont::Bold);
    }
    EXPECT_EQ(pane.LineCount(), 5);
    EXPECT_TRUE(LineText(pane, 5).isEmpty()) << "every line ends with a line break";

    pane.Post(MessageKind::TimeStamp, "ignored");
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[1-9]\\d{3}-[1-9]\\d?-[1-9]\\d? [1-9]?\\d:[1-9]?\\d:[1-9]?\\d$"))
            .match(LineText(pane, 5))
            .hasMatch())
        << LineText(pane, 5).toStdString();
    EXPECT_EQ(LineText(pane, 6), QString(56, QLatin1Char('^')));
    EXPECT_EQ(ColourAt(pane, 6, 0), QColor(150, 150, 150));
    EXPECT_EQ(pane.LineCount(), 7);

    pane.Post(MessageKind::Error, "two\r\nlines\rthree");  // line ends inside a text never merge lines
    EXPECT_EQ(pane.LineCount(), 10);
}

TEST(MessagePaneTest, PostShowsAHiddenPaneAndEscapeAsksToHideIt) {
    MessagePane pane;
    QSignalSpy show(&pane, &MessagePane::ShowRequested);
    QSignalSpy hide(&pane, &MessagePane::HideRequested);
    pane.Post(MessageKind::Hint, "a");
    EXPECT_EQ(show.count(), 1);
    pane.show();
    pane.Post(MessageKind::Hint, "b");
    EXPECT_EQ(show.count(), 1) << "a shown pane is not shown again";
    QTest::keyClick(pane.Editor(), Qt::Key_Escape);
    EXPECT_EQ(hide.count(), 1);
}

TEST(MessagePaneTest, EveryLineOverTheLimitDrawsTheRedWarning) {
    test::TempDir dir;
    std::string lines;
    for (int i = 0; i < 65534; ++i) lines += "line\r\n";
    MessagePane pane;
    const auto file = dir.WriteFile("many.txt", lines);
    ASSERT_TRUE(pane.LoadFrom(QString::fromStdString(file.string())));
    ASSERT_EQ(pane.LineCount(), 65534);
    const QString warning = QString::fromUtf8("警告：提示信息超过65535行，请清除无用的信息");

    pane.Post(MessageKind::Result, "65535");
    EXPECT_EQ(pane.LineCount(), 65535) << "at the limit: no warning yet";
    pane.Post(MessageKind::Result, "65536");
    ASSERT_EQ(pane.LineCount(), 65537);
    EXPECT_EQ(LineText(pane, 65535), QStringLiteral("        65536"));
    EXPECT_EQ(LineText(pane, 65536), warning);
    EXPECT_EQ(ColourAt(pane, 65536, 0), QColor(255, 0, 0));
    pane.Post(MessageKind::Hint, "next");
    EXPECT_EQ(LineText(pane, 65538), warning) << "and after every further line";
    EXPECT_EQ(pane.LineCount(), 65539);
    pane.ClearAll();
    EXPECT_EQ(pane.LineCount(), 0);
}

// A small catalog: Pelko\音乐\Disc1 and Pelko\Disc2.
class PaneWithCatalog : public ::testing::Test {
protected:
    void SetUp() override {
        root.m_strName = "Pelko";
        music = root.AddNewSubcategory(Local("音乐"), log, ui);
        music->AddNewEntry("Disc1", log);
        root.AddNewEntry("Disc2", log);
        pane.SetCatalog(&root);
    }
    void PostLines(std::initializer_list<std::pair<MessageKind, const char*>> lines) {
        for (const auto& [kind, text] : lines) pane.Post(kind, Local(text));
    }
    catalog::CRootCategory root;
    catalog::CCategory* music = nullptr;
    test::RecordingLog log;
    test::ScriptedUi ui;
    MessagePane pane;
};

TEST_F(PaneWithCatalog, F7AndF8WalkToTheLinesThatNameCatalogItems) {
    PostLines({{MessageKind::Hint, "查找开始"},
               {MessageKind::Result, "Pelko\\音乐\\Disc1\\a.mp3"},
               {MessageKind::Detail, "大小 12"},
               {MessageKind::Result, "pelko\\Disc2"},
               {MessageKind::Error, "Pelko\\音乐"}});  // behind a prefix: no link
    QSignalSpy goTo(&pane, &MessagePane::GoToItem);
    QPlainTextEdit* edit = pane.Editor();
    edit->setTextCursor(QTextCursor(Line(pane, 0)));

    QTest::keyClick(edit, Qt::Key_F7);
    ASSERT_EQ(goTo.count(), 1);
    EXPECT_EQ(goTo.takeFirst().at(0).toString(), QString::fromUtf8("        Pelko\\音乐\\Disc1\\a.mp3"));
    EXPECT_EQ(edit->textCursor().selectedText(), LineText(pane, 1)) << "the line is selected";
    pane.NextLine();
    ASSERT_EQ(goTo.count(), 1);
    EXPECT_EQ(goTo.takeFirst().at(0).toString(), QStringLiteral("        pelko\\Disc2"));

    pane.NextLine();  // only lines that are no links follow: walk to the last line and stop
    EXPECT_EQ(goTo.count(), 0);
    EXPECT_EQ(edit->textCursor().blockNumber(), 5);
    EXPECT_FALSE(edit->textCursor().hasSelection());
    pane.NextLine();  // on the last line: nothing
    EXPECT_EQ(goTo.count(), 0);
    EXPECT_EQ(edit->textCursor().blockNumber(), 5);

    QTest::keyClick(edit, Qt::Key_F8);
    ASSERT_EQ(goTo.count(), 1);
    EXPECT_EQ(edit->textCursor().blockNumber(), 3);
    pane.PreviousLine();
    pane.PreviousLine();  // no link before line 1: to the first line, then stop
    EXPECT_EQ(goTo.count(), 2);
    EXPECT_EQ(edit->textCursor().blockNumber(), 0);
    pane.PreviousLine();
    EXPECT_EQ(goTo.count(), 2);
}

TEST_F(PaneWithCatalog, WithoutACatalogNoLineIsALink) {
    pane.SetCatalog(nullptr);
    PostLines({{MessageKind::Result, "Pelko\\音乐\\Disc1"}, {MessageKind::Result, "Pelko\\Disc2"}});
    QSignalSpy goTo(&pane, &MessagePane::GoToItem);
    pane.Editor()->setTextCursor(QTextCursor(Line(pane, 0)));
    pane.NextLine();
    QTest::keyClick(pane.Editor(), Qt::Key_Return);
    EXPECT_EQ(goTo.count(), 0);
    EXPECT_EQ(pane.Editor()->textCursor().blockNumber(), 2);
}

TEST_F(PaneWithCatalog, EnterAndDoubleClickGoToTheLine) {
    PostLines(
        {{MessageKind::Hint, "不是链接"}, {MessageKind::Result, "Pelko\\Disc2"}, {MessageKind::Hint, "x"}});
    QSignalSpy goTo(&pane, &MessagePane::GoToItem);
    QPlainTextEdit* edit = pane.Editor();
    QTextCursor caret(Line(pane, 0));
    caret.movePosition(QTextCursor::Right);
    edit->setTextCursor(caret);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(goTo.count(), 0);
    EXPECT_EQ(edit->textCursor().selectedText(), QString::fromUtf8("提示：  不是链接"))
        << "the whole line is selected";

    edit->setTextCursor(QTextCursor(Line(pane, 1)));
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(goTo.count(), 1);
    EXPECT_EQ(goTo.takeFirst().at(0).toString(), QStringLiteral("        Pelko\\Disc2"));

    pane.resize(400, 200);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    edit->setTextCursor(QTextCursor(Line(pane, 2)));
    const QRect line1 = edit->cursorRect(QTextCursor(Line(pane, 1)));
    QTest::mouseDClick(edit->viewport(), Qt::LeftButton, {}, line1.center() + QPoint(20, 0));
    ASSERT_EQ(goTo.count(), 1);
    EXPECT_EQ(goTo.takeFirst().at(0).toString(), QStringLiteral("        Pelko\\Disc2"));
}

TEST_F(PaneWithCatalog, HighlightingColoursScanObjectNamesOfNewLinesOnly) {
    PostLines({{MessageKind::Result, "Pelko\\音乐\\Disc1\\a.mp3"}, {MessageKind::Result, "Pelko\\Disc3\\b"}});
    pane.HighlightNewLines();
    EXPECT_EQ(pane.HighlightCursor(), 2);
    const int disc1 = LineText(pane, 0).indexOf(QStringLiteral("Disc1"));
    EXPECT_EQ(ColourAt(pane, 0, disc1), QColor(255, 0, 0));
    EXPECT_EQ(ColourAt(pane, 0, disc1 + 4), QColor(255, 0, 0));
    EXPECT_EQ(ColourAt(pane, 0, disc1 + 5), QColor(0, 0, 0)) << "only the name";
    EXPECT_EQ(ColourAt(pane, 0, disc1 - 1), QColor(0, 0, 0));

    // Disc3 appears in the catalog later: the line already examined stays as it was, a new one
    // naming it is coloured.
    root.AddNewEntry("Disc3", log);
    pane.Post(MessageKind::Result, "Pelko\\Disc3\\b");
    pane.HighlightNewLines();
    const int disc3 = LineText(pane, 1).indexOf(QStringLiteral("Disc3"));
    EXPECT_EQ(ColourAt(pane, 1, disc3), QColor(0, 0, 0));
    EXPECT_EQ(ColourAt(pane, 2, disc3), QColor(255, 0, 0));
    EXPECT_EQ(pane.HighlightCursor(), 3);
    pane.RestartHighlighting();  // as the search does: every line again
    pane.HighlightNewLines();
    EXPECT_EQ(ColourAt(pane, 1, disc3), QColor(255, 0, 0));

    pane.ClearAll();
    EXPECT_EQ(pane.HighlightCursor(), 0);
}

TEST(MessagePaneTest, SavesTextAsGbkWithCrLfAndAnyOtherNameAsRtf) {
    test::TempDir dir;
    MessagePane pane;
    pane.Post(MessageKind::Hint, Local("光盘 乗"));
    pane.Post(MessageKind::Error, "C:\\{x}");
    const auto path = [&](const char* name) { return QString::fromStdString((dir / name).string()); };

    ASSERT_TRUE(pane.SaveTo(path("report.TXT")));
    EXPECT_EQ(test::ReadFile(dir / "report.TXT"), Local("提示：  光盘 乗\r\n错误：  C:\\{x}\r\n"));

    ASSERT_TRUE(pane.SaveTo(path("pane.log")));
    const std::string rtf = test::ReadFile(dir / "pane.log");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1")) << rtf;
    EXPECT_FALSE(pane.LoadFrom(path("pane.log"))) << "a .log name loads nothing";

    ASSERT_TRUE(pane.SaveTo(path("pane.rtf")));
    pane.ClearAll();
    ASSERT_TRUE(pane.LoadFrom(path("pane.rtf")));
    EXPECT_EQ(pane.Editor()->toPlainText(), QString::fromUtf8("提示：  光盘 乗\n错误：  C:\\{x}\n"));
    EXPECT_EQ(ColourAt(pane, 0, 0), QColor(0, 0, 255)) << "colours are kept";
    EXPECT_EQ(ColourAt(pane, 1, 3), QColor(255, 0, 0));
    EXPECT_EQ(FormatAt(pane, 1, 3).fontPointSize(), 9.0);

    // Appending after a loaded text whose last line has no line end starts a new line.
    dir.WriteFile("in.txt", Local("甲\r\n乙\r\n\r\n丙"));
    ASSERT_TRUE(pane.LoadFrom(path("in.txt")));
    EXPECT_EQ(pane.Editor()->toPlainText(), QString::fromUtf8("甲\n乙\n\n丙"));
    pane.Post(MessageKind::Result, "x");
    EXPECT_EQ(LineText(pane, 4), QStringLiteral("        x"));
    EXPECT_EQ(pane.LineCount(), 5);
}

TEST(MessagePaneTest, LoadingLeavesThePaneAloneForOtherNamesAndReportsBadFiles) {
    test::TempDir dir;
    MessagePane pane;
    pane.Post(MessageKind::Hint, "kept");
    const QString before = pane.Editor()->toPlainText();
    dir.WriteFile("old.doc", "{\\rtf1 an RTF under another name}");
    EXPECT_FALSE(pane.LoadFrom(QString::fromStdString((dir / "old.doc").string())));
    EXPECT_EQ(pane.Editor()->toPlainText(), before);

    dir.WriteFile("bad.rtf", "PK\x03\x04 not rtf");
    EXPECT_FALSE(pane.LoadFrom(QString::fromStdString((dir / "bad.rtf").string())));
    EXPECT_FALSE(pane.LoadFrom(QString::fromStdString((dir / "missing.txt").string())));
    EXPECT_FALSE(pane.SaveTo(QString::fromStdString((dir / "no" / "such" / "dir.txt").string())));
    ASSERT_EQ(pane.LineCount(), 4) << "the content stays; each failure adds an error line";
    EXPECT_EQ(LineText(pane, 0), QString::fromUtf8("提示：  kept"));
    for (int i = 1; i < 4; ++i) EXPECT_TRUE(LineText(pane, i).startsWith(QString::fromUtf8("错误：  "))) << i;
}

TEST(MessagePaneTest, SelectionCommandsAndContextMenu) {
    MessagePane pane;
    pane.Post(MessageKind::Result, "a");
    pane.Post(MessageKind::Result, "b");
    pane.SelectAll();
    pane.CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("        a\n        b\n"));

    QTextCursor first(Line(pane, 0));
    first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    pane.Editor()->setTextCursor(first);
    pane.DeleteSelection();
    EXPECT_EQ(pane.Editor()->toPlainText(), QStringLiteral("        b\n"));

    QStringList texts;
    for (QAction* action : pane.ContextActions()) texts << action->text();
    EXPECT_EQ(texts.join(QLatin1Char('|')), QString::fromUtf8("打开...|保存...|全选|拷贝|删除|清空所有信息"));
    pane.ContextActions().back()->trigger();
    EXPECT_EQ(pane.LineCount(), 0);
    EXPECT_EQ(pane.accessibleName(), QString::fromUtf8("提示信息"));
    EXPECT_EQ(pane.Editor()->accessibleName(), QString::fromUtf8("提示信息"));
}

}  // namespace
}  // namespace pelko::ui
