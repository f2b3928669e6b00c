#include "ui/dialogs/EditPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "ui/app/MessageBoxUi.h"
#include "ui/dialogs/MemoEdit.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

EditPropertiesDialog::EditPropertiesDialog(const shell::PropertiesForm& form, QWidget* parent)
    : QDialog(parent), m_nameEditable(form.nameEditable), m_originalName(form.name) {
    setWindowTitle(ToQt(form.title));
    setAccessibleName(windowTitle());

    m_name = new ModelLineEdit(this);
    m_name->SetModelText(form.name);
    m_name->setReadOnly(!m_nameEditable);
    m_name->setAccessibleName(Tr("名称"));
    m_memo = new MemoEdit(this);
    m_memo->SetMemo(form.memo);
    m_memo->setAccessibleName(Tr("备注"));

    auto* fields = new QFormLayout;
    fields->addRow(Tr("名称"), m_name);
    fields->addRow(Tr("备注"), m_memo);

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(400);
    if (m_nameEditable) {
        m_name->setFocus();
    } else {
        m_memo->setFocus();
    }
}

std::string EditPropertiesDialog::Name() const { return m_nameEditable ? m_name->ModelText() : m_originalName; }
std::string EditPropertiesDialog::Memo() const { return m_memo->Memo(); }

void EditPropertiesDialog::accept() {
    // A blank name would leave the object nameless in the tree, the list and the exports.
    if (m_nameEditable && m_name->text().trimmed().isEmpty()) {
        ShowMessageBox(this, Tr("名称不能为空"));
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace pelko::ui
