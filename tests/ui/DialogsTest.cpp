// The dialogs of browsing and editing: the new-object dialog (its tree, presets and the answer
// with and without a category), the edit-properties dialog (editable and read-only names, memos
// and untouched bytes), the description dialog, the cover-picture filter, and GB18030 text
// beyond GBK through the fields.

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QInputMethodEvent>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/CRootCategory.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"
#include "ui/app/MessageBoxUi.h"
#include "ui/dialogs/DescriptionDialog.h"
#include "ui/dialogs/EditPropertiesDialog.h"
#include "ui/dialogs/MemoEdit.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/dialogs/NewObjectDialog.h"
#include "ui/dialogs/PictureChooser.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using catalog::CCategory;
using text::Local;

// Pelko(音乐(古典), 软件)
struct Catalog {
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CRootCategory root;
    CCategory* music = nullptr;
    CCategory* classical = nullptr;
    CCategory* software = nullptr;

    Catalog() {
        root.m_strName = "Pelko";
        music = root.AddNewSubcategory(Local("音乐"), log, ui);
        classical = music->AddNewSubcategory(Local("古典"), log, ui);
        software = root.AddNewSubcategory(Local("软件"), log, ui);
    }
};

// A character outside GBK: GB18030 gives it four bytes.
const std::string kBeyondGbk = Local("𠀀");

// Answers the next message box the dialog under test opens and records its text.
void AcceptNextBox(QString* text) {
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

// Types `text` the way an input method commits Chinese text.
void Type(QWidget* field, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(field, &commit);
}

QPushButton* ButtonNamed(const QWidget& dialog, const QString& name) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) return button;
    }
    return nullptr;
}

TEST(NewObjectDialogTest, ShowsEveryCategoryExpandedAndThePresetName) {
    Catalog catalog;
    NewObjectDialog dialog(Local("加入光盘文件disc.pkb"), Local("光盘1"), catalog.root);

    EXPECT_EQ(dialog.windowTitle(), Tr("设置新扫描的对象的相关信息"));
    std::vector<std::string> rows;
    for (QTreeWidgetItemIterator it(dialog.CategoryTree()); *it; ++it) {
        EXPECT_TRUE((*it)->childCount() == 0 || (*it)->isExpanded());
        rows.push_back(FromQt((*it)->text(0)));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"Pelko", Local("音乐"), Local("古典"), Local("软件")}));
    EXPECT_EQ(dialog.NameField()->text(), Tr("光盘1"));
    EXPECT_TRUE(dialog.MemoField()->toPlainText().isEmpty());
    EXPECT_NE(ButtonNamed(dialog, Tr("确认")), nullptr);
    EXPECT_NE(ButtonNamed(dialog, Tr("取消")), nullptr);
}

TEST(NewObjectDialogTest, AnswersTheChosenCategoryOrNone) {
    const struct {
        const char* name;
        CCategory* Catalog::*chosen;  // null: the user chooses nothing
    } rows[] = {
        {"nested-category", &Catalog::classical},
        {"second-branch", &Catalog::software},
        {"nothing-chosen", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Catalog catalog;
        NewObjectDialog dialog(Local("加入光盘文件a.pkb"), Local("旧名"), catalog.root);
        dialog.show();
        // Focus alone gives the tree a current row; it must not count as a choice.
        dialog.CategoryTree()->setFocus();
        CCategory* expected = row.chosen ? catalog.*row.chosen : nullptr;
        if (expected) {
            ASSERT_TRUE(dialog.SelectCategory(expected));
        }
        dialog.NameField()->setText(Tr("新名"));
        dialog.MemoField()->setPlainText(Tr("第一行\n第二行"));
        dialog.accept();

        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        const catalog::NewObjectAnswer answer = dialog.Answer();
        EXPECT_EQ(answer.category, expected);
        EXPECT_EQ(answer.name, Local("新名"));
        EXPECT_EQ(answer.memo, Local("第一行\r\n第二行"));
    }
}

TEST(NewObjectDialogTest, ABlankNameKeepsTheDialogOpen) {
    Catalog catalog;
    NewObjectDialog dialog(Local("加入光盘文件a.pkb"), "", catalog.root);
    dialog.show();
    dialog.NameField()->setText(QStringLiteral("  "));
    QString message;
    AcceptNextBox(&message);
    dialog.accept();
    EXPECT_EQ(message, Tr("请填写该光盘的名称"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(NewObjectDialogTest, MessageBoxUiAnswersFromTheDialogAndNullOnCancel) {
    Catalog catalog;
    MessageBoxUi ui;

    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<NewObjectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->SelectCategory(catalog.music);
        dialog->MemoField()->setPlainText(Tr("备注"));
        ButtonNamed(*dialog, Tr("确认"))->click();
    });
    const auto answer = ui.AskNewObject(Local("加入光盘文件a.pkb"), Local("预设"), catalog.root);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->category, catalog.music);
    EXPECT_EQ(answer->name, Local("预设"));
    EXPECT_EQ(answer->memo, Local("备注"));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<NewObjectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ButtonNamed(*dialog, Tr("取消"))->click();
    });
    EXPECT_FALSE(ui.AskNewObject(Local("加入光盘文件a.pkb"), Local("预设"), catalog.root).has_value());
}

TEST(EditPropertiesDialogTest, ReturnsEditedTextsAndKeepsReadOnlyNames) {
    const struct {
        const char* name;
        bool nameEditable;
        std::string expectedName;
    } rows[] = {
        {"category-or-entry", true, "Disc 2"},
        {"folder-or-file", false, Local("旧名称.txt")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const shell::PropertiesForm form{Local("设置文件的备注信息"), Local("旧名称.txt"), Local("旧备注"),
                                         row.nameEditable};
        EditPropertiesDialog dialog(form);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), Tr("设置文件的备注信息"));
        EXPECT_EQ(dialog.NameField()->isReadOnly(), !row.nameEditable);
        EXPECT_FALSE(dialog.MemoField()->isReadOnly());

        // Typing goes nowhere in a read-only name.
        dialog.NameField()->selectAll();
        QTest::keyClicks(dialog.NameField(), QStringLiteral("Disc 2"));
        dialog.MemoField()->setPlainText(Tr("新备注\n第二行"));
        dialog.accept();

        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Name(), row.expectedName);
        EXPECT_EQ(dialog.Memo(), Local("新备注\r\n第二行"));
    }
}

TEST(EditPropertiesDialogTest, UntouchedFieldsGiveBackTheirBytes) {
    // Bytes that decode to U+FFFD, a CR LF memo and a lone CR would all change if the fields
    // converted what they show back to bytes; the editor would then rename and re-store them.
    const struct {
        const char* name;
        std::string objectName;
        std::string memo;
    } rows[] = {
        {"undecodable-name", std::string("disc\xFF\xFE"), Local("备注")},
        {"crlf-memo", Local("光盘"), Local("一\r\n二")},
        {"lone-cr-memo", Local("光盘"), std::string("a\rb")},
        {"beyond-gbk", kBeyondGbk, kBeyondGbk},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditPropertiesDialog dialog(shell::PropertiesForm{Local("设置对象的备注信息"), row.objectName, row.memo, true});
        dialog.accept();
        EXPECT_EQ(dialog.Name(), row.objectName);
        EXPECT_EQ(dialog.Memo(), row.memo);
    }
}

TEST(EditPropertiesDialogTest, ABlankEditableNameKeepsTheDialogOpen) {
    EditPropertiesDialog dialog(shell::PropertiesForm{Local("设置类别的备注信息"), Local("音乐"), "", true});
    dialog.show();
    dialog.NameField()->setText(QStringLiteral(" "));
    QString message;
    AcceptNextBox(&message);
    dialog.accept();
    EXPECT_EQ(message, Tr("名称不能为空"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(DialogsTextTest, CharactersBeyondGbkRoundTripThroughTheFields) {
    const QString typed = Tr("𠀀");
    ASSERT_EQ(typed.size(), 2);  // a surrogate pair: U+20000
    ASSERT_EQ(kBeyondGbk, std::string("\x95\x32\x82\x36"));

    Catalog catalog;
    NewObjectDialog newObject(Local("加入光盘文件a.pkb"), kBeyondGbk, catalog.root);
    EXPECT_EQ(newObject.NameField()->text(), typed);
    newObject.NameField()->setText(Tr("盘") + typed);
    newObject.MemoField()->setPlainText(typed);
    newObject.accept();
    EXPECT_EQ(newObject.Answer().name, Local("盘") + kBeyondGbk);
    EXPECT_EQ(newObject.Answer().memo, kBeyondGbk);

    EditPropertiesDialog edit(shell::PropertiesForm{Local("设置对象的备注信息"), Local("盘"), "", true});
    edit.show();
    edit.NameField()->end(false);
    Type(edit.NameField(), typed);
    edit.accept();
    EXPECT_EQ(edit.Name(), Local("盘") + kBeyondGbk);
}

TEST(DescriptionDialogTest, ShowsTheTextLineByLineReadOnly) {
    const QString description = Tr("类别名称：音乐\r\n子类别个数：0 个\r\n备注信息：");
    DescriptionDialog dialog(description);
    EXPECT_EQ(dialog.windowTitle(), Tr("属性..."));
    EXPECT_TRUE(dialog.TextView()->isReadOnly());
    EXPECT_EQ(dialog.TextView()->document()->blockCount(), 3);
    EXPECT_EQ(dialog.TextView()->toPlainText(), Tr("类别名称：音乐\n子类别个数：0 个\n备注信息："));
    QPushButton* ok = ButtonNamed(dialog, Tr("确认"));
    ASSERT_NE(ok, nullptr);
    dialog.show();
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PictureChooserTest, WindowsFiltersBecomeQtFilters) {
    const struct {
        const char* name;
        const char* windows;
        const char* qt;
    } rows[] = {
        {"cover-import", "Picture files(*.bmp;*.jpg)|*.bmp;*.jpg|BMP files (*.bmp)|*.bmp|JPEG files(*.jpg)|*.jpg||",
         "Picture files(*.bmp *.jpg);;BMP files (*.bmp);;JPEG files(*.jpg)"},
        {"one-entry", "Pelko files (*.pkb)|*.pkb||", "Pelko files (*.pkb)"},
        {"text-without-patterns", "All|*.*||", "All (*.*)"},
        {"no-trailing-bars", "Text|*.txt;*.log", "Text (*.txt *.log)"},
        {"empty", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(QtFileFilter(row.windows), QString::fromUtf8(row.qt));
    }
}

}  // namespace
}  // namespace pelko::ui
