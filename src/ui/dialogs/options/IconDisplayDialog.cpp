#include "ui/dialogs/options/IconDisplayDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <optional>

#include "catalog/UserInterface.h"
#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/options/IconSizes.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

constexpr IntRange kIconSideRange{10, 1000};

}  // namespace

IconDisplayDialog::IconDisplayDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                     catalog::UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store), m_ui(ui) {
    SetUpOptionDialog(*this, "IconDisplayDialog", "图标显示选项设置...");

    m_categoriesBig = OptionCheck(*this, "categories-big-icons", "显示类别内容时缺省使用大图标方式显示",
                                  options.IntValue(store, "DefaultBigIcon") != 0);
    const int storedWidth = options.IntValue(store, "BigIcon_X");
    QLabel* widthLabel = OptionLabel(*this, "宽度：");
    m_width = NumberField(*this, "icon-width", widthLabel->text(), storedWidth);
    widthLabel->setBuddy(m_width);
    QLabel* heightLabel = OptionLabel(*this, "高度：");
    m_height = NumberField(*this, "icon-height", heightLabel->text(), options.IntValue(store, "BigIcon_Y"));
    heightLabel->setBuddy(m_height);

    QLabel* sizesLabel = OptionLabel(*this, "大图标尺寸：");
    m_sizes = new QListWidget(this);
    m_sizes->setObjectName(QStringLiteral("icon-sizes"));
    m_sizes->setAccessibleName(sizesLabel->text());
    sizesLabel->setBuddy(m_sizes);
    for (const IconSize& size : LargeIconSizes()) {
        m_sizes->addItem(QString::fromLatin1(size.text.data(), static_cast<qsizetype>(size.text.size())));
    }
    m_sizes->setMaximumHeight(m_sizes->sizeHintForRow(0) * (m_sizes->count() + 1));
    // Selected before the list is connected: opening shows the stored height, even when it is
    // not the one the entry pairs with the width.
    m_sizes->setCurrentRow(IconSizeIndexForWidth(storedWidth));
    connect(m_sizes, &QListWidget::currentRowChanged, this, &IconDisplayDialog::FillFromSize);
    // A click on the entry already selected fills the fields again after they were edited.
    connect(m_sizes, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { FillFromSize(m_sizes->row(item)); });

    m_othersReport = OptionCheck(*this, "others-report", "显示其他内容时缺省使用详细内容方式显示",
                                 options.IntValue(store, "OtherReport") != 0);

    auto* sizeGrid = new QGridLayout;
    sizeGrid->addWidget(widthLabel, 0, 0);
    sizeGrid->addWidget(m_width, 0, 1);
    sizeGrid->addWidget(heightLabel, 1, 0);
    sizeGrid->addWidget(m_height, 1, 1);
    sizeGrid->addWidget(sizesLabel, 0, 2);
    sizeGrid->addWidget(m_sizes, 1, 2, 3, 1);
    sizeGrid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_categoriesBig);
    layout->addLayout(sizeGrid);
    layout->addWidget(m_othersReport);
    layout->addWidget(AnswerButtons(*this, Tr("取消")));
}

void IconDisplayDialog::FillFromSize(int row) {
    const std::span<const IconSize> sizes = LargeIconSizes();
    if (row < 0 || static_cast<std::size_t>(row) >= sizes.size()) return;
    m_width->setText(QString::number(sizes[static_cast<std::size_t>(row)].width));
    m_height->setText(QString::number(sizes[static_cast<std::size_t>(row)].height));
}

void IconDisplayDialog::accept() {
    const std::optional<int> width = CheckedNumber(*m_width, kIconSideRange, m_ui, *m_width);
    if (!width) return;
    const std::optional<int> height = CheckedNumber(*m_height, kIconSideRange, m_ui, *m_height);
    if (!height) return;
    m_options.SetInt(m_store, "DefaultBigIcon", m_categoriesBig->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "BigIcon_X", *width);
    m_options.SetInt(m_store, "BigIcon_Y", *height);
    m_options.SetInt(m_store, "OtherReport", m_othersReport->isChecked() ? 1 : 0);
    QDialog::accept();
}

}  // namespace pelko::ui
