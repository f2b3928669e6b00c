#pragma once
// "编辑打印": the exported text files in a tree (folders first, then files, by name without regard
// to case), the chosen file in an editable view, and printing it.
//
// An edit is written back into its file (model code page, CR LF) when another file is chosen, before
// "转换文本" runs an export, and when the window is left ("退出", Escape, the close box). A file that
// was not edited is not written again, so a file exported anew meanwhile is never overwritten with
// an old copy. Printing goes through the print dialog with one-inch margins on every side; where
// the machine has no printer, the dialog starts on printing to a PDF file next to the text file.
// UI thread only.

#include <QDialog>

#include <filesystem>
#include <functional>

class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pelko::catalog {
class UserInterface;
}

namespace pelko::ui {

class EditPrintDialog : public QDialog {
    Q_OBJECT
public:
    // `exportRoot`: the root category's export folder. `convert` runs the export window in text
    // mode over the given parent ("转换文本").
    EditPrintDialog(std::filesystem::path exportRoot, catalog::UserInterface& ui,
                    std::function<void(QWidget*)> convert, QWidget* parent = nullptr);

    // The text file the view shows (empty when none).
    const std::filesystem::path& ShownFile() const { return m_shown; }
    // Shows the file of this path when the tree lists it; false when it does not.
    bool ChooseFile(const std::filesystem::path& file);

    QTreeWidget* Tree() const { return m_tree; }
    QPlainTextEdit* TextView() const { return m_view; }
    QPushButton* ConvertButton() const { return m_convert; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* ExitButton() const { return m_exit; }

    // "打印(&P)": the print dialog, then the shown text printed (nothing when no file is shown).
    void Print();
    // Prints the shown text on `printer` with one-inch margins; false when nothing is shown or the
    // printer cannot be painted on.
    bool PrintTo(QPrinter& printer);
    // Writes an edit of the shown file back into it; true when nothing had to be written or it was.
    bool SaveBack();

    // "退出", Escape and the close box: the edit is written back first.
    void reject() override;

private:
    void BuildControls();
    // Reads the export folder into the tree again (the root item "Pelko", expanded).
    void FillTree();
    void OnCurrentChanged(QTreeWidgetItem* current);
    void ShowFile(const std::filesystem::path& file);
    void ForgetFile();
    void ConvertText();

    std::filesystem::path m_exportRoot;
    catalog::UserInterface& m_ui;
    std::function<void(QWidget*)> m_convertHandler;
    std::filesystem::path m_shown;
    bool m_edited = false;  // the shown text differs from what was read or last written

    QTreeWidget* m_tree = nullptr;
    QPlainTextEdit* m_view = nullptr;
    QPushButton* m_convert = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_exit = nullptr;
};

}  // namespace pelko::ui
