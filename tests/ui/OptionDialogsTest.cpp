// The option dialogs of the ReadMe, popup, MP3 and export settings over a real INI file: what
// each one shows at open, what it stores and when, the boxes that switch others off, the MP3
// separator's one-byte rule, and model text through the export fields as the next run reads it.

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "OptionsFixture.h"
#include "text/Codec.h"
#include "ui/dialogs/options/ExportOptionsDialog.h"
#include "ui/dialogs/options/Mp3OptionsDialog.h"
#include "ui/dialogs/options/PopupSchemeDialog.h"
#include "ui/dialogs/options/ReadMeOptionsDialog.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using text::Local;

template <typename Widget>
Widget* Named(const QWidget& dialog, const char* objectName) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(objectName));
    EXPECT_NE(widget, nullptr) << objectName;
    return widget;
}

QCheckBox* Box(const QWidget& dialog, const char* objectName) { return Named<QCheckBox>(dialog, objectName); }
QLineEdit* Field(const QWidget& dialog, const char* objectName) { return Named<QLineEdit>(dialog, objectName); }

QPushButton* ButtonNamed(const QWidget& dialog, const QString& name) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) return button;
    }
    ADD_FAILURE() << "no button " << name.toStdString();
    return nullptr;
}

// Types `text` as a person would: ASCII with keys, anything else as an input method commits it.
void Type(QWidget* field, const QString& text) {
    for (QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(field, char(character.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(character);
            QApplication::sendEvent(field, &commit);
        }
    }
}

void ClickOk(QDialog& dialog) { ButtonNamed(dialog, Tr("确认"))->click(); }
void ClickCancel(QDialog& dialog) { ButtonNamed(dialog, Tr("取消"))->click(); }

using DialogMaker = std::function<std::unique_ptr<QDialog>(shell::AppSettings&, settings::SettingsStore&)>;
template <typename Dialog>
DialogMaker Maker() {
    return [](shell::AppSettings& options, settings::SettingsStore& store) {
        return std::make_unique<Dialog>(options, store);
    };
}

TEST(OptionDialogsTest, CaptionsButtonsAndAccessibleNamesAreTheShownTexts) {
    const struct {
        DialogMaker make;
        const char* caption;
    } rows[] = {
        {Maker<ReadMeOptionsDialog>(), "ReadMe选项"},
        {Maker<PopupSchemeDialog>(), "对话框弹出方案"},
        {Maker<Mp3OptionsDialog>(), "MP3文件分析选项"},
        {Maker<ExportOptionsDialog>(), "导出文件网页时候的配置选项"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        test::OptionsFixture fixture;
        auto dialog = row.make(fixture.options, fixture.store);
        EXPECT_EQ(dialog->windowTitle(), Tr(row.caption));
        EXPECT_EQ(dialog->accessibleName(), dialog->windowTitle());
        EXPECT_TRUE(dialog->isModal());
        EXPECT_FALSE(dialog->objectName().isEmpty());
        ButtonNamed(*dialog, Tr("确认"));
        ButtonNamed(*dialog, Tr("取消"));
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            EXPECT_EQ(button->accessibleName(), button->text()) << button->objectName().toStdString();
        }
        for (const QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(field->accessibleName().isEmpty()) << field->objectName().toStdString();
        }
        // Opening shows the values; it never stores one.
        EXPECT_FALSE(fixture.FileWritten());
        dialog->reject();
    }
}

TEST(OptionDialogsTest, CancellingStoresNothingButOkStoresTheShownValues) {
    const struct {
        DialogMaker make;
        const char* name;
        const char* someKey;
    } rows[] = {
        {Maker<PopupSchemeDialog>(), "popup", "PopAskNewCDDlg"},
        {Maker<Mp3OptionsDialog>(), "mp3", "Mp3Gap"},
        {Maker<ExportOptionsDialog>(), "export", "g_szExDirSign"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        {
            test::OptionsFixture fixture;
            auto dialog = row.make(fixture.options, fixture.store);
            dialog->show();
            ClickCancel(*dialog);
            EXPECT_FALSE(fixture.FileWritten());
        }
        {
            test::OptionsFixture fixture;
            auto dialog = row.make(fixture.options, fixture.store);
            dialog->show();
            dialog->reject();  // Escape or the window's close button
            EXPECT_FALSE(fixture.FileWritten());
        }
        {
            test::OptionsFixture fixture;
            auto dialog = row.make(fixture.options, fixture.store);
            dialog->show();
            ClickOk(*dialog);
            EXPECT_TRUE(fixture.Stored(row.someKey));
        }
    }
}

TEST(ReadMeOptionsDialogTest, ShowsTheStoredChoicesAndStoresThemHoweverItCloses) {
    const struct {
        const char* name;
        std::function<void(QDialog&)> close;
    } rows[] = {
        {"ok", ClickOk},
        {"cancel", ClickCancel},
        {"escape", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::OptionsFixture fixture;
        fixture.Preset("AutoFillReadme", 0);
        fixture.Preset("AutoOpenReadme", 0);
        ReadMeOptionsDialog dialog(fixture.options, fixture.store);
        dialog.show();
        QCheckBox* autoFill = Box(dialog, "auto-fill-readme");
        auto* atOnce = Named<QRadioButton>(dialog, "open-readme-at-once");
        auto* onDoubleClick = Named<QRadioButton>(dialog, "open-readme-on-double-click");
        EXPECT_FALSE(autoFill->isChecked());
        EXPECT_TRUE(atOnce->isChecked());
        EXPECT_FALSE(onDoubleClick->isChecked());

        autoFill->setChecked(true);
        onDoubleClick->click();
        EXPECT_FALSE(atOnce->isChecked()) << "the two choices exclude each other";
        row.close(dialog);

        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(fixture.StoredInt("AutoFillReadme"), 1);
        EXPECT_EQ(fixture.StoredInt("AutoOpenReadme"), 1);
        EXPECT_EQ(fixture.options.IntValue(fixture.store, "AutoOpenReadme"), 1);
    }
}

TEST(ReadMeOptionsDialogTest, AFreshInstallationShowsTheDefaults) {
    test::OptionsFixture fixture;
    ReadMeOptionsDialog dialog(fixture.options, fixture.store);
    EXPECT_TRUE(Box(dialog, "auto-fill-readme")->isChecked());
    EXPECT_TRUE(Named<QRadioButton>(dialog, "open-readme-on-double-click")->isChecked());
    Named<QRadioButton>(dialog, "open-readme-at-once")->click();
    ClickCancel(dialog);
    EXPECT_EQ(fixture.StoredInt("AutoFillReadme"), 1);
    EXPECT_EQ(fixture.StoredInt("AutoOpenReadme"), 0);
}

TEST(PopupSchemeDialogTest, TheBoxTextsBeginAsTheProgramSaysAndTheAskBoxNotesWhenNothingHappens) {
    test::OptionsFixture fixture;
    PopupSchemeDialog dialog(fixture.options, fixture.store);
    const struct {
        const char* box;
        const char* begins;
    } rows[] = {
        {"ask-before-closing", "退出Pelko－光盘管理工具的时候提示"},
        {"ask-on-new-disc", "检测到光驱内插入了新的光盘的时候提示"},
        {"scan-new-disc-unasked", "检测到光驱内插入了新的光盘的时候不提示"},
        {"no-added-message", "扫描完毕后不弹出"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(Box(dialog, row.box)->text().startsWith(Tr(row.begins))) << row.box;
    }
    EXPECT_TRUE(Box(dialog, "ask-on-new-disc")->text().contains(Tr("不做任何处理")));
}

TEST(PopupSchemeDialogTest, TheAskBoxIsOffWhileScanningWithoutAskingIsTicked) {
    {
        test::OptionsFixture fixture;
        PopupSchemeDialog dialog(fixture.options, fixture.store);
        dialog.show();
        QCheckBox* ask = Box(dialog, "ask-on-new-disc");
        QCheckBox* unasked = Box(dialog, "scan-new-disc-unasked");
        EXPECT_TRUE(ask->isEnabled());
        unasked->click();
        EXPECT_FALSE(ask->isEnabled());
        unasked->click();
        EXPECT_TRUE(ask->isEnabled());
        dialog.reject();
    }
    {
        test::OptionsFixture fixture;
        fixture.Preset("ScanUnAskNewCDDlg", 1);
        PopupSchemeDialog dialog(fixture.options, fixture.store);
        dialog.show();
        QCheckBox* ask = Box(dialog, "ask-on-new-disc");
        EXPECT_TRUE(Box(dialog, "scan-new-disc-unasked")->isChecked());
        EXPECT_FALSE(ask->isEnabled()) << "already when the dialog opens";
        Box(dialog, "scan-new-disc-unasked")->click();
        EXPECT_TRUE(ask->isEnabled());
        dialog.reject();
    }
}

TEST(PopupSchemeDialogTest, OkStoresEachBoxAndTheLastOneAsTheNegationOfTheAddedNotice) {
    test::OptionsFixture fixture;
    fixture.Preset("PopAddedInfoDlg", 1);
    PopupSchemeDialog dialog(fixture.options, fixture.store);
    dialog.show();
    // Fresh defaults elsewhere: ask before closing, ask on a new disc, no unasked scan.
    EXPECT_TRUE(Box(dialog, "ask-before-closing")->isChecked());
    EXPECT_TRUE(Box(dialog, "ask-on-new-disc")->isChecked());
    EXPECT_FALSE(Box(dialog, "scan-new-disc-unasked")->isChecked());
    QCheckBox* noNotice = Box(dialog, "no-added-message");
    EXPECT_FALSE(noNotice->isChecked()) << "the notice is on, so its 'do not show' box is not ticked";

    noNotice->click();
    Box(dialog, "ask-before-closing")->click();
    Box(dialog, "ask-on-new-disc")->click();
    Box(dialog, "scan-new-disc-unasked")->click();
    ClickOk(dialog);

    EXPECT_EQ(fixture.StoredInt("PopAddedInfoDlg"), 0);
    EXPECT_EQ(fixture.StoredInt("PopCloseDlg"), 0);
    EXPECT_EQ(fixture.StoredInt("PopAskNewCDDlg"), 0);
    EXPECT_EQ(fixture.StoredInt("ScanUnAskNewCDDlg"), 1);
    EXPECT_EQ(fixture.options.IntValue(fixture.store, "PopAddedInfoDlg"), 0);
}

TEST(PopupSchemeDialogTest, UntickingTheNoNoticeBoxTurnsTheNoticeOn) {
    test::OptionsFixture fixture;
    PopupSchemeDialog dialog(fixture.options, fixture.store);
    dialog.show();
    QCheckBox* noNotice = Box(dialog, "no-added-message");
    EXPECT_TRUE(noNotice->isChecked()) << "a fresh installation shows no notice";
    noNotice->click();
    ClickOk(dialog);
    EXPECT_EQ(fixture.StoredInt("PopAddedInfoDlg"), 1);
}

const char* const kFieldBoxes[] = {"mp3-title", "mp3-artist", "mp3-album", "mp3-comment", "mp3-year", "mp3-genre"};

TEST(Mp3OptionsDialogTest, FieldBoxesAreTheBitsOfTheKeptFields) {
    test::OptionsFixture fixture;
    Mp3OptionsDialog dialog(fixture.options, fixture.store);
    dialog.show();
    const QString texts[] = {Tr("曲名"), Tr("作曲/歌手/音乐家"), Tr("唱片"), Tr("描述"), Tr("年份"), Tr("流派")};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Box(dialog, kFieldBoxes[i])->text(), texts[i]);
    // Default: the title only.
    EXPECT_TRUE(Box(dialog, "mp3-title")->isChecked());
    EXPECT_FALSE(Box(dialog, "mp3-year")->isChecked());

    Box(dialog, "mp3-year")->click();
    ClickOk(dialog);
    EXPECT_EQ(fixture.StoredInt("Mp3Op"), 17);
    EXPECT_EQ(fixture.options.IntValue(fixture.store, "Mp3Op"), 17);
    EXPECT_EQ(fixture.StoredInt("ExtractMp3"), 1);
}

TEST(Mp3OptionsDialogTest, OpensWithEveryStoredBitAndStoresThemBack) {
    for (int kept : {0, 2 | 8 | 32, 63}) {
        SCOPED_TRACE(kept);
        test::OptionsFixture fixture;
        fixture.Preset("Mp3Op", kept);
        Mp3OptionsDialog dialog(fixture.options, fixture.store);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(Box(dialog, kFieldBoxes[i])->isChecked(), (kept >> i & 1) != 0);
        ClickOk(dialog);
        EXPECT_EQ(fixture.StoredInt("Mp3Op"), kept);
    }
}

TEST(Mp3OptionsDialogTest, FieldsAndSeparatorFollowTheExtractBox) {
    test::OptionsFixture fixture;
    fixture.Preset("ExtractMp3", 0);
    Mp3OptionsDialog dialog(fixture.options, fixture.store);
    dialog.show();
    QCheckBox* extract = Box(dialog, "extract-mp3");
    QLineEdit* separator = Field(dialog, "mp3-separator");
    EXPECT_FALSE(extract->isChecked());
    for (const char* name : kFieldBoxes) EXPECT_FALSE(Box(dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(separator->isEnabled());

    extract->click();
    for (const char* name : kFieldBoxes) EXPECT_TRUE(Box(dialog, name)->isEnabled()) << name;
    EXPECT_TRUE(separator->isEnabled());
    EXPECT_EQ(separator->selectedText(), QStringLiteral("+")) << "so that typing replaces it";

    extract->click();
    EXPECT_FALSE(Box(dialog, "mp3-genre")->isEnabled());
    EXPECT_FALSE(separator->isEnabled());
    // The kept fields still go to the store while reading MP3 information is off.
    Box(dialog, "mp3-album")->setChecked(true);
    ClickOk(dialog);
    EXPECT_EQ(fixture.StoredInt("ExtractMp3"), 0);
    EXPECT_EQ(fixture.StoredInt("Mp3Op"), 1 | 4);
}

TEST(Mp3OptionsDialogTest, SeparatorIsOneAsciiCharacterAndEmptyMeansSpace) {
    const struct {
        const char* name;
        int stored;              // -1: fresh installation
        const char* shown;       // UTF-8
        const char* typed;       // typed after clearing the field; nullptr leaves it untouched
        const char* expectText;  // what the field holds before OK
        int expectCode;
    } rows[] = {
        {"default plus kept", -1, "+", nullptr, "+", 43},
        {"cleared is space", -1, "+", "", "", 32},
        {"typed semicolon", -1, "+", ";", ";", 59},
        {"only the first of two", -1, "+", "/-", "/", 47},
        {"stored space shown", 32, " ", nullptr, " ", 32},
        {"Chinese refused", -1, "+", "、", "", 32},
        {"Latin-1 refused", -1, "+", "é", "", 32},
        {"control code shows empty", 9, "", nullptr, "", 32},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::OptionsFixture fixture;
        if (row.stored >= 0) fixture.Preset("Mp3Gap", row.stored);
        Mp3OptionsDialog dialog(fixture.options, fixture.store);
        dialog.show();
        QLineEdit* separator = Field(dialog, "mp3-separator");
        EXPECT_EQ(separator->maxLength(), 1);
        EXPECT_EQ(separator->text(), Tr(row.shown));
        if (row.typed) {
            separator->setFocus();
            separator->selectAll();
            QTest::keyClick(separator, Qt::Key_Backspace);
            Type(separator, Tr(row.typed));
        }
        EXPECT_EQ(separator->text(), Tr(row.expectText));
        ClickOk(dialog);
        EXPECT_EQ(fixture.StoredInt("Mp3Gap"), row.expectCode);
        EXPECT_EQ(fixture.options.IntValue(fixture.store, "Mp3Gap"), row.expectCode);
    }
}

TEST(ExportOptionsDialogTest, ShowsTheDefaultsOfAFreshInstallation) {
    test::OptionsFixture fixture;
    ExportOptionsDialog dialog(fixture.options, fixture.store);
    EXPECT_EQ(Field(dialog, "memo-text-before")->text(), QStringLiteral("/*"));
    EXPECT_EQ(Field(dialog, "memo-text-after")->text(), QStringLiteral("*/"));
    EXPECT_EQ(Field(dialog, "memo-html-before")->text(), QStringLiteral("/*"));
    EXPECT_EQ(Field(dialog, "memo-html-after")->text(), QStringLiteral("*/"));
    EXPECT_EQ(Field(dialog, "folder-sign")->text(), Tr("【文件夹】"));
    EXPECT_EQ(Field(dialog, "folder-sign")->accessibleName(), Tr("导出树状文本文件时，文件夹示意字符："));
    EXPECT_EQ(Box(dialog, "export-tree")->text(), Tr("导出文本文件时候以树状导出"));
    EXPECT_EQ(Box(dialog, "export-memo")->text(), Tr("导出内容同时导出备注信息"));
    EXPECT_TRUE(Box(dialog, "export-tree")->isChecked());
    EXPECT_FALSE(Box(dialog, "export-memo")->isChecked());
    dialog.reject();
}

TEST(ExportOptionsDialogTest, TextsReachTheNextRunAsModelBytesAndTheBoxesAreStored) {
    const struct {
        const char* field;
        const char* key;
        const char* typed;  // UTF-8
    } rows[] = {
        {"memo-text-before", "g_szExTxtPre", "【备注："},
        {"memo-text-after", "g_szExTxtPost", "】"},
        {"memo-html-before", "g_szExHtmPre", "<i>(, "},
        {"memo-html-after", "g_szExHtmPost", " ,)</i>"},
        {"folder-sign", "g_szExDirSign", "𠀀目录€"},  // beyond GBK, and € as the one byte 0x80
    };
    test::OptionsFixture fixture;
    ExportOptionsDialog dialog(fixture.options, fixture.store);
    dialog.show();
    for (const auto& row : rows) Field(dialog, row.field)->setText(Tr(row.typed));
    Box(dialog, "export-tree")->click();
    Box(dialog, "export-memo")->click();
    ClickOk(dialog);

    for (const auto& row : rows) {
        EXPECT_EQ(fixture.StoredString(row.key), Local(row.typed)) << row.key;
        EXPECT_EQ(fixture.options.TextValue(fixture.store, row.key), Local(row.typed)) << row.key;
    }
    EXPECT_EQ(Local("€"), "\x80");
    EXPECT_EQ(fixture.StoredInt("g_bExportTree"), 0);
    EXPECT_EQ(fixture.StoredInt("g_bExportMemo"), 1);

    // The next run's dialog shows them again.
    shell::AppSettings nextRun;
    platform::QtSettingsStore nextStore(fixture.iniFile);
    nextRun.Load(nextStore);
    ExportOptionsDialog reopened(nextRun, nextStore);
    for (const auto& row : rows) EXPECT_EQ(Field(reopened, row.field)->text(), Tr(row.typed)) << row.key;
    EXPECT_FALSE(Box(reopened, "export-tree")->isChecked());
    EXPECT_TRUE(Box(reopened, "export-memo")->isChecked());
    reopened.reject();
}

}  // namespace
}  // namespace pelko::ui
