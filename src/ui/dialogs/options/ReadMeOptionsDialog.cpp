#include "ui/dialogs/options/ReadMeOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

ReadMeOptionsDialog::ReadMeOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                         QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store) {
    SetUpOptionDialog(*this, "ReadMeOptionsDialog", "ReadMe选项");

    m_autoFill = OptionCheck(*this, "auto-fill-readme", "扫描光驱（目录）时自动把根目录下的ReadMe.txt文件扫描到光盘库",
                             options.IntValue(store, "AutoFillReadme") != 0);

    // Radio buttons with the same parent form one exclusive group.
    auto* opening = new QGroupBox(this);
    m_openAtOnce = OptionRadio(*opening, "open-readme-at-once",
                               "在Pelko－光盘管理工具中打开一个光盘文件的时候立即显示其ReadMe内容");
    m_openOnDoubleClick = OptionRadio(*opening, "open-readme-on-double-click", "仅当双击ReadMe的时候显示ReadMe内容");
    const bool onDoubleClick = options.IntValue(store, "AutoOpenReadme") != 0;
    (onDoubleClick ? m_openOnDoubleClick : m_openAtOnce)->setChecked(true);

    auto* openingLayout = new QVBoxLayout(opening);
    openingLayout->addWidget(m_openAtOnce);
    openingLayout->addWidget(m_openOnDoubleClick);

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_autoFill);
    layout->addWidget(opening);
    layout->addWidget(buttons);
}

void ReadMeOptionsDialog::done(int result) {
    m_options.SetInt(m_store, "AutoFillReadme", m_autoFill->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "AutoOpenReadme", m_openOnDoubleClick->isChecked() ? 1 : 0);
    QDialog::done(result);
}

}  // namespace pelko::ui
