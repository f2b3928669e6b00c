#include "ui/dialogs/PictureChooser.h"

#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

#include "ui/app/MessageBoxUi.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

QString QtFileFilter(std::string_view windowsFilter) {
    const QStringList parts = Tr(windowsFilter).split(QLatin1Char('|'));
    QStringList entries;
    // Pairs of text and patterns; the trailing "||" leaves empty parts, which end the list.
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // Qt reads the patterns from the last pair of brackets of the text.
        static const QRegularExpression listed(QStringLiteral("\\([^()]*\\)$"));
        QString text = parts[i].trimmed();
        if (text.contains(listed)) {
            text.replace(listed, QLatin1Char('(') + patterns + QLatin1Char(')'));
        } else {
            text += QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
        entries.append(text);
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::filesystem::path> ChooseCoverPicture(QWidget* parent) {
    const QString file = QFileDialog::getOpenFileName(
        parent, Tr("导入封面图片"), QString(),
        QtFileFilter("Picture files(*.bmp;*.jpg)|*.bmp;*.jpg|BMP files (*.bmp)|*.bmp|JPEG files(*.jpg)|*.jpg||"));
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

}  // namespace pelko::ui
