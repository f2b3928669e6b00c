// The drive hot-key dialog over a real INI file: what a row shows when it is selected, what is
// stored when a row is left, by OK and by Cancel, that a look at the dialog writes nothing, the
// dialog without drives, and the hot keys released around it and registered again afterwards.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OptionsFixture.h"
#include "platform/GlobalHotKeys.h"
#include "shell/HotKeys.h"
#include "text/Codec.h"
#include "ui/dialogs/HotKeyDialog.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

std::vector<platform::OpticalDrive> Drives(std::initializer_list<int> numbers) {
    std::vector<platform::OpticalDrive> drives;
    for (int n : numbers) drives.push_back({n, "/dev/sr" + std::to_string(n), "", false});
    return drives;
}

QPushButton* ButtonNamed(const QWidget& dialog, const QString& name) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) return button;
    }
    ADD_FAILURE() << "no button " << name.toStdString();
    return nullptr;
}

bool HasLabel(const QWidget& dialog, const QString& text) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text && label->isVisibleTo(&dialog)) return true;
    }
    return false;
}

// Selects a row as a click on it would.
void ClickRow(HotKeyDialog& dialog, int row) {
    QListWidget* rows = dialog.Rows();
    const QRect place = rows->visualItemRect(rows->item(row));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, place.center());
    ASSERT_EQ(rows->currentRow(), row);
}

// The modifier bits the four boxes show.
int ShownModifiers(const HotKeyDialog& dialog) {
    return (dialog.CtrlBox()->isChecked() ? shell::kHotKeyCtrl : 0) |
           (dialog.ShiftBox()->isChecked() ? shell::kHotKeyShift : 0) |
           (dialog.AltBox()->isChecked() ? shell::kHotKeyAlt : 0) |
           (dialog.WindowsBox()->isChecked() ? shell::kHotKeyWindows : 0);
}

TEST(HotKeyDialogTest, RowsInDoorOrderAndTheFirstRowShowsItsStoredValues) {
    test::OptionsFixture fixture;
    fixture.Preset("EHotKeyCombine50000", shell::kHotKeyCtrl | shell::kHotKeyWindows);
    fixture.Preset("EHotKeyChar50000", 'D');
    fixture.Preset("EHotKeyCombine50027", shell::kHotKeyShift | shell::kHotKeyAlt);
    fixture.Preset("EHotKeyChar50027", 'Z');

    HotKeyDialog dialog(Drives({0, 1}), fixture.options, fixture.store, true);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), Tr("注册弹出光驱和关闭光驱的快捷键"));
    EXPECT_EQ(dialog.accessibleName(), dialog.windowTitle());
    EXPECT_EQ(dialog.objectName(), QStringLiteral("HotKeyDialog"));
    EXPECT_TRUE(
        HasLabel(dialog, Tr("只要Pelko－光盘管理工具处于运行状态，注册的光驱快捷键在任何地方都有效！")));
    EXPECT_TRUE(HasLabel(dialog, Tr("弹出光驱和关闭光驱请使用不同的快捷键")));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("hot-keys-unavailable")), nullptr);
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        EXPECT_EQ(button->accessibleName(), button->text());
    EXPECT_EQ(dialog.WindowsBox()->text(), QStringLiteral("Win"));

    const QStringList expectedRows{Tr("弹出光驱 (/dev/sr0)"), Tr("弹出光驱 (/dev/sr1)"),
                                   Tr("关闭光驱 (/dev/sr0)"), Tr("关闭光驱 (/dev/sr1)")};
    ASSERT_EQ(dialog.Rows()->count(), expectedRows.size());
    for (int i = 0; i < expectedRows.size(); ++i) EXPECT_EQ(dialog.Rows()->item(i)->text(), expectedRows[i]);

    QComboBox* key = dialog.KeyList();
    ASSERT_EQ(key->count(), 27);
    EXPECT_EQ(key->itemText(0), QString());
    EXPECT_EQ(key->itemText(1), QStringLiteral("a"));
    EXPECT_EQ(key->itemText(26), QStringLiteral("z"));

    EXPECT_EQ(dialog.Rows()->currentRow(), 0);
    EXPECT_TRUE(dialog.Rows()->item(0)->isSelected());
    EXPECT_EQ(ShownModifiers(dialog), shell::kHotKeyCtrl | shell::kHotKeyWindows);
    EXPECT_EQ(key->currentText(), QStringLiteral("d"));

    ClickRow(dialog, 3);
    EXPECT_EQ(ShownModifiers(dialog), shell::kHotKeyShift | shell::kHotKeyAlt);
    EXPECT_EQ(key->currentText(), QStringLiteral("z"));
    ClickRow(dialog, 1);  // nothing stored: every box clear, the empty entry
    EXPECT_EQ(ShownModifiers(dialog), 0);
    EXPECT_EQ(key->currentIndex(), 0);
    dialog.reject();
}

TEST(HotKeyDialogTest, LeavingAHotKeyRowThenCancelKeepsItsValues) {
    test::OptionsFixture fixture;
    HotKeyDialog dialog(Drives({0, 1}), fixture.options, fixture.store, true);
    dialog.show();
    dialog.CtrlBox()->click();
    dialog.AltBox()->click();
    dialog.KeyList()->setCurrentIndex(5);  // "e"

    ClickRow(dialog, 2);
    EXPECT_EQ(fixture.StoredInt("EHotKeyCombine50000"), shell::kHotKeyCtrl | shell::kHotKeyAlt);
    EXPECT_EQ(fixture.StoredInt("EHotKeyChar50000"), 'E');
    // The new row shows its own (absent) values, not the ones just left.
    EXPECT_EQ(ShownModifiers(dialog), 0);
    EXPECT_EQ(dialog.KeyList()->currentIndex(), 0);

    dialog.ShiftBox()->click();
    dialog.KeyList()->setCurrentIndex(6);
    ButtonNamed(dialog, Tr("取消"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(fixture.Stored("EHotKeyCombine50026"));
    EXPECT_FALSE(fixture.Stored("EHotKeyChar50026"));
    EXPECT_EQ(fixture.StoredInt("EHotKeyCombine50000"), shell::kHotKeyCtrl | shell::kHotKeyAlt);
    EXPECT_EQ(fixture.StoredInt("EHotKeyChar50000"), 'E');
}

TEST(HotKeyDialogTest, OkStoresTheSelectedRowAndTheEmptyEntryStoresNoKey) {
    test::OptionsFixture fixture;
    fixture.Preset("EHotKeyCombine50001", shell::kHotKeyCtrl);
    fixture.Preset("EHotKeyChar50001", 'A');
    HotKeyDialog dialog(Drives({0, 1}), fixture.options, fixture.store, true);
    dialog.show();
    ClickRow(dialog, 1);
    dialog.CtrlBox()->click();
    dialog.WindowsBox()->click();
    dialog.KeyList()->setCurrentIndex(0);
    ButtonNamed(dialog, Tr("确认"))->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fixture.StoredInt("EHotKeyCombine50001"), shell::kHotKeyWindows);
    EXPECT_EQ(fixture.StoredInt("EHotKeyChar50001"), 0);
    // The first row was only looked at.
    EXPECT_FALSE(fixture.Stored("EHotKeyCombine50000"));
}

TEST(HotKeyDialogTest, LookingThroughEveryRowOfAFreshSettingsFileWritesNothing) {
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        test::OptionsFixture fixture;
        HotKeyDialog dialog(Drives({0, 3}), fixture.options, fixture.store, true);
        dialog.show();
        for (int row = 1; row < dialog.Rows()->count(); ++row) ClickRow(dialog, row);
        ClickRow(dialog, 0);
        ButtonNamed(dialog, ok ? Tr("确认") : Tr("取消"))->click();
        EXPECT_FALSE(fixture.FileWritten());
    }
}

TEST(HotKeyDialogTest, WithoutDrivesTheControlsAreOffAndTheDialogSaysWhy) {
    test::OptionsFixture fixture;
    HotKeyDialog dialog({}, fixture.options, fixture.store, false);
    dialog.show();
    EXPECT_EQ(dialog.Rows()->count(), 0);
    for (QWidget* control :
         std::initializer_list<QWidget*>{dialog.Rows(), dialog.CtrlBox(), dialog.ShiftBox(), dialog.AltBox(),
                                         dialog.WindowsBox(), dialog.KeyList()})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(HasLabel(dialog, Tr("没有找到光驱")));
    const auto* note = dialog.findChild<QLabel*>(QStringLiteral("hot-keys-unavailable"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(ToQt(shell::HotKeysUnavailableText())));

    ButtonNamed(dialog, Tr("确认"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(fixture.FileWritten());
}

// Records the port's calls, and whether the hot-key dialog was open at each.
class RecordingHotKeys final : public platform::GlobalHotKeys {
public:
    std::vector<std::string> calls;

    bool Available() const override { return true; }
    bool Register(int id, int modifiers, int keyCode) override {
        calls.push_back("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                        std::to_string(keyCode) + DialogState());
        return true;
    }
    void Unregister(int id) override { calls.push_back("unregister " + std::to_string(id) + DialogState()); }

private:
    static std::string DialogState() {
        return qobject_cast<HotKeyDialog*>(QApplication::activeModalWidget()) ? " (dialog open)" : "";
    }
};

TEST(HotKeyDialogTest, EditingReleasesTheKeysAndRegistersTheStoredOnesAfterEitherButton) {
    const struct {
        const char* button;
        std::vector<std::string> registered;
    } rows[] = {
        // OK stores the first row's new key; both keys come back.
        {"确认", {"register 50000 2 74", "register 50026 1 67"}},
        // Cancel drops the change; the key stored before still comes back.
        {"取消", {"register 50026 1 67"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        test::OptionsFixture fixture;
        fixture.Preset("EHotKeyCombine50026", shell::kHotKeyAlt);
        fixture.Preset("EHotKeyChar50026", 'C');
        RecordingHotKeys port;
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<HotKeyDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            answered = true;
            dialog->CtrlBox()->click();
            dialog->KeyList()->setCurrentIndex(10);  // "j"
            ButtonNamed(*dialog, Tr(row.button))->click();
        });
        // Closes the dialog should the answer above not find it, so that a failure cannot hang.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        watchdog.start(10000);

        EditDriveHotKeys(nullptr, Drives({0}), fixture.options, fixture.store, port, fixture.ui);
        EXPECT_TRUE(answered);
        std::vector<std::string> expected{"unregister 50000", "unregister 50026"};
        expected.insert(expected.end(), row.registered.begin(), row.registered.end());
        EXPECT_EQ(port.calls, expected);
        EXPECT_TRUE(fixture.ui.messages.empty());
    }
}

}  // namespace
}  // namespace pelko::ui
