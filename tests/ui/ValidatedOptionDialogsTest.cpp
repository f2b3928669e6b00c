// The option dialogs that check what was typed before they store it: picture options (thumbnail
// size, warnings, storing on either button, the "缺省值" button), scan options (limit ranges, the
// two exclusive type lists, lower-cased lists) and icon display options (icon size range, the
// size list), each over a temporary INI file read back as the next run would.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OptionsFixture.h"
#include "text/Codec.h"
#include "ui/dialogs/options/IconDisplayDialog.h"
#include "ui/dialogs/options/IconSizes.h"
#include "ui/dialogs/options/PictureOptionsDialog.h"
#include "ui/dialogs/options/ScanOptionsDialog.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using text::Local;

// The control of type W whose accessible name is `utf8Name`; the dialogs name every control, so
// this also finds a missing name.
template <class W>
W* Control(const QWidget& dialog, const char* utf8Name) {
    for (W* widget : dialog.findChildren<W*>()) {
        if (widget->accessibleName() == Tr(utf8Name)) return widget;
    }
    ADD_FAILURE() << "no control named " << utf8Name;
    return nullptr;
}

QCheckBox* Check(const QWidget& dialog, const char* name) { return Control<QCheckBox>(dialog, name); }
QLineEdit* Field(const QWidget& dialog, const char* name) { return Control<QLineEdit>(dialog, name); }
QPushButton* Button(const QWidget& dialog, const char* name) { return Control<QPushButton>(dialog, name); }

// Replaces a field's text the way a user pasting over it does: through the field's validator.
void TypeInto(QLineEdit* field, const char* utf8Text) {
    field->selectAll();
    field->insert(Tr(utf8Text));
}

// The value the running program holds now (its process-wide copy where it keeps one).
int Current(const test::OptionsFixture& fixture, const char* key) {
    return fixture.options.IntValue(fixture.store, key);
}

void ExpectStillOpen(const QDialog& dialog) {
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

void ExpectClosed(const QDialog& dialog, QDialog::DialogCode how) {
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), how);
}

// ---- picture options -----------------------------------------------------------------------

const char* const kWidthWarning = "缩略图的宽度大于1024，建议不要这么大，\n缩略图尺寸越大，显示速度越慢";
const char* const kHeightWarning = "缩略图的高度大于768，建议不要这么大，\n缩略图尺寸越大，显示速度越慢";

TEST(PictureOptionsDialogTest, OpensWithTheCaptionControlsAndStoredValues) {
    test::OptionsFixture fixture;
    fixture.Preset("g_bPicGif", 0);
    fixture.Preset("g_bMostPicPerDir", 1);
    fixture.Preset("g_nMostPicPerDir", 25);
    fixture.Preset("g_nPicHight", 200);
    PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);

    EXPECT_EQ(dialog.windowTitle(), Tr("图片扫描选项..."));
    EXPECT_EQ(dialog.accessibleName(), dialog.windowTitle());
    EXPECT_TRUE(dialog.isModal());
    EXPECT_TRUE(Check(dialog, "扫描对象的时自动对如下类型的图片进行缩略图处理")->isChecked());
    for (const char* type : {"BMP", "JPG", "JPE", "TIFF", "PSD"}) {
        EXPECT_TRUE(Check(dialog, type)->isChecked()) << type;
    }
    EXPECT_FALSE(Check(dialog, "GIF")->isChecked());
    EXPECT_TRUE(Check(dialog, "每个文件夹最多扫描图片")->isChecked());
    EXPECT_EQ(Field(dialog, "每个文件夹最多扫描图片")->text(), QStringLiteral("25"));
    EXPECT_FALSE(Check(dialog, "整个扫描过程最多扫描图片")->isChecked());
    EXPECT_FALSE(Check(dialog, "指定扫描到硬盘的缩略图大小")->isChecked());
    EXPECT_EQ(Field(dialog, "宽度：")->text(), QStringLiteral("320"));
    EXPECT_EQ(Field(dialog, "高度：")->text(), QStringLiteral("200"));
    EXPECT_NE(Button(dialog, "确认"), nullptr);
    EXPECT_NE(Button(dialog, "取消"), nullptr);
    dialog.reject();
}

TEST(PictureOptionsDialogTest, EachControlIsEnabledOnlyWhileItsBoxIsTicked) {
    test::OptionsFixture fixture;
    fixture.Preset("g_bPicScan", 0);
    PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();

    struct Rule {
        const char* box;
        std::vector<QWidget*> controls;
    };
    const std::vector<Rule> rules = {
        {"扫描对象的时自动对如下类型的图片进行缩略图处理",
         {Check(dialog, "BMP"), Check(dialog, "JPG"), Check(dialog, "JPE"), Check(dialog, "GIF"),
          Check(dialog, "TIFF"), Check(dialog, "PSD")}},
        {"每个文件夹最多扫描图片", {Field(dialog, "每个文件夹最多扫描图片")}},
        {"整个扫描过程最多扫描图片", {Field(dialog, "整个扫描过程最多扫描图片")}},
        {"指定扫描到硬盘的缩略图大小", {Field(dialog, "宽度："), Field(dialog, "高度：")}},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.box);
        QCheckBox* box = Check(dialog, rule.box);
        ASSERT_FALSE(box->isChecked());  // as stored, or by default
        for (QWidget* control : rule.controls) EXPECT_FALSE(control->isEnabled());
        box->click();
        for (QWidget* control : rule.controls) EXPECT_TRUE(control->isEnabled());
        box->click();
        for (QWidget* control : rule.controls) EXPECT_FALSE(control->isEnabled());
    }
    dialog.reject();
}

TEST(PictureOptionsDialogTest, ASizeOfZeroOrLessIsRefusedAndTheDialogStaysOpen) {
    struct Case {
        const char* width;
        const char* height;
        const char* message;
    };
    const Case cases[] = {
        {"0", "240", "缩略图的宽度像素需要大于零"},
        {"-5", "0", "缩略图的宽度像素需要大于零"},  // width is checked first
        {"", "240", "缩略图的宽度像素需要大于零"},
        {"320", "0", "缩略图的高度像素需要大于零"},
        {"320", "-1", "缩略图的高度像素需要大于零"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        test::OptionsFixture fixture;
        fixture.Preset("g_bPicSize", 1);
        PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        TypeInto(Field(dialog, "宽度："), c.width);
        TypeInto(Field(dialog, "高度："), c.height);
        Button(dialog, "确认")->click();

        ExpectStillOpen(dialog);
        EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{Local(c.message)});
        EXPECT_FALSE(fixture.Stored("g_nPicWidth"));

        // Corrected, the same dialog closes and stores.
        TypeInto(Field(dialog, "宽度："), "100");
        TypeInto(Field(dialog, "高度："), "80");
        Button(dialog, "确认")->click();
        ExpectClosed(dialog, QDialog::Accepted);
        EXPECT_EQ(fixture.StoredInt("g_nPicWidth"), 100);
        EXPECT_EQ(fixture.StoredInt("g_nPicHight"), 80);
    }
}

TEST(PictureOptionsDialogTest, ALargeSizeIsStoredAfterItsWarningsInOrder) {
    struct Case {
        const char* width;
        const char* height;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"2000", "1000", {Local(kWidthWarning), Local(kHeightWarning)}},
        {"1025", "768", {Local(kWidthWarning)}},
        {"1024", "769", {Local(kHeightWarning)}},
        {"1024", "768", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        test::OptionsFixture fixture;
        PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        Check(dialog, "指定扫描到硬盘的缩略图大小")->click();
        TypeInto(Field(dialog, "宽度："), c.width);
        TypeInto(Field(dialog, "高度："), c.height);
        Button(dialog, "确认")->click();

        ExpectClosed(dialog, QDialog::Accepted);
        EXPECT_EQ(fixture.ui.messages, c.warnings);
        EXPECT_EQ(fixture.StoredInt("g_bPicSize"), 1);
        EXPECT_EQ(fixture.StoredInt("g_nPicWidth"), std::stoi(c.width));
        EXPECT_EQ(fixture.StoredInt("g_nPicHight"), std::stoi(c.height));
        EXPECT_EQ(Current(fixture, "g_nPicWidth"), std::stoi(c.width));
        EXPECT_EQ(Current(fixture, "g_nPicHight"), std::stoi(c.height));
    }
}

TEST(PictureOptionsDialogTest, DefaultSizeThenCancelStoresTheDefaultSize) {
    test::OptionsFixture fixture;
    fixture.Preset("g_bPicSize", 1);
    fixture.Preset("g_nPicWidth", 800);
    fixture.Preset("g_nPicHight", 600);
    PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();

    Button(dialog, "缺省值")->click();
    EXPECT_EQ(Field(dialog, "宽度：")->text(), QStringLiteral("320"));
    EXPECT_EQ(Field(dialog, "高度：")->text(), QStringLiteral("240"));
    Button(dialog, "取消")->click();

    ExpectClosed(dialog, QDialog::Rejected);
    EXPECT_EQ(fixture.StoredInt("g_nPicWidth"), 320);
    EXPECT_EQ(fixture.StoredInt("g_nPicHight"), 240);
    EXPECT_EQ(Current(fixture, "g_nPicWidth"), 320);
    EXPECT_TRUE(fixture.ui.messages.empty());
}

TEST(PictureOptionsDialogTest, CancelKeepsEveryChoiceAndANegativeCountAsTyped) {
    test::OptionsFixture fixture;
    PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    Check(dialog, "PSD")->click();
    Check(dialog, "整个扫描过程最多扫描图片")->click();
    TypeInto(Field(dialog, "整个扫描过程最多扫描图片"), "-3");
    Button(dialog, "取消")->click();

    ExpectClosed(dialog, QDialog::Rejected);
    EXPECT_EQ(fixture.StoredInt("g_bPicPsd"), 0);
    EXPECT_EQ(fixture.StoredInt("g_bPicBmp"), 1);
    EXPECT_EQ(fixture.StoredInt("g_bMostPicPerDisk"), 1);
    EXPECT_EQ(fixture.StoredInt("g_nMostPicPerDisk"), -3);
    EXPECT_EQ(Current(fixture, "g_nMostPicPerDisk"), -3);
    EXPECT_FALSE(Current(fixture, "g_bPicPsd"));
}

// A size the user cannot edit (its box unticked) must not stop the dialog from closing.
TEST(PictureOptionsDialogTest, AnUnusedSizeIsNotChecked) {
    test::OptionsFixture fixture;
    fixture.Preset("g_nPicWidth", 0);
    PictureOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    ASSERT_FALSE(Field(dialog, "宽度：")->isEnabled());
    Button(dialog, "确认")->click();

    ExpectClosed(dialog, QDialog::Accepted);
    EXPECT_TRUE(fixture.ui.messages.empty());
    EXPECT_EQ(fixture.StoredInt("g_bPicSize"), 0);
    EXPECT_EQ(fixture.StoredInt("g_nPicWidth"), 0);
}

// ---- scan options -----------------------------------------------------------------------------

const char* const kPerFolder = "每个文件夹最多扫描文件数";
const char* const kPerScan = "整个扫描过程最多扫描文件数";
const char* const kDepth = "最多扫描目录层数";
const char* const kSkipList = "不扫描如下类型的文件";
const char* const kOnlyList = "仅扫描如下类型的文件";
const char* const kCopyList = "扫描时把如下文件拷贝到本地硬盘";

TEST(ScanOptionsDialogTest, OpensWithTheStoredValuesAndEachFieldFollowsItsBox) {
    test::OptionsFixture fixture;
    fixture.Preset("g_bCheckDirLimit", 1);
    fixture.Preset("g_nDirLimit", 7);
    fixture.Preset("g_szFileCopy", "*.nfo");
    ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), Tr("扫描选项..."));
    EXPECT_EQ(dialog.accessibleName(), dialog.windowTitle());
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(Field(dialog, kPerFolder)->text(), QStringLiteral("100000"));
    EXPECT_EQ(Field(dialog, kPerScan)->text(), QStringLiteral("10000000"));
    EXPECT_EQ(Field(dialog, kDepth)->text(), QStringLiteral("7"));
    EXPECT_EQ(Field(dialog, kCopyList)->text(), QStringLiteral("*.nfo"));
    EXPECT_FALSE(Check(dialog, "仅扫描目录，忽略所有文件")->isChecked());

    for (const char* name : {kPerFolder, kPerScan, kDepth, kSkipList, kOnlyList, kCopyList}) {
        SCOPED_TRACE(name);
        QCheckBox* box = Check(dialog, name);
        QLineEdit* field = Field(dialog, name);
        EXPECT_EQ(field->isEnabled(), box->isChecked());
        box->click();
        EXPECT_EQ(field->isEnabled(), box->isChecked());
    }
    dialog.reject();
}

TEST(ScanOptionsDialogTest, TickingOneTypeListClearsTheOther) {
    test::OptionsFixture fixture;
    ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    QCheckBox* skip = Check(dialog, kSkipList);
    QCheckBox* only = Check(dialog, kOnlyList);

    skip->click();
    EXPECT_TRUE(skip->isChecked());
    EXPECT_FALSE(only->isChecked());
    only->click();
    EXPECT_TRUE(only->isChecked());
    EXPECT_FALSE(skip->isChecked());
    EXPECT_FALSE(Field(dialog, kSkipList)->isEnabled());
    skip->click();
    EXPECT_FALSE(only->isChecked());
    EXPECT_FALSE(Field(dialog, kOnlyList)->isEnabled());

    // Unticking one leaves the other as it is.
    skip->click();
    EXPECT_FALSE(skip->isChecked());
    EXPECT_FALSE(only->isChecked());

    only->click();
    Button(dialog, "确认")->click();
    EXPECT_EQ(fixture.StoredInt("g_bCheckFileExt"), 0);
    EXPECT_EQ(fixture.StoredInt("g_bCheckFileExt2"), 1);
}

TEST(ScanOptionsDialogTest, ListsAreStoredInLowerCase) {
    test::OptionsFixture fixture;
    ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    Check(dialog, kSkipList)->click();
    TypeInto(Field(dialog, kSkipList), "*.EXE;Readme.TXT");
    TypeInto(Field(dialog, kOnlyList), "*.MP3");
    Check(dialog, kCopyList)->click();
    TypeInto(Field(dialog, kCopyList), "*.NFO;文件.TXT");
    Button(dialog, "确认")->click();

    ExpectClosed(dialog, QDialog::Accepted);
    EXPECT_EQ(fixture.StoredString("g_szFileLimit"), "*.exe;readme.txt");
    EXPECT_EQ(fixture.StoredString("g_szFileLimit2"), "*.mp3");
    EXPECT_EQ(fixture.StoredString("g_szFileCopy"), Local("*.nfo;文件.txt"));
    EXPECT_EQ(fixture.options.TextValue(fixture.store, "g_szFileLimit"), "*.exe;readme.txt");
    EXPECT_EQ(fixture.StoredInt("g_bCheckFileExt"), 1);
    EXPECT_EQ(fixture.StoredInt("g_bFileCopy"), 1);
}

TEST(ScanOptionsDialogTest, ALimitOutsideItsRangeKeepsTheDialogOpenWithTheRange) {
    struct Case {
        const char* field;
        const char* typed;
        bool ticked;
        const char* message;
    };
    const Case cases[] = {
        {kPerFolder, "-1", true, "请输入一个介于 0 和 100000 之间的整数。"},
        {kPerFolder, "100001", true, "请输入一个介于 0 和 100000 之间的整数。"},
        {kPerFolder, "abc", true, "请输入一个介于 0 和 100000 之间的整数。"},
        {kPerFolder, "", true, "请输入一个介于 0 和 100000 之间的整数。"},
        {kPerScan, "10000001", true, "请输入一个介于 0 和 10000000 之间的整数。"},
        {kDepth, "1001", true, "请输入一个介于 0 和 1000 之间的整数。"},
        // Checked even while its box is unticked; the focus goes to the box, the way to the field.
        {kDepth, "99999999999", false, "请输入一个介于 0 和 1000 之间的整数。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.typed);
        test::OptionsFixture fixture;
        ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        QCheckBox* box = Check(dialog, c.field);
        QLineEdit* field = Field(dialog, c.field);
        box->click();
        TypeInto(field, c.typed);
        if (!c.ticked) box->click();
        Button(dialog, "确认")->click();

        ExpectStillOpen(dialog);
        EXPECT_EQ(fixture.ui.messages, std::vector<std::string>{Local(c.message)});
        EXPECT_EQ(field->selectedText(), field->text());
        EXPECT_EQ(dialog.focusWidget(), c.ticked ? static_cast<QWidget*>(field) : box);
        EXPECT_FALSE(fixture.FileWritten());
        dialog.reject();
    }
}

TEST(ScanOptionsDialogTest, TheEndsOfEachRangeAreStored) {
    struct Case {
        const char* field;
        const char* key;
        int value;
    };
    const Case cases[] = {
        {kPerFolder, "g_nFileLimit", 0},    {kPerFolder, "g_nFileLimit", 100000},
        {kPerScan, "g_nFileLimitTotal", 0}, {kPerScan, "g_nFileLimitTotal", 10000000},
        {kDepth, "g_nDirLimit", 0},         {kDepth, "g_nDirLimit", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + std::to_string(c.value));
        test::OptionsFixture fixture;
        ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        Check(dialog, c.field)->click();
        TypeInto(Field(dialog, c.field), std::to_string(c.value).c_str());
        Button(dialog, "确认")->click();

        ExpectClosed(dialog, QDialog::Accepted);
        EXPECT_TRUE(fixture.ui.messages.empty());
        EXPECT_EQ(fixture.StoredInt(c.key), c.value);
        EXPECT_EQ(Current(fixture, c.key), c.value);
    }
}

// ---- icon display options ------------------------------------------------------------------

TEST(IconSizesTest, EntriesAndTheIndexOfAWidth) {
    const std::span<const IconSize> sizes = LargeIconSizes();
    ASSERT_EQ(sizes.size(), 5u);
    EXPECT_EQ(sizes[4].text, "64  x 48");
    const std::pair<int, int> cases[] = {{320, 0}, {240, 1}, {160, 2},  {102, 3},
                                         {64, 4},  {77, -1}, {100, -1}, {0, -1}};
    for (const auto& [width, index] : cases) EXPECT_EQ(IconSizeIndexForWidth(width), index) << width;
}

TEST(IconDisplayDialogTest, OpeningSelectsTheEntryOfTheStoredWidthAndKeepsTheStoredHeight) {
    struct Case {
        int width;
        int height;
        int row;
    };
    const Case cases[] = {{102, 77, 3}, {160, 50, 2}, {64, 48, 4}, {100, 80, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        test::OptionsFixture fixture;
        fixture.Preset("BigIcon_X", c.width);
        fixture.Preset("BigIcon_Y", c.height);
        IconDisplayDialog dialog(fixture.options, fixture.store, fixture.ui);
        auto* sizes = Control<QListWidget>(dialog, "大图标尺寸：");

        EXPECT_EQ(sizes->currentRow(), c.row);
        EXPECT_EQ(sizes->selectedItems().size(), c.row < 0 ? 0 : 1);
        EXPECT_EQ(Field(dialog, "宽度：")->text(), QString::number(c.width));
        EXPECT_EQ(Field(dialog, "高度：")->text(), QString::number(c.height));
        dialog.reject();
    }
}

TEST(IconDisplayDialogTest, ChoosingASizeFillsWidthAndHeight) {
    test::OptionsFixture fixture;
    IconDisplayDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), Tr("图标显示选项设置..."));
    auto* sizes = Control<QListWidget>(dialog, "大图标尺寸：");
    QLineEdit* width = Field(dialog, "宽度：");
    QLineEdit* height = Field(dialog, "高度：");
    QStringList texts;
    for (int row = 0; row < sizes->count(); ++row) texts << sizes->item(row)->text();
    EXPECT_EQ(texts, (QStringList{"320 x 240", "240 x 180", "160 x 120", "102 x 77", "64  x 48"}));

    sizes->setCurrentRow(0);
    EXPECT_EQ(width->text(), QStringLiteral("320"));
    EXPECT_EQ(height->text(), QStringLiteral("240"));

    // Edited by hand, then the selected entry clicked again: its size comes back.
    TypeInto(width, "500");
    QListWidgetItem* selected = sizes->item(0);
    QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(selected).center());
    EXPECT_EQ(width->text(), QStringLiteral("320"));

    sizes->setCurrentRow(4);
    Button(dialog, "确认")->click();
    ExpectClosed(dialog, QDialog::Accepted);
    EXPECT_EQ(fixture.StoredInt("BigIcon_X"), 64);
    EXPECT_EQ(fixture.StoredInt("BigIcon_Y"), 48);
    EXPECT_EQ(Current(fixture, "BigIcon_X"), 64);
    EXPECT_EQ(Current(fixture, "BigIcon_Y"), 48);
}

TEST(IconDisplayDialogTest, ASideOutsideTenToAThousandIsRefused) {
    struct Case {
        const char* width;
        const char* height;
        QLineEdit* (*refused)(const QWidget&);
    };
    const auto widthField = [](const QWidget& d) { return Field(d, "宽度："); };
    const auto heightField = [](const QWidget& d) { return Field(d, "高度："); };
    const Case cases[] = {
        {"9", "77", widthField},   {"1001", "77", widthField},   {"abc", "77", widthField},
        {"102", "5", heightField}, {"102", "1001", heightField},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        test::OptionsFixture fixture;
        IconDisplayDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        TypeInto(Field(dialog, "宽度："), c.width);
        TypeInto(Field(dialog, "高度："), c.height);
        Button(dialog, "确认")->click();

        ExpectStillOpen(dialog);
        EXPECT_EQ(fixture.ui.messages,
                  std::vector<std::string>{Local("请输入一个介于 10 和 1000 之间的整数。")});
        EXPECT_EQ(dialog.focusWidget(), c.refused(dialog));
        EXPECT_FALSE(fixture.FileWritten());
        dialog.reject();
    }
}

TEST(IconDisplayDialogTest, OkStoresTheTwoDefaultsAndTheSize) {
    test::OptionsFixture fixture;
    IconDisplayDialog dialog(fixture.options, fixture.store, fixture.ui);
    dialog.show();
    QCheckBox* categoriesBig = Check(dialog, "显示类别内容时缺省使用大图标方式显示");
    QCheckBox* othersReport = Check(dialog, "显示其他内容时缺省使用详细内容方式显示");
    EXPECT_TRUE(categoriesBig->isChecked());
    EXPECT_TRUE(othersReport->isChecked());
    categoriesBig->click();
    TypeInto(Field(dialog, "宽度："), "10");
    TypeInto(Field(dialog, "高度："), "1000");
    Button(dialog, "确认")->click();

    ExpectClosed(dialog, QDialog::Accepted);
    EXPECT_EQ(fixture.StoredInt("DefaultBigIcon"), 0);
    EXPECT_EQ(fixture.StoredInt("OtherReport"), 1);
    EXPECT_EQ(fixture.StoredInt("BigIcon_X"), 10);
    EXPECT_EQ(fixture.StoredInt("BigIcon_Y"), 1000);
    EXPECT_FALSE(Current(fixture, "DefaultBigIcon"));
}

// ---- both dialogs that store on OK only --------------------------------------------------------

TEST(OkOnlyOptionDialogsTest, CancelOnAFreshInstallationWritesNothing) {
    {
        test::OptionsFixture fixture;
        ScanOptionsDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        Check(dialog, kPerFolder)->click();
        TypeInto(Field(dialog, kPerFolder), "12");
        Check(dialog, kSkipList)->click();
        TypeInto(Field(dialog, kSkipList), "*.exe");
        Button(dialog, "取消")->click();
        ExpectClosed(dialog, QDialog::Rejected);
        EXPECT_FALSE(fixture.FileWritten());
        EXPECT_EQ(Current(fixture, "g_nFileLimit"), 100000);
        EXPECT_FALSE(Current(fixture, "g_bCheckFileLimit"));
    }
    {
        test::OptionsFixture fixture;
        IconDisplayDialog dialog(fixture.options, fixture.store, fixture.ui);
        dialog.show();
        Control<QListWidget>(dialog, "大图标尺寸：")->setCurrentRow(0);
        Check(dialog, "显示其他内容时缺省使用详细内容方式显示")->click();
        Button(dialog, "取消")->click();
        ExpectClosed(dialog, QDialog::Rejected);
        EXPECT_FALSE(fixture.FileWritten());
        EXPECT_EQ(Current(fixture, "BigIcon_X"), 102);
        EXPECT_TRUE(Current(fixture, "OtherReport"));
    }
}

}  // namespace
}  // namespace pelko::ui
