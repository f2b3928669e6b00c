#include "ui/dialogs/options/PictureOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalog/UserInterface.h"
#include "shell/AppSettings.h"
#include "text/Codec.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 240;
// Above these a thumbnail still works but the views show pictures noticeably slower.
constexpr int kAdvisedWidth = 1024;
constexpr int kAdvisedHeight = 768;

// Counts and sizes take any whole number, a minus sign included: a negative count is kept as
// typed. A field left empty (or holding only "-") reads as 0.
int FieldNumber(const QLineEdit& field) { return field.text().toInt(); }

QLineEdit* WholeNumberField(QWidget& dialog, const char* objectName, const QString& name, int value) {
    QLineEdit* field = NumberField(dialog, objectName, name, value);
    field->setValidator(new QIntValidator(field));
    return field;
}

}  // namespace

PictureOptionsDialog::PictureOptionsDialog(shell::AppSettings& options, settings::SettingsStore& store,
                                           catalog::UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store), m_ui(ui) {
    SetUpOptionDialog(*this, "PictureOptionsDialog", "图片扫描选项...");

    const auto flag = [&](const char* key) { return options.IntValue(store, key) != 0; };
    m_picScan =
        OptionCheck(*this, "pic-scan", "扫描对象的时自动对如下类型的图片进行缩略图处理", flag("g_bPicScan"));
    m_types = {{
        {"g_bPicBmp", OptionCheck(*this, "pic-bmp", "BMP", flag("g_bPicBmp"))},
        {"g_bPicJpg", OptionCheck(*this, "pic-jpg", "JPG", flag("g_bPicJpg"))},
        {"g_bPicJpe", OptionCheck(*this, "pic-jpe", "JPE", flag("g_bPicJpe"))},
        {"g_bPicGif", OptionCheck(*this, "pic-gif", "GIF", flag("g_bPicGif"))},
        {"g_bPicTiff", OptionCheck(*this, "pic-tiff", "TIFF", flag("g_bPicTiff"))},
        {"g_bPicPsd", OptionCheck(*this, "pic-psd", "PSD", flag("g_bPicPsd"))},
    }};

    m_limitPerFolder =
        OptionCheck(*this, "limit-per-folder", "每个文件夹最多扫描图片", flag("g_bMostPicPerDir"));
    m_perFolder = WholeNumberField(*this, "per-folder", m_limitPerFolder->text(),
                                   options.IntValue(store, "g_nMostPicPerDir"));
    m_limitPerScan =
        OptionCheck(*this, "limit-per-scan", "整个扫描过程最多扫描图片", flag("g_bMostPicPerDisk"));
    m_perScan = WholeNumberField(*this, "per-scan", m_limitPerScan->text(),
                                 options.IntValue(store, "g_nMostPicPerDisk"));

    m_ownSize = OptionCheck(*this, "own-size", "指定扫描到硬盘的缩略图大小", flag("g_bPicSize"));
    QLabel* widthLabel = OptionLabel(*this, "宽度：");
    m_width = WholeNumberField(*this, "width", widthLabel->text(), options.IntValue(store, "g_nPicWidth"));
    widthLabel->setBuddy(m_width);
    QLabel* heightLabel = OptionLabel(*this, "高度：");
    m_height = WholeNumberField(*this, "height", heightLabel->text(), options.IntValue(store, "g_nPicHight"));
    heightLabel->setBuddy(m_height);
    auto* defaultSize = new QPushButton(Tr("缺省值"), this);
    defaultSize->setObjectName(QStringLiteral("default-size"));
    defaultSize->setAccessibleName(defaultSize->text());
    defaultSize->setAutoDefault(false);

    for (QCheckBox* box : {m_picScan, m_limitPerFolder, m_limitPerScan, m_ownSize}) {
        connect(box, &QCheckBox::toggled, this, &PictureOptionsDialog::UpdateEnabled);
    }
    connect(defaultSize, &QPushButton::clicked, this, &PictureOptionsDialog::SetDefaultSize);
    UpdateEnabled();

    auto* typeRow = new QHBoxLayout;
    typeRow->addSpacing(20);
    for (const PictureType& type : m_types) typeRow->addWidget(type.box);
    typeRow->addStretch();

    auto* limits = new QGridLayout;
    limits->addWidget(m_limitPerFolder, 0, 0);
    limits->addWidget(m_perFolder, 0, 1);
    limits->addWidget(m_limitPerScan, 1, 0);
    limits->addWidget(m_perScan, 1, 1);
    limits->setColumnStretch(2, 1);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addSpacing(20);
    sizeRow->addWidget(widthLabel);
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(heightLabel);
    sizeRow->addWidget(m_height);
    sizeRow->addWidget(defaultSize);
    sizeRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picScan);
    layout->addLayout(typeRow);
    layout->addLayout(limits);
    layout->addWidget(m_ownSize);
    layout->addLayout(sizeRow);
    layout->addWidget(AnswerButtons(*this, Tr("取消")));
}

void PictureOptionsDialog::UpdateEnabled() {
    for (const PictureType& type : m_types) type.box->setEnabled(m_picScan->isChecked());
    m_perFolder->setEnabled(m_limitPerFolder->isChecked());
    m_perScan->setEnabled(m_limitPerScan->isChecked());
    m_width->setEnabled(m_ownSize->isChecked());
    m_height->setEnabled(m_ownSize->isChecked());
}

void PictureOptionsDialog::SetDefaultSize() {
    m_width->setText(QString::number(kDefaultWidth));
    m_height->setText(QString::number(kDefaultHeight));
}

bool PictureOptionsDialog::CheckSize() {
    // The size counts only while its box is ticked; checking fields the user cannot edit would
    // leave no way to confirm the dialog.
    if (!m_ownSize->isChecked()) return true;
    const int width = FieldNumber(*m_width);
    const int height = FieldNumber(*m_height);
    if (width <= 0) {
        m_ui.ShowMessage(text::Local("缩略图的宽度像素需要大于零"));
        m_width->setFocus();
        m_width->selectAll();
        return false;
    }
    if (height <= 0) {
        m_ui.ShowMessage(text::Local("缩略图的高度像素需要大于零"));
        m_height->setFocus();
        m_height->selectAll();
        return false;
    }
    if (width > kAdvisedWidth) {
        m_ui.ShowMessage(text::Local("缩略图的宽度大于1024，建议不要这么大，\n缩略图尺寸越大，显示速度越慢"));
    }
    if (height > kAdvisedHeight) {
        m_ui.ShowMessage(text::Local("缩略图的高度大于768，建议不要这么大，\n缩略图尺寸越大，显示速度越慢"));
    }
    return true;
}

void PictureOptionsDialog::accept() {
    if (CheckSize()) QDialog::accept();
}

void PictureOptionsDialog::done(int result) {
    Store();
    QDialog::done(result);
}

void PictureOptionsDialog::Store() {
    const auto setFlag = [&](const char* key, const QCheckBox* box) {
        m_options.SetInt(m_store, key, box->isChecked() ? 1 : 0);
    };
    setFlag("g_bPicScan", m_picScan);
    for (const PictureType& type : m_types) setFlag(type.key, type.box);
    setFlag("g_bMostPicPerDir", m_limitPerFolder);
    m_options.SetInt(m_store, "g_nMostPicPerDir", FieldNumber(*m_perFolder));
    setFlag("g_bMostPicPerDisk", m_limitPerScan);
    m_options.SetInt(m_store, "g_nMostPicPerDisk", FieldNumber(*m_perScan));
    setFlag("g_bPicSize", m_ownSize);
    m_options.SetInt(m_store, "g_nPicWidth", FieldNumber(*m_width));
    m_options.SetInt(m_store, "g_nPicHight", FieldNumber(*m_height));
}

}  // namespace pelko::ui
