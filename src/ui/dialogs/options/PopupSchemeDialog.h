#pragma once
// "对话框弹出方案": which questions and notices the program shows — before closing
// (PopCloseDlg), when a new disc is inserted (PopAskNewCDDlg, or ScanUnAskNewCDDlg to scan it
// without asking) and after a scan has filed a new object (the last box is the negation of
// PopAddedInfoDlg). Stores on "确认" only.

#include <QDialog>

namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}

class QCheckBox;

namespace pelko::ui {

class PopupSchemeDialog : public QDialog {
    Q_OBJECT
public:
    explicit PopupSchemeDialog(shell::AppSettings& options, settings::SettingsStore& store,
                               QWidget* parent = nullptr);

    void accept() override;

private:
    // Scanning without asking makes the question moot, so its box is off limits meanwhile.
    void UpdateAskBox();

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    QCheckBox* m_askBeforeClosing = nullptr;
    QCheckBox* m_askOnNewDisc = nullptr;
    QCheckBox* m_scanNewDiscUnasked = nullptr;
    QCheckBox* m_noAddedMessage = nullptr;
};

}  // namespace pelko::ui
