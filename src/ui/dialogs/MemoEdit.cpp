#include "ui/dialogs/MemoEdit.h"

#include "ui/text/QtText.h"

namespace pelko::ui {

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // Tab moves on to the next control, as in the dialog's other fields.
    setTabChangesFocus(true);
    setFixedHeight(fontMetrics().lineSpacing() * 5);
}

void MemoEdit::SetMemo(std::string_view modelText) {
    m_original.assign(modelText);
    QString shown = ToQt(modelText);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
    // What the document gives back can differ from what it was given (a lone CR, a no-break
    // space), so "untouched" is measured against its own reading.
    m_shown = toPlainText();
}

std::string MemoEdit::Memo() const {
    QString memo = toPlainText();
    if (memo == m_shown) return m_original;
    memo.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQt(memo);
}

}  // namespace pelko::ui
