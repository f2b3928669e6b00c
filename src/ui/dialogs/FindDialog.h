#pragma once
// "查找...": the find dialog over a shell::FindDialogModel. The text box with the search history
// (newest first) and "清空历史查找内容(&D)"; the nine target boxes, the five catalog ones shown
// only while a category is selected in the scope tree; "全选"/"全不选"; the scope tree (the
// catalog's categories and scan objects as the main tree shows them); the four options. The
// rules of "确认" and its messages are the model's: the dialog writes what the controls show into
// the model and closes only when the model accepts.
//
// ModalFindDialog is the find command's way to run it (shell::FindDialogPort).

#include <QDialog>

#include <array>

#include "shell/FindDialogPort.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTreeView;

namespace pelko::catalog {
class CPelkoDoc;
class UserInterface;
}  // namespace pelko::catalog
namespace pelko::shell {
class FindDialogModel;
}

namespace pelko::ui {

class CatalogTreeModel;
class ModelLineEdit;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTargetCount = 9;

    // `model` holds what the dialog opens on and receives the choice; it, `doc` and `ui` must
    // outlive the dialog. `listDiskOnly`: the scope tree hangs every scan object under the root.
    FindDialog(shell::FindDialogModel& model, catalog::CPelkoDoc& doc, catalog::UserInterface& ui, bool listDiskOnly,
               QWidget* parent = nullptr);

    // "确认": stays open (after the model's message) when the model refuses.
    void accept() override;

    QComboBox* TextBox() const { return m_text; }
    // The target box of a FindTarget bit (1, 2, 4, ... 256).
    QCheckBox* TargetBox(int bit) const;
    QTreeView* ScopeTree() const { return m_tree; }
    CatalogTreeModel* ScopeModel() const { return m_treeModel; }
    QPushButton* ClearHistoryButton() const { return m_clearHistory; }
    QPushButton* CheckAllButton() const { return m_checkAll; }
    QPushButton* CheckNoneButton() const { return m_checkNone; }
    QCheckBox* SubcategoriesBox() const { return m_subcategories; }
    QCheckBox* ReadmeBox() const { return m_readme; }
    QCheckBox* WholeMatchBox() const { return m_wholeMatch; }
    QCheckBox* CaseBox() const { return m_case; }

private:
    void SelectPreselected();
    void OnScopeChanged();
    void ShowTargets();
    void ClearHistory();

    shell::FindDialogModel& m_model;
    catalog::CPelkoDoc& m_doc;
    catalog::UserInterface& m_ui;

    QComboBox* m_text = nullptr;
    ModelLineEdit* m_textEdit = nullptr;
    QPushButton* m_clearHistory = nullptr;
    std::array<QCheckBox*, kTargetCount> m_targets{};  // by bit number: box i stands for bit 1 << i
    QPushButton* m_checkAll = nullptr;
    QPushButton* m_checkNone = nullptr;
    CatalogTreeModel* m_treeModel = nullptr;
    QTreeView* m_tree = nullptr;
    QCheckBox* m_subcategories = nullptr;
    QCheckBox* m_readme = nullptr;
    QCheckBox* m_wholeMatch = nullptr;
    QCheckBox* m_case = nullptr;
};

// Runs the find dialog modally over `parent` for the find command.
class ModalFindDialog final : public shell::FindDialogPort {
public:
    // `listDiskOnly` is read when the dialog opens.
    ModalFindDialog(catalog::CPelkoDoc& doc, catalog::UserInterface& ui, const bool& listDiskOnly, QWidget* parent)
        : m_doc(doc), m_ui(ui), m_listDiskOnly(listDiskOnly), m_parent(parent) {}

    bool RunFindDialog(shell::FindDialogModel& model) override;

private:
    catalog::CPelkoDoc& m_doc;
    catalog::UserInterface& m_ui;
    const bool& m_listDiskOnly;
    QWidget* m_parent;
};

}  // namespace pelko::ui
