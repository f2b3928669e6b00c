#pragma once
// "MP3文件分析选项": whether a scan reads MP3 information (ExtractMp3), which fields it keeps
// (the bit set Mp3Op) and the one character put between them (Mp3Gap, a character code). Stores
// on "确认" only.

#include <QDialog>
#include <array>

namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}

class QCheckBox;
class QLineEdit;

namespace pelko::ui {

class Mp3OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit Mp3OptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                              QWidget* parent = nullptr);

    void accept() override;

private:
    // The field boxes and the separator only matter while MP3 information is read.
    void UpdateFieldControls();
    int SeparatorCode() const;

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    QCheckBox* m_extract = nullptr;
    std::array<QCheckBox*, 6> m_fields{};  // bit 1 << index of Mp3Op each
    QLineEdit* m_separator = nullptr;
};

}  // namespace pelko::ui
