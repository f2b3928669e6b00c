#pragma once
// "读取信息...": the modeless window a scan run reports to. The scan worker calls the progress
// operations on its own thread; they only note the newest state under a lock, and a timer on the
// window's thread shows it at most every kRefreshMilliseconds, so a fast disk is never held up by
// painting and nothing the worker made travels through Qt's event queue.
//
// While folders are read the window shows the folder's path and the hint for reading files; while
// thumbnails are made, the newest thumbnail and the hint for pictures. "取消" asks the scan to
// stop; Escape does nothing. The window has no close box, and a close request from the window
// manager all the same (Alt+F4) counts as "取消" and leaves the window up: the owner closes or
// destroys it when the worker has ended. The owner must keep it alive until then.

#include <QDialog>
#include <QString>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "scan/CScanProgress.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace pelko::ui {

class ScanAnimation;

class ScanningWindow : public QDialog, public scan::CScanProgress {
    Q_OBJECT
public:
    static constexpr int kRefreshMilliseconds = 50;
    static constexpr int kPictureWidth = 260;
    static constexpr int kPictureHeight = 230;

    explicit ScanningWindow(QWidget* parent = nullptr);

    // Scan worker side: any thread.
    bool IsCancelled() override;
    void ShowFolderPath(std::string_view path) override;
    scan::PictureAreaSize PictureArea() override;
    void ShowPicture(std::string_view picturePath, const std::filesystem::path& thumbnailPath) override;

    // Window side. Shows what the worker noted last, at once (the timer does it on its own).
    void ApplyPending();
    // The full path of the folder shown (the field itself may show it shortened).
    QString ShownPath() const { return m_fullPath; }
    // The thumbnail file shown, empty when none is.
    const std::filesystem::path& ShownPicture() const { return m_shownPicture; }

    QLabel* PathField() const { return m_path; }
    QLabel* PictureField() const { return m_picture; }
    QLabel* FileHint() const { return m_fileHint; }
    QLabel* PictureHint() const { return m_pictureHint; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    // What "取消" does: the scan stops at its next check.
    void Cancel();

signals:
    // Emitted on the window's thread, once, when the user asks the scan to stop.
    void cancelRequested();

public:
    // Escape and the dialog's reject do nothing: only "取消" stops a scan.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Showing { Folder, Picture };
    // What the worker noted; guarded by m_lock.
    struct Noted {
        bool fresh = false;
        Showing showing = Showing::Folder;
        std::string folderPath;  // model bytes
        std::string picturePath;  // model bytes
        std::filesystem::path thumbnail;
    };

    void ShowFolderPage(const QString& path);
    void ShowPicturePage(const QString& picturePath, const std::filesystem::path& thumbnail);
    void ElidePath();

    std::atomic<bool> m_cancelled{false};
    std::mutex m_lock;
    Noted m_noted;

    QString m_fullPath;
    std::filesystem::path m_shownPicture;

    ScanAnimation* m_animation = nullptr;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_path = nullptr;
    QLabel* m_fileHint = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_pictureHint = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_refresh = nullptr;
};

}  // namespace pelko::ui
