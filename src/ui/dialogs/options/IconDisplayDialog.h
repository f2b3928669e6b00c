#pragma once
// "图标显示选项设置...": how the list view shows content by default (categories as large icons,
// other content in report style) and the size of the large icons, typed or chosen from the
// sizes the tool bar's size box offers. Stores on "确认" only; the caller rebuilds the large
// icons when exec() returns Accepted.

#include <QDialog>

namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}
namespace pelko::catalog {
class UserInterface;
}

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace pelko::ui {

class IconDisplayDialog : public QDialog {
    Q_OBJECT
public:
    IconDisplayDialog(shell::AppSettings& options, settings::SettingsStore& store, catalog::UserInterface& ui,
                      QWidget* parent = nullptr);

    // Width, then height, must lie between 10 and 1000; otherwise the dialog stays open.
    void accept() override;

private:
    void FillFromSize(int row);

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    catalog::UserInterface& m_ui;
    QCheckBox* m_categoriesBig = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QListWidget* m_sizes = nullptr;
    QCheckBox* m_othersReport = nullptr;
};

}  // namespace pelko::ui
