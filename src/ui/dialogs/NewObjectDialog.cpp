#include "ui/dialogs/NewObjectDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "catalog/CCategory.h"
#include "ui/app/MessageBoxUi.h"
#include "ui/dialogs/MemoEdit.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace {

// Rows keep the category they stand for; the dialog never outlives the catalog it shows.
constexpr int kCategoryRole = Qt::UserRole;

catalog::CCategory* CategoryOf(const QTreeWidgetItem* item) {
    return item ? static_cast<catalog::CCategory*>(item->data(0, kCategoryRole).value<void*>()) : nullptr;
}

}  // namespace

NewObjectDialog::NewObjectDialog(std::string_view prompt, std::string_view presetName, catalog::CCategory& root,
                                 QWidget* parent, Purpose purpose)
    : QDialog(parent), m_purpose(purpose) {
    setWindowTitle(purpose == Purpose::Scan ? Tr("设置新光盘的相关信息") : Tr("设置新扫描的对象的相关信息"));
    setAccessibleName(windowTitle());

    auto* promptLabel = new QLabel(ToQt(prompt), this);
    promptLabel->setWordWrap(true);
    // A file name in the prompt is shown as it is, never as markup.
    promptLabel->setTextFormat(Qt::PlainText);

    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setAccessibleName(Tr("类别"));
    AddCategory(root, nullptr);
    m_tree->expandAll();

    m_name = new ModelLineEdit(this);
    m_name->SetModelText(presetName);
    m_name->setAccessibleName(Tr("名称"));
    m_memo = new MemoEdit(this);
    m_memo->setAccessibleName(Tr("备注"));

    auto* form = new QFormLayout;
    form->addRow(Tr("名称"), m_name);
    form->addRow(Tr("备注"), m_memo);

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(m_tree, 1);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumSize(420, 420);
    m_tree->setFocus();
}

void NewObjectDialog::AddCategory(catalog::CCategory& category, QTreeWidgetItem* parentItem) {
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
    item->setText(0, ToQt(category.m_strName));
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    item->setData(0, kCategoryRole, QVariant::fromValue(static_cast<void*>(&category)));
    for (const auto& child : category.Subcategories()) AddCategory(*child, item);
}

bool NewObjectDialog::SelectCategory(const catalog::CCategory* category) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (CategoryOf(*it) != category) continue;
        m_tree->setCurrentItem(*it);
        return true;
    }
    return false;
}

catalog::CCategory* NewObjectDialog::ChosenCategory() const {
    // The selection, not the current item: a tree that merely has the focus has a current item
    // the user never chose.
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    return selected.isEmpty() ? nullptr : CategoryOf(selected.front());
}

catalog::NewObjectAnswer NewObjectDialog::Answer() const {
    return catalog::NewObjectAnswer{ChosenCategory(), m_name->ModelText(), m_memo->Memo()};
}

void NewObjectDialog::accept() {
    // A scan object without a name could not be told apart in the tree, the list or the exports.
    if (m_name->text().trimmed().isEmpty()) {
        ShowMessageBox(this, Tr("请填写该光盘的名称"));
        m_name->setFocus();
        return;
    }
    if (m_purpose == Purpose::Scan && !ChosenCategory()) {
        ShowMessageBox(this, Tr("请选择类别"));
        m_tree->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace pelko::ui
