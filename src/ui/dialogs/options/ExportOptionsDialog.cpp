#include "ui/dialogs/options/ExportOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
ExportOptionsDialog::ExportOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                         QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store) {
    SetUpOptionDialog(*this, "ExportOptionsDialog", "导出文件网页时候的配置选项");

    const auto addField = [&](QFormLayout& form, TextOption& option, const char* objectName, const char* utf8Label) {
        option.field = new ModelLineEdit(this);
        option.field->setObjectName(QString::fromLatin1(objectName));
        option.field->setAccessibleName(Tr(utf8Label));
        option.field->SetModelText(options.TextValue(store, option.key));
        form.addRow(Tr(utf8Label), option.field);
    };
    auto* memoTexts = new QFormLayout;
    addField(*memoTexts, m_memoTextBefore, "memo-text-before", "文本备注前缀：");
    addField(*memoTexts, m_memoTextAfter, "memo-text-after", "文本备注后缀：");
    addField(*memoTexts, m_memoHtmlBefore, "memo-html-before", "网页备注前缀：");
    addField(*memoTexts, m_memoHtmlAfter, "memo-html-after", "网页备注后缀：");

    m_exportTree = OptionCheck(*this, "export-tree", "导出文本文件时候以树状导出",
                               options.IntValue(store, "g_bExportTree") != 0);
    m_exportMemo = OptionCheck(*this, "export-memo", "导出内容同时导出备注信息",
                               options.IntValue(store, "g_bExportMemo") != 0);

    auto* folderSignForm = new QFormLayout;
    addField(*folderSignForm, m_folderSign, "folder-sign", "导出树状文本文件时，文件夹示意字符：");

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(memoTexts);
    layout->addWidget(m_exportTree);
    layout->addWidget(m_exportMemo);
    layout->addLayout(folderSignForm);
    layout->addWidget(buttons);
}

void ExportOptionsDialog::accept() {
    for (const TextOption& option :
         {m_memoTextBefore, m_memoTextAfter, m_memoHtmlBefore, m_memoHtmlAfter, m_folderSign}) {
        m_options.SetString(m_store, option.key, option.field->ModelText());
    }
    m_options.SetInt(m_store, "g_bExportTree", m_exportTree->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "g_bExportMemo", m_exportMemo->isChecked() ? 1 : 0);
    QDialog::accept();
}

}  // namespace pelko::ui
