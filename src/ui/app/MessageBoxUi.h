#pragma once
// The libraries' user-interface port answered with Qt's message boxes and file choosers. Every
// box carries the program's caption "Pelko－光盘管理工具".

#include <QPointer>
#include <QString>
#include <QWidget>

#include "catalog/UserInterface.h"

namespace pelko::ui {

// The program's caption of message boxes.
QString ProgramCaption();
// A message box with an OK button over `parent` (null: none).
void ShowMessageBox(QWidget* parent, const QString& text);

class MessageBoxUi final : public catalog::UserInterface {
public:
    // Boxes are shown over `parent` once it is set; before the main window exists they have none.
    void SetParent(QWidget* parent) { m_parent = parent; }

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool AskOkCancel(std::string_view text) override;
    std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view prompt, std::string_view presetName,
                                                         catalog::CCategory& root) override;
    std::optional<std::filesystem::path> ChooseFolder(std::string_view prompt) override;
    catalog::FileChoice ChooseDiscFiles(const std::filesystem::path& startFolder) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace pelko::ui
