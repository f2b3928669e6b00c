#pragma once
// "扫描选项...": what the directory walker takes — limits on files per folder, files per scan and
// folder depth, a list of file types to skip or (exclusively) the only ones to take, folders
// only, and a list of files copied to the local disk while scanning. Stores on "确认" only, after
// every limit has been found in its range.

#include <QDialog>

#include <array>

#include "ui/dialogs/options/OptionFields.h"

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

class ScanOptionsDialog : public QDialog {
    Q_OBJECT
public:
    ScanOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store, catalog::UserInterface& ui,
                      QWidget* parent = nullptr);

    // Checks every limit, ticked or not, in the order the dialog shows them; the first one out of
    // range (or not a number) is reported and the dialog stays open.
    void accept() override;

private:
    struct Limit {
        const char* flagKey;
        const char* valueKey;
        IntRange range;
        QCheckBox* box = nullptr;
        QLineEdit* field = nullptr;
    };
    struct List {
        const char* flagKey;
        const char* textKey;
        QCheckBox* box = nullptr;
        QLineEdit* field = nullptr;
    };

    Limit MakeLimit(const char* flagKey, const char* valueKey, IntRange range, const char* objectName,
                    const char* utf8Text);
    List MakeList(const char* flagKey, const char* textKey, const char* objectName, const char* utf8Text);
    void UpdateEnabled();
    // Stores every value; `limitValues` are the three limits in the order shown, already checked.
    void Store(const std::array<int, 3>& limitValues);

    shell::AppSettings& m_options;
    settings::SettingsStore& m_store;
    catalog::UserInterface& m_ui;
    Limit m_perFolder{};
    Limit m_perScan{};
    Limit m_depth{};
    List m_skip{};
    List m_only{};
    QCheckBox* m_foldersOnly = nullptr;
    List m_copy{};
};

}  // namespace pelko::ui
