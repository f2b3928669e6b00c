#pragma once
// Where a new scan object is filed. Shows a prompt, the catalog's categories as a tree (all of
// them, expanded), a name field and a memo field. "确认" always needs a name.
//  - Adding disc files ("设置新扫描的对象的相关信息"): confirming without choosing a category is a
//    valid answer with no category; the import that asks stops there.
//  - A finished scan ("设置新光盘的相关信息"): a category must be chosen too, or the new scan
//    object would have nowhere to go.

#include <QDialog>

#include <string_view>

#include "catalog/UserInterface.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace pelko::catalog {
class CCategory;
}

namespace pelko::ui {

class MemoEdit;
class ModelLineEdit;

class NewObjectDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { AddDiscFile, Scan };

    // `prompt` and `presetName` are model bytes; `root` must outlive the dialog.
    NewObjectDialog(std::string_view prompt, std::string_view presetName, catalog::CCategory& root,
                    QWidget* parent = nullptr, Purpose purpose = Purpose::AddDiscFile);

    // What the user chose; meaningful after the dialog was accepted.
    catalog::NewObjectAnswer Answer() const;

    // Selects the row of `category`; false when the tree does not show it.
    bool SelectCategory(const catalog::CCategory* category);

    QTreeWidget* CategoryTree() const { return m_tree; }
    ModelLineEdit* NameField() const { return m_name; }
    MemoEdit* MemoField() const { return m_memo; }

    // Stays open, after saying so, while the name is blank or (for a scan) no category is chosen.
    void accept() override;

private:
    void AddCategory(catalog::CCategory& category, QTreeWidgetItem* parentItem);
    catalog::CCategory* ChosenCategory() const;

    Purpose m_purpose;
    QTreeWidget* m_tree = nullptr;
    ModelLineEdit* m_name = nullptr;
    MemoEdit* m_memo = nullptr;
};

}  // namespace pelko::ui
