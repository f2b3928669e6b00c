#include "ui/dialogs/HiddenFolderDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <unistd.h>

#include <system_error>

#include "ui/dialogs/AnswerButtons.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

std::filesystem::path HiddenFolderPath(const QString& typed) {
    // Only spaces: a tab or other blank typed on purpose is part of the name.
    qsizetype begin = 0;
    qsizetype end = typed.size();
    while (begin < end && typed[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && typed[end - 1] == QLatin1Char(' ')) --end;
    return std::filesystem::path(QFile::encodeName(typed.mid(begin, end - begin)).toStdString());
}

bool CanEnterFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    // Entering needs search permission as well as a folder to be there.
    return std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), X_OK) == 0;
}

QString HiddenFolderError(const std::filesystem::path& folder) {
    return Tr("访问不了指定的隐藏目录%1").arg(QFile::decodeName(folder.c_str()));
}

HiddenFolderDialog::HiddenFolderDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HiddenFolderDialog"));
    setWindowTitle(Tr("扫描隐藏目录"));
    setAccessibleName(windowTitle());

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("hidden-folder"));
    m_path->setAccessibleName(Tr("隐藏目录："));
    m_path->setMinimumWidth(320);

    auto* form = new QFormLayout;
    form->addRow(Tr("隐藏目录："), m_path);

    QDialogButtonBox* buttons = AnswerButtons(*this, Tr("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_path->setFocus();
}

std::filesystem::path HiddenFolderDialog::Folder() const { return HiddenFolderPath(m_path->text()); }

}  // namespace pelko::ui
