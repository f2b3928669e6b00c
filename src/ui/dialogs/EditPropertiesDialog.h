#pragma once
// The edit-properties dialog of one catalog object: the title, name and memo of the form the
// editor made. The name can be changed only where the editor applies it (categories and scan
// objects); the caller says which. OK hands back the name and memo as model bytes, unchanged
// bytes for a field left untouched.

#include <QDialog>

#include <string>

#include "shell/CatalogEditor.h"

namespace pelko::ui {

class MemoEdit;
class ModelLineEdit;

class EditPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // The name field is read-only unless the form says the name is stored too.
    explicit EditPropertiesDialog(const shell::PropertiesForm& form, QWidget* parent = nullptr);

    std::string Name() const;
    std::string Memo() const;

    ModelLineEdit* NameField() const { return m_name; }
    MemoEdit* MemoField() const { return m_memo; }

    // Stays open, after saying so, while an editable name is blank.
    void accept() override;

private:
    bool m_nameEditable;
    // A read-only name is handed back as it came, whatever reached the field.
    std::string m_originalName;
    ModelLineEdit* m_name = nullptr;
    MemoEdit* m_memo = nullptr;
};

}  // namespace pelko::ui
