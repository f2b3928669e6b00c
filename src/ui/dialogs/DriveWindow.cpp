#include "ui/dialogs/DriveWindow.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

QIcon DriveIcon(platform::DriveType type, const QWidget& widget) {
    const auto themed = [&widget](const char* name, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1String(name), widget.style()->standardIcon(fallback));
    };
    switch (type) {
        case platform::DriveType::Optical: return themed("drive-optical", QStyle::SP_DriveCDIcon);
        case platform::DriveType::Removable: return themed("drive-removable-media", QStyle::SP_DriveFDIcon);
        case platform::DriveType::Network: return themed("folder-remote", QStyle::SP_DriveNetIcon);
        case platform::DriveType::Fixed:
        case platform::DriveType::Other: break;
    }
    return themed("drive-harddisk", QStyle::SP_DriveHDIcon);
}

DriveWindow::DriveWindow(std::vector<shell::DriveRow> rows, QWidget* parent)
    : QDialog(parent), m_rows(std::move(rows)) {
    setObjectName(QStringLiteral("DriveWindow"));
    setWindowTitle(Tr("选择待扫描的光盘的盘符"));
    setAccessibleName(windowTitle());

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("drive-list"));
    m_list->setAccessibleName(windowTitle());
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(32, 32));
    for (const shell::DriveRow& row : m_rows) {
        auto* item = new QListWidgetItem(DriveIcon(row.type, *this), ToQt(row.name), m_list);
        item->setToolTip(ToQt(row.name));
    }

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) m_confirm = qobject_cast<QPushButton*>(button);
    }
    m_confirm->setEnabled(false);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_confirm->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(m_list, &QListWidget::itemActivated, this, [this] { accept(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    setMinimumSize(420, 300);
}

std::optional<shell::DriveRow> DriveWindow::Chosen() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = m_list->row(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return std::nullopt;
    return m_rows[static_cast<std::size_t>(row)];
}

void DriveWindow::accept() {
    if (!Chosen()) return;
    QDialog::accept();
}

}  // namespace pelko::ui
