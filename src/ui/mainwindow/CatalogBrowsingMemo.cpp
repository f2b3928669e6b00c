// The memo side of the two panes: the path bar's memo field and the floating editor, both
// storing what is typed into the selected row at once; the edit-properties and description
// dialogs; the readme row's text in the memo pane.

#include <QLineEdit>
#include <QTreeView>

#include "catalog/CCD.h"
#include "shell/AppSettings.h"
#include "shell/CatalogBrowser.h"
#include "shell/CatalogEditor.h"
#include "ui/dialogs/DescriptionDialog.h"
#include "ui/dialogs/EditPropertiesDialog.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/models/ContentListModel.h"
#include "ui/models/ContentTexts.h"
#include "ui/text/QtText.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {

void CatalogBrowsing::FocusMemoEditor() {
    m_lastFocusInTree = false;
    if (m_floatingMemo->isVisible() && m_list->CurrentStyle() != ContentListView::LargeIcons) {
        m_floatingMemo->setFocus();
        m_floatingMemo->selectAll();
    } else if (m_memoField && m_memoField->isEnabled()) {
        m_memoField->setFocus();
        m_memoField->selectAll();
    }
}

void CatalogBrowsing::SetMemoField(QLineEdit* field) {
    m_memoField = field;
    connect(m_memoField, &QLineEdit::textEdited, this, &CatalogBrowsing::StoreTypedMemo);
    OnListSelectionChanged();
}

std::optional<shell::CatalogObject> CatalogBrowsing::MemoRow() const {
    // Read from the selection each time: a row that has gone is never written to.
    const auto selection = ListSelection();
    if (selection.size() != 1 || std::holds_alternative<shell::ReadmeRow>(selection.front())) return std::nullopt;
    return selection.front();
}

void CatalogBrowsing::OnListSelectionChanged() {
    const auto selection = ListSelection();
    const std::optional<shell::CatalogObject> row = MemoRow();
    const QString memo = row ? ToQt(MemoOfRow(*row)) : QString();
    if (m_memoField) {
        m_memoField->setEnabled(row.has_value());
        m_memoField->setText(memo);  // setText is not an edit: nothing is stored
    }
    m_floatingMemo->setText(memo);
    PlaceFloatingMemo();
    // With the readme opened on selection, a single selected readme row shows it at once.
    if (!m_services.options.autoOpenReadme) ShowReadmeOf(selection);
}

void CatalogBrowsing::PlaceFloatingMemo() {
    const std::optional<shell::CatalogObject> row = MemoRow();
    const bool wanted = row && m_services.options.IntValue(m_services.settings, "PopMem") == 1 &&
                        m_list->CurrentStyle() == ContentListView::Report;
    int memoColumn = -1;
    for (int column = 0; column < m_listModel->columnCount(); ++column)
        if (m_listModel->FieldOf(column) == shell::ListField::Memo) memoColumn = column;
    const QModelIndex cell = wanted ? m_listModel->IndexOf(*row, memoColumn) : QModelIndex();
    if (!cell.isValid()) {
        m_floatingMemo->hide();
        return;
    }
    QTreeView* report = m_list->ReportView();
    report->scrollTo(cell);
    const QRect box = report->visualRect(cell);
    m_floatingMemo->setGeometry(QRect(box.topLeft() - QPoint(3, 3), QSize(box.width() + 6, box.height() + 6)));
    m_floatingMemo->show();
    m_floatingMemo->raise();
}

void CatalogBrowsing::StoreTypedMemo(const QString& text) {
    const std::optional<shell::CatalogObject> row = MemoRow();
    if (!row) return;
    if (m_editor->EditMemoInList(*row, FromQt(text))) emit Edited();
    // The other editor shows what was typed too, without storing it a second time.
    for (QLineEdit* other : {m_memoField, m_floatingMemo}) {
        if (other && other != sender() && other->text() != text) other->setText(text);
    }
}

bool CatalogBrowsing::ShowReadmeOf(const std::vector<shell::CatalogObject>& selection) {
    if (selection.size() != 1 || !std::holds_alternative<shell::ReadmeRow>(selection.front())) return false;
    const auto& cd = m_editor->Open().cd;
    if (!cd) return false;
    emit ReadmeShown(ToQt(cd->m_strReadme));
    return true;
}

void CatalogBrowsing::EditProperties() {
    const auto selection = ListSelection();
    const std::optional<shell::PropertiesForm> form = m_editor->PropertiesOf(selection);
    if (!form) return;
    EditPropertiesDialog dialog(*form, m_list->window());
    if (dialog.exec() != QDialog::Accepted) return;
    m_editor->ApplyProperties(selection.front(), dialog.Name(), dialog.Memo());
    emit Edited();
    RefreshStatus();
}

void CatalogBrowsing::ShowProperties() {
    const std::optional<std::string> description = m_browser->DescriptionOf(CommandObjects());
    if (!description) return;
    DescriptionDialog dialog(ToQt(*description), m_list->window());
    dialog.exec();
}

}  // namespace pelko::ui
