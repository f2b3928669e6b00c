#pragma once
// "设置新扫描的对象的相关信息": where a new scan object is filed. Shows a prompt, the catalog's
// categories as a tree (all of them, expanded), a name field and a memo field. Confirming without
// choosing a category is a valid answer with no category: the import that asks stops there.

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
    // `prompt` and `presetName` are model bytes; `root` must outlive the dialog.
    NewObjectDialog(std::string_view prompt, std::string_view presetName, catalog::CCategory& root,
                    QWidget* parent = nullptr);

    // What the user chose; meaningful after the dialog was accepted.
    catalog::NewObjectAnswer Answer() const;

    // Selects the row of `category`; false when the tree does not show it.
    bool SelectCategory(const catalog::CCategory* category);

    QTreeWidget* CategoryTree() const { return m_tree; }
    ModelLineEdit* NameField() const { return m_name; }
    MemoEdit* MemoField() const { return m_memo; }

    // Stays open, after saying so, while the name is blank.
    void accept() override;

private:
    void AddCategory(catalog::CCategory& category, QTreeWidgetItem* parentItem);
    catalog::CCategory* ChosenCategory() const;

    QTreeWidget* m_tree = nullptr;
    ModelLineEdit* m_name = nullptr;
    MemoEdit* m_memo = nullptr;
};

}  // namespace pelko::ui
