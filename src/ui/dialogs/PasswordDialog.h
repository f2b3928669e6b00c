#pragma once
// "输入密码": the login at start-up (one field, "放弃登录") and the set-password command (two
// fields that must agree without regard to letter case). The texts it hands back are model bytes.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pelko::ui {

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Set, Login };
    explicit PasswordDialog(Mode mode, QWidget* parent = nullptr);

    // The text of the first field; the login password in login mode.
    std::string Password() const;
    // The confirmation field's text: what the set-password command stores.
    std::string Confirmation() const;

    QLineEdit* PasswordField() const { return m_password; }
    QLineEdit* ConfirmationField() const { return m_confirmation; }

    void accept() override;

private:
    Mode m_mode;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_confirmation = nullptr;
};

}  // namespace pelko::ui
