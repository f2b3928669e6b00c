#include "ui/app/MessageBoxUi.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/dialogs/NewObjectDialog.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

QString ProgramCaption() { return Tr("Pelko－光盘管理工具"); }

void ShowMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramCaption(), text, QMessageBox::Ok, parent);
    box.exec();
}

void MessageBoxUi::ShowMessage(std::string_view text) { ShowMessageBox(m_parent, ToQt(text)); }

bool MessageBoxUi::AskYesNo(std::string_view text) {
    return QMessageBox::question(m_parent, ProgramCaption(), ToQt(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool MessageBoxUi::AskOkCancel(std::string_view text) {
    return QMessageBox::question(m_parent, ProgramCaption(), ToQt(text), QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

std::optional<catalog::NewObjectAnswer> MessageBoxUi::AskNewObject(std::string_view prompt,
                                                                   std::string_view presetName,
                                                                   catalog::CCategory& root) {
    NewObjectDialog dialog(prompt, presetName, root, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Answer();
}

std::optional<std::filesystem::path> MessageBoxUi::ChooseFolder(std::string_view prompt) {
    // The prompt is the dialog's title, which has one line: a line break would show as a box.
    const QString title = ToQt(prompt).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString folder = QFileDialog::getExistingDirectory(m_parent, title);
    if (folder.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

catalog::FileChoice MessageBoxUi::ChooseDiscFiles(const std::filesystem::path& startFolder) {
    const QStringList files = QFileDialog::getOpenFileNames(
        m_parent, ProgramCaption(), QFile::decodeName(startFolder.c_str()), Tr("光盘文件 (*.pkb)"));
    catalog::FileChoice choice;
    for (const QString& file : files) choice.files.emplace_back(QFile::encodeName(file).toStdString());
    return choice;
}

}  // namespace pelko::ui
