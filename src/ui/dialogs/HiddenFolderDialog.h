#pragma once
// "扫描隐藏目录": one field "隐藏目录：" for a folder the folder picker does not show. The caller
// scans the folder it gives back when CanEnterFolder says so, and otherwise shows
// HiddenFolderError.

#include <QDialog>
#include <QString>

#include <filesystem>

class QLineEdit;

namespace pelko::ui {

// The typed text with the spaces at both ends taken off, in the file system's encoding.
std::filesystem::path HiddenFolderPath(const QString& typed);
// True when `folder` is a folder this process may enter.
bool CanEnterFolder(const std::filesystem::path& folder);
// "访问不了指定的隐藏目录%s" with the folder.
QString HiddenFolderError(const std::filesystem::path& folder);

class HiddenFolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit HiddenFolderDialog(QWidget* parent = nullptr);

    QLineEdit* PathField() const { return m_path; }
    // What the user typed, trimmed (see HiddenFolderPath).
    std::filesystem::path Folder() const;

private:
    QLineEdit* m_path = nullptr;
};

}  // namespace pelko::ui
