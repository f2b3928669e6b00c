#include "ui/dialogs/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <variant>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "search/FindCriteria.h"
#include "shell/CatalogObject.h"
#include "shell/FindDialogModel.h"
#include "ui/dialogs/ModelLineEdit.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace {

// The nine target boxes, in bit order (bit 1 << i is box i).
constexpr const char* kTargetTexts[FindDialog::kTargetCount] = {
    "光盘上文件名称", "光盘上文件备注", "光盘上文件夹名称", "光盘上文件夹备注", "类别名称",
    "类别备注",       "光盘名称",       "光盘备注",         "光盘标签",
};
constexpr int kFirstCatalogBox = 4;  // boxes 4..8 are the catalog targets (16..256)

// A control's accessible name is its text without the mnemonic mark.
QString Plain(const QString& text) {
    QString plain = text;
    return plain.remove(QLatin1Char('&'));
}

QCheckBox* Box(const char* text, QWidget* parent) {
    auto* box = new QCheckBox(Tr(text), parent);
    box->setAccessibleName(Plain(box->text()));
    return box;
}

QPushButton* Button(const char* text, QWidget* parent) {
    auto* button = new QPushButton(Tr(text), parent);
    button->setAccessibleName(Plain(button->text()));
    button->setAutoDefault(false);
    return button;
}

int BoxIndex(int bit) {
    for (int i = 0; i < FindDialog::kTargetCount; ++i)
        if (bit == 1 << i) return i;
    return -1;
}

}  // namespace

FindDialog::FindDialog(shell::FindDialogModel& model, catalog::CPelkoDoc& doc, catalog::UserInterface& ui,
                       bool listDiskOnly, QWidget* parent)
    : QDialog(parent), m_model(model), m_doc(doc), m_ui(ui) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(Tr("查找..."));
    setAccessibleName(windowTitle());

    // The text and its history, newest first. A history text keeps its own bytes, so one that
    // does not decode cleanly is searched as it was stored.
    m_text = new QComboBox(this);
    m_text->setEditable(true);
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_textEdit = new ModelLineEdit(m_text);
    m_text->setLineEdit(m_textEdit);
    for (const std::string& past : m_model.historyList) {
        m_text->addItem(ToQt(past), QByteArray(past.data(), static_cast<qsizetype>(past.size())));
    }
    // No row is current and nothing completes: the box holds the text as stored until the user
    // picks a row, never a history text that merely resembles it.
    m_text->setCompleter(nullptr);
    m_text->setCurrentIndex(-1);
    m_textEdit->SetModelText(m_model.text);
    // An editable combo box keeps Return to itself; in this dialog it means "确认".
    connect(m_textEdit, &QLineEdit::returnPressed, this, &FindDialog::accept);
    connect(m_text, qOverload<int>(&QComboBox::activated), this, [this](int row) {
        const QByteArray bytes = m_text->itemData(row).toByteArray();
        m_textEdit->SetModelText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    auto* textLabel = new QLabel(Tr("查找内容(&F):"), this);
    textLabel->setBuddy(m_text);
    m_text->setAccessibleName(Plain(textLabel->text()));
    m_textEdit->setAccessibleName(m_text->accessibleName());
    m_clearHistory = Button("清空历史查找内容(&D)", this);
    connect(m_clearHistory, &QPushButton::clicked, this, &FindDialog::ClearHistory);

    // The targets: the content boxes always, the catalog boxes while a category is selected.
    auto* targets = new QGroupBox(this);
    auto* targetGrid = new QGridLayout(targets);
    for (int i = 0; i < kTargetCount; ++i) {
        QCheckBox* box = Box(kTargetTexts[i], targets);
        const int bit = 1 << i;
        box->setChecked((m_model.checkedTargets & bit) != 0);
        connect(box, &QCheckBox::toggled, this, [this, bit](bool on) {
            m_model.checkedTargets = on ? (m_model.checkedTargets | bit) : (m_model.checkedTargets & ~bit);
        });
        targetGrid->addWidget(box, i < kFirstCatalogBox ? i : i - kFirstCatalogBox, i < kFirstCatalogBox ? 0 : 1);
        m_targets[static_cast<std::size_t>(i)] = box;
    }
    m_checkAll = Button("全选", this);
    m_checkNone = Button("全不选", this);
    auto checkAll = [this](bool checked) {
        m_model.CheckAllTargets(checked);
        for (int i = 0; i < kTargetCount; ++i) m_targets[static_cast<std::size_t>(i)]->setChecked((m_model.checkedTargets & (1 << i)) != 0);
    };
    connect(m_checkAll, &QPushButton::clicked, this, [checkAll] { checkAll(true); });
    connect(m_checkNone, &QPushButton::clicked, this, [checkAll] { checkAll(false); });
    auto* allNone = new QHBoxLayout;
    allNone->addWidget(m_checkAll);
    allNone->addWidget(m_checkNone);
    allNone->addStretch(1);
    targetGrid->addLayout(allNone, kTargetCount - kFirstCatalogBox, 0, 1, 2);

    // Where to search: the catalog's categories and scan objects, in the main tree's order.
    m_treeModel = new CatalogTreeModel(this);
    m_treeModel->SetListDiskOnly(listDiskOnly);
    m_treeModel->SetRoot(m_doc.Root());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("find-scope"));
    m_tree->setModel(m_treeModel);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setDragEnabled(false);
    m_tree->setAcceptDrops(false);
    m_tree->setMinimumHeight(220);
    for (int column = 1; column < m_treeModel->columnCount(); ++column) m_tree->hideColumn(column);
    auto* treeLabel = new QLabel(Tr("查找目录(&G)"), this);
    treeLabel->setBuddy(m_tree);
    m_tree->setAccessibleName(Plain(treeLabel->text()));
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FindDialog::OnScopeChanged);

    m_subcategories = Box("包括子目录(&S)", this);
    m_readme = Box("搜索Readme(&R)", this);
    m_wholeMatch = Box("完全匹配(&M)", this);
    m_case = Box("区分大小写(&C)", this);
    m_subcategories->setChecked(m_model.includeSubcategories);
    m_readme->setChecked(m_model.checkReadme);
    m_wholeMatch->setChecked(m_model.wholeMatch);
    m_case->setChecked(m_model.caseSensitive);

    auto* hint = new QLabel(Tr("您可知道双击搜索结果有什么发生吗，尝试一下..."), this);
    hint->setAccessibleName(hint->text());
    auto* ok = Button("确认", this);
    auto* cancel = Button("取消", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FindDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &FindDialog::reject);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLabel);
    textRow->addWidget(m_text, 1);
    textRow->addWidget(m_clearHistory);
    auto* options = new QVBoxLayout;
    for (QCheckBox* box : {m_subcategories, m_readme, m_wholeMatch, m_case}) options->addWidget(box);
    options->addStretch(1);
    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(m_tree, 1);
    scopeRow->addLayout(options);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(targets);
    layout->addWidget(treeLabel);
    layout->addLayout(scopeRow, 1);
    layout->addLayout(buttons);

    SelectPreselected();
    ShowTargets();
    m_text->setFocus();
}

QCheckBox* FindDialog::TargetBox(int bit) const {
    const int index = BoxIndex(bit);
    return index < 0 ? nullptr : m_targets[static_cast<std::size_t>(index)];
}

void FindDialog::SelectPreselected() {
    const QModelIndex root = m_treeModel->index(0, 0);
    m_tree->expand(root);
    const shell::FindScope& chosen = m_model.Selected();
    QModelIndex index;
    if (chosen.IsCategory()) index = m_treeModel->RevealIndexOf(shell::CatalogObject{chosen.category});
    else if (chosen.IsEntry()) index = m_treeModel->RevealIndexOf(shell::CatalogObject{chosen.entry});
    if (!index.isValid()) index = root;
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

void FindDialog::OnScopeChanged() {
    shell::FindScope scope;
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        if (const std::optional<shell::CatalogObject> object = m_treeModel->ObjectAt(selected.first())) {
            if (auto* const* category = std::get_if<catalog::CCategory*>(&*object)) {
                scope = shell::FindScope::Category(**category);
            } else if (auto* const* entry = std::get_if<catalog::CDiskInfo*>(&*object)) {
                scope = shell::FindScope::Entry(**entry);
            }
        }
    }
    m_model.Select(scope);
    ShowTargets();
}

void FindDialog::ShowTargets() {
    const bool visible = m_model.CatalogTargetsVisible();
    for (int i = kFirstCatalogBox; i < kTargetCount; ++i) m_targets[static_cast<std::size_t>(i)]->setVisible(visible);
}

void FindDialog::ClearHistory() {
    m_model.ClearHistory(m_doc);
    m_text->clear();
    m_textEdit->SetModelText({});
}

void FindDialog::accept() {
    m_model.text = m_textEdit->ModelText();
    m_model.includeSubcategories = m_subcategories->isChecked();
    m_model.checkReadme = m_readme->isChecked();
    m_model.wholeMatch = m_wholeMatch->isChecked();
    m_model.caseSensitive = m_case->isChecked();
    if (!m_model.Accept(m_ui, m_doc.History())) {
        m_text->setFocus();
        return;
    }
    m_readme->setChecked(m_model.checkReadme);
    QDialog::accept();
}

bool ModalFindDialog::RunFindDialog(shell::FindDialogModel& model) {
    FindDialog dialog(model, m_doc, m_ui, m_listDiskOnly, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelko::ui
