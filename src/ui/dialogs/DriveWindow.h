#pragma once
// "选择待扫描的光盘的盘符": the machine's drives with their icons; "确认" with one row selected
// (or a double click on a row) gives that row. The caller hands its volume to ChooseDriveScan.

#include <QDialog>
#include <QIcon>

#include <optional>
#include <vector>

#include "shell/DriveChooser.h"

class QListWidget;
class QPushButton;

namespace pelko::ui {

// The theme icon of a kind of drive, with the style's own picture where the theme has none.
QIcon DriveIcon(platform::DriveType type, const QWidget& widget);

class DriveWindow : public QDialog {
    Q_OBJECT
public:
    explicit DriveWindow(std::vector<shell::DriveRow> rows, QWidget* parent = nullptr);

    // The selected row; after accept(), the chosen drive.
    std::optional<shell::DriveRow> Chosen() const;

    QListWidget* List() const { return m_list; }
    QPushButton* ConfirmButton() const { return m_confirm; }

    // Stays open while no row is selected: there is nothing to scan.
    void accept() override;

private:
    std::vector<shell::DriveRow> m_rows;
    QListWidget* m_list = nullptr;
    QPushButton* m_confirm = nullptr;
};

}  // namespace pelko::ui
