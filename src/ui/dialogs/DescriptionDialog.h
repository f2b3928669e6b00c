#pragma once
// "属性...": the description text of one object, read-only, with an OK button. The caller makes
// the text (the statistics texts of the catalog); this only shows it.

#include <QDialog>

class QPlainTextEdit;

namespace pelko::ui {

class DescriptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit DescriptionDialog(const QString& description, QWidget* parent = nullptr);

    QPlainTextEdit* TextView() const { return m_text; }

private:
    QPlainTextEdit* m_text = nullptr;
};

}  // namespace pelko::ui
