#pragma once
// "注册弹出光驱和关闭光驱的快捷键": one row per drive-door command (shell::HotKeyRows), and for the
// selected row the check boxes "Ctrl", "Shift", "Alt", "Win" and a key list (empty, "a" to "z").
// Leaving a row stores what it shows at once; OK stores the selected row and closes; Cancel
// closes and leaves the rows already stored as they are. A row whose values were not changed is
// never written, so opening and cancelling the dialog leaves the settings untouched.

#include <QDialog>

#include <vector>

#include "platform/OpticalDrives.h"
#include "shell/HotKeyRows.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QWidget;

namespace pelko::catalog {
class UserInterface;
}
namespace pelko::platform {
class GlobalHotKeys;
}
namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}

namespace pelko::ui {

class HotKeyDialog : public QDialog {
    Q_OBJECT
public:
    // `hotKeysAvailable` false adds a note that this desktop has no system-wide hot keys and that
    // the keys are stored for one that has.
    HotKeyDialog(std::vector<platform::OpticalDrive> drives, shell::AppSettings& options,
                 settings::SettingsStore& store, bool hotKeysAvailable, QWidget* parent = nullptr);
    ~HotKeyDialog() override;

    QListWidget* Rows() const { return m_rows; }
    QCheckBox* CtrlBox() const { return m_ctrl; }
    QCheckBox* ShiftBox() const { return m_shift; }
    QCheckBox* AltBox() const { return m_alt; }
    QCheckBox* WindowsBox() const { return m_windows; }
    QComboBox* KeyList() const { return m_key; }

    void accept() override;

private:
    void ShowRow(int row);
    void StoreRow(int row);
    shell::HotKeyPair ShownPair() const;

    std::vector<shell::HotKeyRow> m_commands;
    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    int m_shownRow = -1;  // the row whose values the controls show

    QListWidget* m_rows = nullptr;
    QCheckBox* m_ctrl = nullptr;
    QCheckBox* m_shift = nullptr;
    QCheckBox* m_alt = nullptr;
    QCheckBox* m_windows = nullptr;
    QComboBox* m_key = nullptr;
};

// The hot-key command: the keys are released while the dialog is open (so that pressing one is
// not swallowed by its own grab), and registered again from the store after it closes by either
// button, with the drives given.
void EditDriveHotKeys(QWidget* parent, const std::vector<platform::OpticalDrive>& drives,
                      shell::AppSettings& options, settings::SettingsStore& store,
                      platform::GlobalHotKeys& port, catalog::UserInterface& ui);

}  // namespace pelko::ui
