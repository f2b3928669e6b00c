#include "ui/dialogs/AnswerButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/text/QtText.h"

namespace pelko::ui {

QDialogButtonBox* AnswerButtons(QDialog& dialog, const std::optional<QString>& cancelText) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(Tr("确认"), QDialogButtonBox::AcceptRole);
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    if (cancelText) {
        QPushButton* cancel = buttons->addButton(*cancelText, QDialogButtonBox::RejectRole);
        cancel->setAccessibleName(cancel->text());
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    }
    return buttons;
}

}  // namespace pelko::ui
