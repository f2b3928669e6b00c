#include "ui/dialogs/NewDiscDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "text/Codec.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

QString NewDiscQuestion(std::string_view label) {
    if (label.empty()) return Tr("这是一张新的光盘，加入到光盘库吗？");
    return ToQt(text::LocalWith("这是一张新的光盘<%s>，加入到光盘库吗？", label));
}

NewDiscDialog::NewDiscDialog(std::string_view label, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewDiscDialog"));
    setWindowTitle(Tr("新光盘"));
    setAccessibleName(windowTitle());

    m_question = new QLabel(NewDiscQuestion(label), this);
    // The label sits between angle brackets: as markup it would vanish as an unknown tag.
    m_question->setTextFormat(Qt::PlainText);
    m_question->setWordWrap(true);
    m_question->setAccessibleName(m_question->text());

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addWidget(buttons);
}

QString NewDiscDialog::Question() const { return m_question->text(); }

}  // namespace pelko::ui
