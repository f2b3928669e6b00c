#include "ui/dialogs/DescriptionDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

DescriptionDialog::DescriptionDialog(const QString& description, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Tr("属性..."));
    setAccessibleName(windowTitle());

    // The description texts break lines with CR LF; the view wants one break per line.
    QString shown = description;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text = new QPlainTextEdit(this);
    m_text->setPlainText(shown);
    m_text->setReadOnly(true);
    // Read-only, yet selectable and reachable by keyboard, so the text can be copied and read aloud.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setTabChangesFocus(true);
    m_text->setAccessibleName(windowTitle());
    m_text->setAccessibleDescription(shown);

    QDialogButtonBox* buttons = AnswerButtons(*this, std::nullopt);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    setMinimumSize(420, 260);
    buttons->buttons().constFirst()->setFocus();
}

}  // namespace pelko::ui
