#include "ui/dialogs/CloseDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

CloseDialog::CloseDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Tr("关闭Pelko－光盘管理工具"));
    setAccessibleName(windowTitle());
    auto* question = new QLabel(Tr("确信要关闭Pelko－光盘管理工具吗？关闭了Pelko－光盘管理工具，插入光驱的光盘就不能自动地扫描到"
                                   "Pelko－光盘管理工具的光盘库中。"),
                                this);
    question->setWordWrap(true);
    m_dontAsk = new QCheckBox(Tr("下次不再提示"), this);
    m_dontAsk->setAccessibleName(m_dontAsk->text());

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addWidget(m_dontAsk);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

bool CloseDialog::DontAskAgain() const { return m_dontAsk->isChecked(); }

}  // namespace pelko::ui
