#include "ui/dialogs/options/Mp3OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "shell/AppSettings.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/dialogs/options/OptionFields.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

struct FieldBox {
    const char* objectName;
    const char* text;
};
// In bit order: the box at index i stands for bit 1 << i of Mp3Op.
constexpr std::array<FieldBox, 6> kFieldBoxes{{
    {"mp3-title", "曲名"},
    {"mp3-artist", "作曲/歌手/音乐家"},
    {"mp3-album", "唱片"},
    {"mp3-comment", "描述"},
    {"mp3-year", "年份"},
    {"mp3-genre", "流派"},
}};

constexpr int kSpace = 32;

// Mp3Gap is kept in one byte and put between model-byte fields, so only a one-byte character
// will do: printable ASCII.
bool IsPrintableAscii(int code) { return code >= 0x20 && code <= 0x7E; }

}  // namespace

Mp3OptionsDialog::Mp3OptionsDialog(shell::AppSettings& options, settings::SettingsStore& store, QWidget* parent)
    : QDialog(parent), m_options(options), m_store(store) {
    SetUpOptionDialog(*this, "Mp3OptionsDialog", "MP3文件分析选项");

    m_extract = OptionCheck(*this, "extract-mp3", "扫描光驱（目录）时候自动扫描Mp3信息",
                            options.IntValue(store, "ExtractMp3") != 0);

    auto* fieldsBox = new QGroupBox(this);
    auto* fieldsLayout = new QGridLayout(fieldsBox);
    const int kept = options.IntValue(store, "Mp3Op");
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        QCheckBox* box =
            OptionCheck(*fieldsBox, kFieldBoxes[i].objectName, kFieldBoxes[i].text, (kept & (1 << i)) != 0);
        fieldsLayout->addWidget(box, static_cast<int>(i / 3), static_cast<int>(i % 3));
        m_fields[i] = box;
    }

    const QString separatorLabel = Tr("各项之间的分隔符：");
    m_separator = new QLineEdit(this);
    m_separator->setObjectName(QStringLiteral("mp3-separator"));
    m_separator->setAccessibleName(separatorLabel);
    m_separator->setMaxLength(1);
    m_separator->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x20-\\x7E]?")), m_separator));
    // A stored code that is no printable character (a control code, half of a double-byte
    // character) shows as an empty field, and so becomes a space unless another one is typed.
    const int gap = options.IntValue(store, "Mp3Gap");
    if (IsPrintableAscii(gap)) m_separator->setText(QString(QChar(gap)));

    auto* separatorForm = new QFormLayout;
    separatorForm->addRow(separatorLabel, m_separator);

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_extract);
    layout->addWidget(fieldsBox);
    layout->addLayout(separatorForm);
    layout->addWidget(buttons);

    connect(m_extract, &QCheckBox::toggled, this, &Mp3OptionsDialog::UpdateFieldControls);
    UpdateFieldControls();
}

void Mp3OptionsDialog::UpdateFieldControls() {
    const bool extract = m_extract->isChecked();
    for (QCheckBox* box : m_fields) box->setEnabled(extract);
    m_separator->setEnabled(extract);
    // Typing a new separator replaces the old one at once.
    if (extract) m_separator->selectAll();
}

int Mp3OptionsDialog::SeparatorCode() const {
    const QString typed = m_separator->text();
    return typed.isEmpty() ? kSpace : typed.front().unicode();
}

void Mp3OptionsDialog::accept() {
    int kept = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i]->isChecked()) kept |= 1 << i;
    }
    m_options.SetInt(m_store, "ExtractMp3", m_extract->isChecked() ? 1 : 0);
    m_options.SetInt(m_store, "Mp3Op", kept);
    m_options.SetInt(m_store, "Mp3Gap", SeparatorCode());
    QDialog::accept();
}

}  // namespace pelko::ui
