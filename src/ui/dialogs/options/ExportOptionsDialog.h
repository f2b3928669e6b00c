#pragma once
// "导出文件网页时候的配置选项": the texts put around memos in text and HTML exports, whether a
// text export is an indented tree, whether memos are exported, and the folder marker of tree
// exports. Texts are model bytes; a field left as shown gives back its bytes unchanged. Stores
// on "确认" only.

#include <QDialog>

namespace pelko::settings {
class SettingsStore;
}
namespace pelko::shell {
struct AppSettings;
}

class QCheckBox;

namespace pelko::ui {

class ModelLineEdit;

class ExportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                 QWidget* parent = nullptr);

    void accept() override;

private:
    struct TextOption {
        const char* key;
        ModelLineEdit* field;
    };

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    TextOption m_memoTextBefore{"g_szExTxtPre", nullptr};
    TextOption m_memoTextAfter{"g_szExTxtPost", nullptr};
    TextOption m_memoHtmlBefore{"g_szExHtmPre", nullptr};
    TextOption m_memoHtmlAfter{"g_szExHtmPost", nullptr};
    TextOption m_folderSign{"g_szExDirSign", nullptr};
    QCheckBox* m_exportTree = nullptr;
    QCheckBox* m_exportMemo = nullptr;
};

}  // namespace pelko::ui
