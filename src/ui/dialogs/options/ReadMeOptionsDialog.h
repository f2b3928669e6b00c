#pragma once
// "ReadMe选项": whether a scan files the root ReadMe.txt of a medium (AutoFillReadme) and when the
// views show it (AutoOpenReadme: 0 as soon as its entry is selected, 1 on double-click only).
// Unlike the other option dialogs it keeps the choices however it is closed.

#include <QDialog>

namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}

class QCheckBox;
class QRadioButton;

namespace pelko::ui {

class ReadMeOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReadMeOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                 QWidget* parent = nullptr);

    // Stores both values, then closes with `result`: cancelling keeps the choices too.
    void done(int result) override;

private:
    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    QCheckBox* m_autoFill = nullptr;
    QRadioButton* m_openAtOnce = nullptr;
    QRadioButton* m_openOnDoubleClick = nullptr;
};

}  // namespace pelko::ui
