// The windows around a scan run: the scanning window's keys, close requests and animation, the
// new-disc question, the hidden-folder field, the drive window and the new-object dialog as a
// finished scan uses it.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "catalog/CRootCategory.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"
#include "ui/dialogs/DriveWindow.h"
#include "ui/dialogs/HiddenFolderDialog.h"
#include "ui/dialogs/MemoEdit.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/dialogs/NewDiscDialog.h"
#include "ui/dialogs/NewObjectDialog.h"
#include "ui/dialogs/ScanAnimation.h"
#include "ui/dialogs/ScanningWindow.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using text::Local;

QPushButton* ButtonNamed(const QWidget& dialog, const QString& name) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) return button;
    }
    return nullptr;
}

// Answers the next message box the dialog under test opens and records its text.
void AcceptNextBox(QString* text) {
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

TEST(ScanningWindowTest, OnlyCancelStopsTheScanEscapeDoesNothingAndACloseRequestCancels) {
    ScanningWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy cancels(&window, &ScanningWindow::cancelRequested);
    EXPECT_EQ(window.windowTitle(), Tr("读取信息..."));
    EXPECT_EQ(window.objectName(), QStringLiteral("ScanningWindow"));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(window.CancelButton()->text(), Tr("取消"));

    QTest::keyClick(&window, Qt::Key_Escape);
    window.reject();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.IsCancelled());
    EXPECT_EQ(cancels.count(), 0);

    // Alt+F4 or the owner's close(): the scan is cancelled, the window waits for it to end.
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.IsCancelled());
    EXPECT_FALSE(window.CancelButton()->isEnabled());
    window.Cancel();
    EXPECT_EQ(cancels.count(), 1);

    window.hide();
    EXPECT_FALSE(window.isVisible());
}

TEST(ScanningWindowTest, TheAnimationTurnsWhileShownAndRestsWhenHidden) {
    ScanAnimation animation;
    animation.show();
    ASSERT_TRUE(QTest::qWaitFor([&animation] { return animation.Frame() >= 3; }, 5000));
    animation.hide();
    const int rested = animation.Frame();
    QTest::qWait(4 * ScanAnimation::kFrameMilliseconds);
    EXPECT_EQ(animation.Frame(), rested);
    EXPECT_FALSE(animation.grab().isNull());
}

TEST(NewDiscDialogTest, AsksWithTheLabelWhenThereIsOneAndShowsItAsPlainText) {
    const struct {
        std::string label;
        const char* question;
    } rows[] = {
        {Local("我的照片"), "这是一张新的光盘<我的照片>，加入到光盘库吗？"},
        {"", "这是一张新的光盘，加入到光盘库吗？"},
        // Looks like markup: it must show as typed, not vanish as a tag.
        {"<b>CD%s", "这是一张新的光盘<<b>CD%s>，加入到光盘库吗？"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.question);
        NewDiscDialog dialog(row.label);
        EXPECT_EQ(dialog.windowTitle(), Tr("新光盘"));
        EXPECT_EQ(dialog.Question(), Tr(row.question));
        const QLabel* shown = nullptr;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() == Tr(row.question)) shown = label;
        }
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->textFormat(), Qt::PlainText);
        ASSERT_NE(ButtonNamed(dialog, Tr("确认")), nullptr);
        ASSERT_NE(ButtonNamed(dialog, Tr("取消")), nullptr);
    }
    NewDiscDialog dialog(Local("光盘"));
    dialog.show();
    ButtonNamed(dialog, Tr("确认"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(HiddenFolderDialogTest, GivesTheFolderWithoutTheSpacesAroundIt) {
    const struct {
        QString typed;
        std::filesystem::path expected;
    } rows[] = {
        {QStringLiteral("  /home/li/.cache  "), "/home/li/.cache"},
        {Tr("/home/李/.私人 目录 "), "/home/李/.私人 目录"},
        // Only spaces go: a tab is part of what was typed.
        {QStringLiteral("\t/tmp/x "), "\t/tmp/x"},
        {QStringLiteral("   "), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        HiddenFolderDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), Tr("扫描隐藏目录"));
        dialog.PathField()->setText(row.typed);
        EXPECT_EQ(dialog.Folder(), row.expected);
    }
}

TEST(HiddenFolderDialogTest, OnlyAFolderThatCanBeEnteredPasses) {
    test::TempDir dir;
    const std::filesystem::path open = dir.MakeFolder(".hidden");
    const std::filesystem::path file = dir.WriteFile("file", "x");
    EXPECT_TRUE(CanEnterFolder(open));
    EXPECT_FALSE(CanEnterFolder(file));
    EXPECT_FALSE(CanEnterFolder(dir / "missing"));
    EXPECT_FALSE(CanEnterFolder(""));
    if (::geteuid() != 0) {  // root enters every folder
        const std::filesystem::path closed = dir.MakeFolder("closed");
        ::chmod(closed.c_str(), 0600);
        EXPECT_FALSE(CanEnterFolder(closed));
        ::chmod(closed.c_str(), 0700);
    }
    EXPECT_EQ(HiddenFolderError("/home/li/.x"), Tr("访问不了指定的隐藏目录/home/li/.x"));
}

shell::DriveRow Row(const char* name, std::string root, platform::DriveType type) {
    shell::DriveRow row;
    row.name = Local(name);
    row.root = root;
    row.type = type;
    row.volume.type = type;
    row.volume.mount.mountPoint = std::move(root);
    return row;
}

TEST(DriveWindowTest, ConfirmGivesTheSelectedRowAndNeedsOne) {
    DriveWindow window({Row("光驱 (/dev/sr0)", "/dev/sr0", platform::DriveType::Optical),
                        Row("/ (/dev/sda1)", "/", platform::DriveType::Fixed),
                        Row("/mnt/nas (//nas/照片)", "/mnt/nas", platform::DriveType::Network)});
    window.show();
    EXPECT_EQ(window.windowTitle(), Tr("选择待扫描的光盘的盘符"));
    ASSERT_EQ(window.List()->count(), 3);
    EXPECT_EQ(window.List()->item(2)->text(), Tr("/mnt/nas (//nas/照片)"));
    for (int i = 0; i < window.List()->count(); ++i) EXPECT_FALSE(window.List()->item(i)->icon().isNull());

    // Nothing selected: nothing to scan, the window stays.
    EXPECT_FALSE(window.ConfirmButton()->isEnabled());
    window.accept();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.Chosen().has_value());

    window.List()->item(2)->setSelected(true);
    ASSERT_TRUE(window.ConfirmButton()->isEnabled());
    window.ConfirmButton()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_TRUE(window.Chosen().has_value());
    EXPECT_EQ(window.Chosen()->root, "/mnt/nas");
    EXPECT_EQ(window.Chosen()->type, platform::DriveType::Network);
}

struct Catalog {
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CRootCategory root;
    catalog::CCategory* music = nullptr;

    Catalog() {
        root.m_strName = "Pelko";
        music = root.AddNewSubcategory(Local("音乐"), log, ui);
    }
};

TEST(NewObjectDialogForScanTest, NeedsANameAndACategoryBeforeItAccepts) {
    const struct {
        const char* name;
        QString typedName;
        bool chooseCategory;
        const char* message;  // null: accepted
    } rows[] = {
        {"no-name", QStringLiteral(" "), true, "请填写该光盘的名称"},
        {"no-category", Tr("新光盘"), false, "请选择类别"},
        {"neither", QString(), false, "请填写该光盘的名称"},
        {"both", Tr("新光盘"), true, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Catalog catalog;
        NewObjectDialog dialog(Local("光盘"), "", catalog.root, nullptr, NewObjectDialog::Purpose::Scan);
        EXPECT_EQ(dialog.windowTitle(), Tr("设置新光盘的相关信息"));
        dialog.show();
        dialog.CategoryTree()->setFocus();  // a current row by focus alone is no choice
        if (row.chooseCategory) {
            ASSERT_TRUE(dialog.SelectCategory(catalog.music));
        }
        dialog.NameField()->setText(row.typedName);
        QString message;
        AcceptNextBox(&message);
        ButtonNamed(dialog, Tr("确认"))->click();
        if (row.message) {
            EXPECT_EQ(message, Tr(row.message));
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(message.isEmpty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.Answer().category, catalog.music);
            EXPECT_EQ(dialog.Answer().name, Local("新光盘"));
        }
    }
}

}  // namespace
}  // namespace pelko::ui
