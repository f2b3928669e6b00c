#pragma once
// "图片扫描选项...": whether a scan makes thumbnails (g_bPicScan) and of which picture types, the
// limits on thumbnails per folder and per scan, and the thumbnail size on disk. The choices are
// kept however the dialog closes; only "确认" checks the size first.

#include <QDialog>

#include <array>

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

namespace pelko::ui {

class PictureOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PictureOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                         catalog::UserInterface& ui, QWidget* parent = nullptr);

    // Refuses a width or height of 0 or less (the dialog stays open); warns about a size larger
    // than 1024 x 768 but closes all the same.
    void accept() override;
    // Stores every value, then closes with `result`: cancelling keeps the choices too.
    void done(int result) override;

private:
    struct PictureType {
        const char* key;
        QCheckBox* box;
    };

    void UpdateEnabled();
    void SetDefaultSize();
    bool CheckSize();
    void Store();

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    catalog::UserInterface& m_ui;
    QCheckBox* m_picScan = nullptr;
    std::array<PictureType, 6> m_types{};
    QCheckBox* m_limitPerFolder = nullptr;
    QLineEdit* m_perFolder = nullptr;
    QCheckBox* m_limitPerScan = nullptr;
    QLineEdit* m_perScan = nullptr;
    QCheckBox* m_ownSize = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
};

}  // namespace pelko::ui
