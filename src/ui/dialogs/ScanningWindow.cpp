#include "ui/dialogs/ScanningWindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/dialogs/ScanAnimation.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace {

QLabel* Hint(const QString& text, QWidget* parent) {
    auto* hint = new QLabel(text, parent);
    hint->setAccessibleName(text);
    return hint;
}

}  // namespace

ScanningWindow::ScanningWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("ScanningWindow"));
    setWindowTitle(Tr("读取信息..."));
    setAccessibleName(windowTitle());
    setModal(false);

    m_animation = new ScanAnimation(this);

    // Folder page: the path being read and its hint.
    auto* folderPage = new QWidget(this);
    m_path = new QLabel(folderPage);
    m_path->setObjectName(QStringLiteral("scan-path"));
    m_path->setAccessibleName(Tr("路径"));
    // A folder name is shown as it is, never as markup.
    m_path->setTextFormat(Qt::PlainText);
    m_path->setMinimumWidth(kPictureWidth);
    m_path->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_fileHint = Hint(Tr("正在读取文件和文件夹的信息..."), folderPage);
    auto* folderLayout = new QVBoxLayout(folderPage);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    folderLayout->addStretch(1);
    folderLayout->addWidget(m_path);
    folderLayout->addWidget(m_fileHint);
    folderLayout->addStretch(1);

    // Picture page: the newest thumbnail in a box of fixed size (the worker fits thumbnails to it)
    // and its hint.
    auto* picturePage = new QWidget(this);
    m_picture = new QLabel(picturePage);
    m_picture->setObjectName(QStringLiteral("scan-picture"));
    m_picture->setAccessibleName(Tr("图片"));
    m_picture->setFixedSize(kPictureWidth, kPictureHeight);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_pictureHint = Hint(Tr("正在为图片文件生成缩略图..."), picturePage);
    auto* pictureLayout = new QVBoxLayout(picturePage);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(m_picture, 0, Qt::AlignHCenter);
    pictureLayout->addWidget(m_pictureHint);

    // Both pages take the same room, so the window keeps its size as they alternate.
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(folderPage);
    m_pages->addWidget(picturePage);

    m_cancel = new QPushButton(Tr("取消"), this);
    m_cancel->setAccessibleName(m_cancel->text());
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &ScanningWindow::Cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_animation, 0, Qt::AlignHCenter);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshMilliseconds);
    connect(m_refresh, &QTimer::timeout, this, &ScanningWindow::ApplyPending);
    m_refresh->start();
}

bool ScanningWindow::IsCancelled() { return m_cancelled.load(); }

void ScanningWindow::ShowFolderPath(std::string_view path) {
    const std::lock_guard lock(m_lock);
    m_noted.fresh = true;
    m_noted.showing = Showing::Folder;
    m_noted.folderPath.assign(path);
}

scan::PictureAreaSize ScanningWindow::PictureArea() {
    // Fixed when the window is built, so any thread may ask without touching a widget.
    return scan::PictureAreaSize{kPictureWidth, kPictureHeight};
}

void ScanningWindow::ShowPicture(std::string_view picturePath, const std::filesystem::path& thumbnailPath) {
    const std::lock_guard lock(m_lock);
    m_noted.fresh = true;
    m_noted.showing = Showing::Picture;
    m_noted.picturePath.assign(picturePath);
    m_noted.thumbnail = thumbnailPath;
}

void ScanningWindow::ApplyPending() {
    Noted noted;
    {
        const std::lock_guard lock(m_lock);
        if (!m_noted.fresh) return;
        noted = m_noted;
        m_noted.fresh = false;
    }
    if (noted.showing == Showing::Folder) {
        ShowFolderPage(ToQt(noted.folderPath));
    } else {
        ShowPicturePage(ToQt(noted.picturePath), noted.thumbnail);
    }
}

void ScanningWindow::ShowFolderPage(const QString& path) {
    m_pages->setCurrentIndex(0);
    if (path == m_fullPath) return;
    m_fullPath = path;
    m_path->setToolTip(path);
    m_path->setAccessibleDescription(path);
    ElidePath();
}

void ScanningWindow::ShowPicturePage(const QString& picturePath, const std::filesystem::path& thumbnail) {
    m_pages->setCurrentIndex(1);
    if (thumbnail == m_shownPicture) return;
    m_picture->setToolTip(picturePath);
    m_picture->setAccessibleDescription(picturePath);
    // The scan may already have removed a thumbnail it could not finish; the box is then empty.
    QPixmap pixmap(QFile::decodeName(thumbnail.c_str()));
    if (pixmap.isNull()) {
        m_picture->clear();
        m_shownPicture.clear();
        return;
    }
    m_picture->setPixmap(
        pixmap.scaled(m_picture->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_shownPicture = thumbnail;
}

void ScanningWindow::ElidePath() {
    // The middle goes: the start tells the drive, the end the folder being read.
    m_path->setText(m_path->fontMetrics().elidedText(m_fullPath, Qt::ElideMiddle,
                                                     std::max(m_path->width(), kPictureWidth)));
}

void ScanningWindow::Cancel() {
    if (m_cancelled.exchange(true)) return;
    m_cancel->setEnabled(false);
    emit cancelRequested();
}

void ScanningWindow::closeEvent(QCloseEvent* event) {
    // A close request (Alt+F4, close()) must not leave a scan running with no window to stop it:
    // it is a cancel, and the window stays until its owner hides or destroys it.
    Cancel();
    event->ignore();
}

void ScanningWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ElidePath();
}

}  // namespace pelko::ui
