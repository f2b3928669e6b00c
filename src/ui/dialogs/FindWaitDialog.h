#pragma once
// "正在查找...": the modeless window a running search reports to. The search worker calls the
// progress operations on its own thread; they only note the newest folder and percentage under a
// lock, and a timer on the window's thread shows them at most every kRefreshMilliseconds, so the
// walk is never held up by painting and nothing the worker made travels through Qt's event queue.
// While "显示进度和提示" is unchecked the worker's updates are dropped before they take the lock.
//
// "取消(&C)" asks the search to stop (cancelRequested, once); Escape and a close request from the
// window manager do the same. The window stays up until its owner destroys it when the worker has
// ended, so the user sees the search wind down rather than a window that vanished too early.

#include <QDialog>
#include <QString>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "search/FindProgress.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace pelko::ui {

class FindWaitDialog : public QDialog, public search::FindProgress {
    Q_OBJECT
public:
    static constexpr int kRefreshMilliseconds = 50;

    // `searchText` (model bytes) is shown at the top.
    explicit FindWaitDialog(std::string_view searchText, QWidget* parent = nullptr);

    // Search worker side: any thread.
    void ShowFolderPath(std::string_view path) override;
    void ShowProgress(int percent) override;

    // Window side. Shows what the worker noted last, at once (the timer does it on its own).
    void ApplyPending();
    bool IsCancelled() const { return m_cancelled.load(); }

    QLabel* PathField() const { return m_path; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QCheckBox* ShowProgressBox() const { return m_showProgress; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    // What "取消(&C)" does: the search stops at its next stop point.
    void Cancel();

signals:
    // Emitted on the window's thread, once, when the user asks the search to stop.
    void cancelRequested();

public:
    void reject() override { Cancel(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What the worker noted; guarded by m_lock.
    struct Noted {
        bool freshPath = false;
        bool freshPercent = false;
        std::string folderPath;  // model bytes
        int percent = 0;
    };

    std::atomic<bool> m_showing{true};  // mirrors "显示进度和提示" for the worker
    std::atomic<bool> m_cancelled{false};
    std::mutex m_lock;
    Noted m_noted;

    QLabel* m_path = nullptr;
    QProgressBar* m_progress = nullptr;
    QCheckBox* m_showProgress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_refresh = nullptr;
};

}  // namespace pelko::ui
