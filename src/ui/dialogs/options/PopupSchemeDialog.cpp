#include "ui/dialogs/options/PopupSchemeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
PopupSchemeDialog::PopupSchemeDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                     QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store) {
    SetUpOptionDialog(*this, "PopupSchemeDialog", "对话框弹出方案");

    m_askBeforeClosing = OptionCheck(*this, "ask-before-closing", "退出Pelko－光盘管理工具的时候提示是否真的要退出",
                                     options.IntValue(store, "PopCloseDlg") != 0);
    m_askOnNewDisc = OptionCheck(*this, "ask-on-new-disc",
                                 "检测到光驱内插入了新的光盘的时候提示是否把它加入到光盘库"
                                 "（本项和下一项都不选中时，插入新的光盘不做任何处理）",
                                 options.IntValue(store, "PopAskNewCDDlg") != 0);
    m_scanNewDiscUnasked = OptionCheck(*this, "scan-new-disc-unasked",
                                       "检测到光驱内插入了新的光盘的时候不提示，直接扫描到光盘库",
                                       options.IntValue(store, "ScanUnAskNewCDDlg") != 0);
    m_noAddedMessage = OptionCheck(*this, "no-added-message", "扫描完毕后不弹出成功加入光盘库的提示信息",
                                   options.IntValue(store, "PopAddedInfoDlg") == 0);
    connect(m_scanNewDiscUnasked, &QCheckBox::toggled, this, &PopupSchemeDialog::UpdateAskBox);
    UpdateAskBox();

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_askBeforeClosing);
    layout->addWidget(m_askOnNewDisc);
    layout->addWidget(m_scanNewDiscUnasked);
    layout->addWidget(m_noAddedMessage);
    layout->addWidget(buttons);
}

void PopupSchemeDialog::UpdateAskBox() { m_askOnNewDisc->setEnabled(!m_scanNewDiscUnasked->isChecked()); }

void PopupSchemeDialog::accept() {
    m_options.SetInt(m_store, "PopCloseDlg", m_askBeforeClosing->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "PopAskNewCDDlg", m_askOnNewDisc->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "ScanUnAskNewCDDlg", m_scanNewDiscUnasked->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "PopAddedInfoDlg", m_noAddedMessage->isChecked() ? 0 : 1);
    QDialog::accept();
}

}  // namespace pelko::ui
