#include "ui/dialogs/options/ScanOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>
#include <optional>

#include "catalog/UserInterface.h"
#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

ScanOptionsDialog::ScanOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                     catalog::UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store), m_ui(ui) {
    SetUpOptionDialog(*this, "ScanOptionsDialog", "扫描选项...");

    m_perFolder = MakeLimit("g_bCheckFileLimit", "g_nFileLimit", {0, 100000}, "files-per-folder",
                            "每个文件夹最多扫描文件数");
    m_perScan = MakeLimit("g_bCheckFileLimitDisk", "g_nFileLimitTotal", {0, 10000000}, "files-per-scan",
                          "整个扫描过程最多扫描文件数");
    m_depth = MakeLimit("g_bCheckDirLimit", "g_nDirLimit", {0, 1000}, "folder-depth", "最多扫描目录层数");
    m_skip = MakeList("g_bCheckFileExt", "g_szFileLimit", "skip-types", "不扫描如下类型的文件");
    m_only = MakeList("g_bCheckFileExt2", "g_szFileLimit2", "only-types", "仅扫描如下类型的文件");
    m_foldersOnly = OptionCheck(*this, "folders-only", "仅扫描目录，忽略所有文件",
                                options.IntValue(store, "g_bCheckOnlyDir") != 0);
    m_copy = MakeList("g_bFileCopy", "g_szFileCopy", "copy-files", "扫描时把如下文件拷贝到本地硬盘");
    QLabel* hint = OptionLabel(*this, "多个类型或文件之间用分号“;”隔开，例如：*.exe;*.txt;readme.txt");

    for (const auto* entry : {&m_perFolder, &m_perScan, &m_depth}) {
        connect(entry->box, &QCheckBox::toggled, this, &ScanOptionsDialog::UpdateEnabled);
    }
    for (const auto* entry : {&m_skip, &m_only, &m_copy}) {
        connect(entry->box, &QCheckBox::toggled, this, &ScanOptionsDialog::UpdateEnabled);
    }
    // The two type lists exclude each other: a scan either skips some types or takes only some.
    // Connected after the boxes took their stored values, so the dialog opens with them as stored.
    connect(m_skip.box, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked) m_only.box->setChecked(false);
    });
    connect(m_only.box, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked) m_skip.box->setChecked(false);
    });
    UpdateEnabled();

    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto* entry : {&m_perFolder, &m_perScan, &m_depth}) {
        grid->addWidget(entry->box, row, 0);
        grid->addWidget(entry->field, row, 1, Qt::AlignLeft);
        ++row;
    }
    for (const auto* entry : {&m_skip, &m_only}) {
        grid->addWidget(entry->box, row, 0);
        grid->addWidget(entry->field, row, 1);
        ++row;
    }
    grid->addWidget(m_foldersOnly, row++, 0, 1, 2);
    grid->addWidget(m_copy.box, row, 0);
    grid->addWidget(m_copy.field, row, 1);
    ++row;
    grid->addWidget(hint, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AnswerButtons(*this, Tr("取消")));
}

ScanOptionsDialog::Limit ScanOptionsDialog::MakeLimit(const char* flagKey, const char* valueKey,
                                                      IntRange range, const char* objectName,
                                                      const char* utf8Text) {
    Limit limit{flagKey, valueKey, range};
    limit.box = OptionCheck(*this, objectName, utf8Text, m_options.IntValue(m_store, flagKey) != 0);
    const QByteArray fieldName = QByteArray(objectName) + "-value";
    limit.field =
        NumberField(*this, fieldName.constData(), limit.box->text(), m_options.IntValue(m_store, valueKey));
    return limit;
}

ScanOptionsDialog::List ScanOptionsDialog::MakeList(const char* flagKey, const char* textKey,
                                                    const char* objectName, const char* utf8Text) {
    List list{flagKey, textKey};
    list.box = OptionCheck(*this, objectName, utf8Text, m_options.IntValue(m_store, flagKey) != 0);
    list.field = new QLineEdit(ToQt(m_options.TextValue(m_store, textKey)), this);
    list.field->setObjectName(QString::fromLatin1(objectName) + QStringLiteral("-list"));
    list.field->setAccessibleName(list.box->text());
    list.field->setMinimumWidth(200);
    return list;
}

void ScanOptionsDialog::UpdateEnabled() {
    for (const auto* entry : {&m_perFolder, &m_perScan, &m_depth})
        entry->field->setEnabled(entry->box->isChecked());
    for (const auto* entry : {&m_skip, &m_only, &m_copy}) entry->field->setEnabled(entry->box->isChecked());
}

void ScanOptionsDialog::accept() {
    std::array<int, 3> values{};
    const std::array<const Limit*, 3> limits{&m_perFolder, &m_perScan, &m_depth};
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const std::optional<int> value =
            CheckedNumber(*limits[i]->field, limits[i]->range, m_ui, *limits[i]->box);
        if (!value) return;
        values[i] = *value;
    }
    Store(values);
    QDialog::accept();
}

void ScanOptionsDialog::Store(const std::array<int, 3>& limitValues) {
    const std::array<const Limit*, 3> limits{&m_perFolder, &m_perScan, &m_depth};
    for (std::size_t i = 0; i < limits.size(); ++i) {
        m_options.SetInt(m_store, limits[i]->flagKey, limits[i]->box->isChecked() ? 1 : 0);
        m_options.SetInt(m_store, limits[i]->valueKey, limitValues[i]);
    }
    // SetString keeps these lists in lower case, as the walker compares them.
    for (const auto* list : {&m_skip, &m_only, &m_copy}) {
        m_options.SetInt(m_store, list->flagKey, list->box->isChecked() ? 1 : 0);
        m_options.SetString(m_store, list->textKey, FromQt(list->field->text()));
    }
    m_options.SetInt(m_store, "g_bCheckOnlyDir", m_foldersOnly->isChecked() ? 1 : 0);
}

}  // namespace pelko::ui
