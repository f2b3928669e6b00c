#include "ui/dialogs/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "shell/SessionRules.h"
#include "ui/app/MessageBoxUi.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

PasswordDialog::PasswordDialog(Mode mode, QWidget* parent) : QDialog(parent), m_mode(mode) {
    setWindowTitle(Tr("输入密码"));
    setAccessibleName(Tr("输入密码"));
    const bool login = mode == Mode::Login;

    auto* explanation = new QLabel(login ? Tr("请输入密码,只有密码正确才能使用")
                                         : Tr("设置使用密码. 如果要清除密码,新密码和确认新密码什么都不输入即可"),
                                   this);
    explanation->setWordWrap(true);

    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_confirmation = new QLineEdit(this);
    m_confirmation->setEchoMode(QLineEdit::Password);
    const QString firstLabel = login ? Tr("登录密码：") : Tr("新密码:");
    m_password->setAccessibleName(firstLabel);
    m_confirmation->setAccessibleName(Tr("确认新密码:"));

    auto* form = new QFormLayout;
    form->addRow(firstLabel, m_password);
    form->addRow(Tr("确认新密码:"), m_confirmation);
    if (login) form->setRowVisible(m_confirmation, false);

    QDialogButtonBox* buttons = AnswerButtons(*this, login ? Tr("放弃登录") : Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_password->setFocus();
}

std::string PasswordDialog::Password() const { return FromQt(m_password->text()); }
std::string PasswordDialog::Confirmation() const { return FromQt(m_confirmation->text()); }

void PasswordDialog::accept() {
    if (m_mode == Mode::Set && !shell::PasswordEntriesAgree(Password(), Confirmation())) {
        ShowMessageBox(this, ToQt(shell::PasswordMismatchText()));
        m_confirmation->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace pelko::ui
