#include "ui/dialogs/HotKeyDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <utility>

#include "platform/GlobalHotKeys.h"
#include "shell/HotKeys.h"
#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace {

QLabel* Hint(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAccessibleName(text);
    return label;
}

QCheckBox* ModifierBox(const char* name, const char* objectName, QWidget* parent) {
    auto* box = new QCheckBox(Tr(name), parent);
    box->setObjectName(QLatin1String(objectName));
    box->setAccessibleName(box->text());
    return box;
}

}  // namespace

HotKeyDialog::HotKeyDialog(std::vector<platform::OpticalDrive> drives, shell::AppSettings& options,
                           settings::SettingsStore& store, bool hotKeysAvailable, QWidget* parent)
    : QDialog(parent), m_commands(shell::HotKeyRows(drives)), m_options(options), m_store(store) {
    setObjectName(QStringLiteral("HotKeyDialog"));
    setWindowTitle(Tr("注册弹出光驱和关闭光驱的快捷键"));
    setAccessibleName(windowTitle());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        Hint(Tr("只要Pelko－光盘管理工具处于运行状态，注册的光驱快捷键在任何地方都有效！"), this));
    layout->addWidget(Hint(Tr("弹出光驱和关闭光驱请使用不同的快捷键"), this));
    if (!hotKeysAvailable) {
        QLabel* note = Hint(ToQt(shell::HotKeysUnavailableText()) +
                                Tr("；这里设定的快捷键仍会保存，在提供全局快捷键的桌面上生效。"),
                            this);
        note->setObjectName(QStringLiteral("hot-keys-unavailable"));
        layout->addWidget(note);
    }
    if (m_commands.empty()) {
        QLabel* none = Hint(Tr("没有找到光驱"), this);
        none->setObjectName(QStringLiteral("no-optical-drive"));
        layout->addWidget(none);
    }

    m_rows = new QListWidget(this);
    m_rows->setObjectName(QStringLiteral("hot-key-rows"));
    m_rows->setAccessibleName(windowTitle());
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const shell::HotKeyRow& row : m_commands) {
        auto* item = new QListWidgetItem(ToQt(row.text), m_rows);
        item->setData(Qt::UserRole, row.command);
    }
    layout->addWidget(m_rows, 1);

    m_ctrl = ModifierBox("Ctrl", "hot-key-ctrl", this);
    m_shift = ModifierBox("Shift", "hot-key-shift", this);
    m_alt = ModifierBox("Alt", "hot-key-alt", this);
    m_windows = ModifierBox("Win", "hot-key-windows", this);
    auto* modifiers = new QHBoxLayout;
    for (QCheckBox* box : {m_ctrl, m_shift, m_alt, m_windows}) modifiers->addWidget(box);
    modifiers->addStretch(1);
    layout->addLayout(modifiers);

    m_key = new QComboBox(this);
    m_key->setObjectName(QStringLiteral("hot-key-key"));
    m_key->setAccessibleName(Tr("按键："));
    m_key->addItem(QString());
    for (int entry = 1; entry < shell::kHotKeyListEntries; ++entry)
        m_key->addItem(QString(QChar(shell::HotKeyCodeOfEntry(entry))).toLower());
    auto* keyRow = new QFormLayout;
    keyRow->addRow(Tr("按键："), m_key);
    layout->addLayout(keyRow);

    layout->addWidget(AnswerButtons(*this, Tr("取消")));

    const bool any = !m_commands.empty();
    for (QWidget* control : std::initializer_list<QWidget*>{m_rows, m_ctrl, m_shift, m_alt, m_windows, m_key})
        control->setEnabled(any);
    if (any) {
        m_rows->setCurrentRow(0);
        ShowRow(0);
    }
    connect(m_rows, &QListWidget::currentRowChanged, this, [this](int row) {
        StoreRow(m_shownRow);
        ShowRow(row);
    });
    setMinimumWidth(420);
}

HotKeyDialog::~HotKeyDialog() {
    // The list is destroyed after this part of the dialog; clearing it must not reach StoreRow.
    disconnect(m_rows, nullptr, this, nullptr);
}

void HotKeyDialog::accept() {
    StoreRow(m_rows->currentRow());
    QDialog::accept();
}

void HotKeyDialog::ShowRow(int row) {
    m_shownRow = row;
    if (row < 0 || static_cast<std::size_t>(row) >= m_commands.size()) return;
    const shell::HotKeyPair pair =
        shell::StoredHotKey(m_options, m_store, m_commands[static_cast<std::size_t>(row)].command);
    m_ctrl->setChecked((pair.modifiers & shell::kHotKeyCtrl) != 0);
    m_shift->setChecked((pair.modifiers & shell::kHotKeyShift) != 0);
    m_alt->setChecked((pair.modifiers & shell::kHotKeyAlt) != 0);
    m_windows->setChecked((pair.modifiers & shell::kHotKeyWindows) != 0);
    m_key->setCurrentIndex(shell::HotKeyEntryOfCode(pair.keyCode));
}

void HotKeyDialog::StoreRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_commands.size()) return;
    shell::StoreHotKey(m_options, m_store, m_commands[static_cast<std::size_t>(row)].command, ShownPair());
}

shell::HotKeyPair HotKeyDialog::ShownPair() const {
    int modifiers = 0;
    if (m_ctrl->isChecked()) modifiers |= shell::kHotKeyCtrl;
    if (m_shift->isChecked()) modifiers |= shell::kHotKeyShift;
    if (m_alt->isChecked()) modifiers |= shell::kHotKeyAlt;
    if (m_windows->isChecked()) modifiers |= shell::kHotKeyWindows;
    return {modifiers, shell::HotKeyCodeOfEntry(m_key->currentIndex())};
}

void EditDriveHotKeys(QWidget* parent, const std::vector<platform::OpticalDrive>& drives,
                      shell::AppSettings& options, settings::SettingsStore& store,
                      platform::GlobalHotKeys& port, catalog::UserInterface& ui) {
    shell::UnregisterHotKeys(drives, port);
    {
        HotKeyDialog dialog(drives, options, store, port.Available(), parent);
        dialog.exec();
    }
    shell::RegisterHotKeys(drives, store, port, ui);
}

}  // namespace pelko::ui
