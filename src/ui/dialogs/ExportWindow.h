#pragma once
// The export window: "导出为文本" in text mode, "导出到网页文件..." in HTML mode. A tree of the
// catalog to choose what is exported, the export conditions, "导出" / "停止" / "编辑和打印" /
// "退出", and while an export runs the file being written and a progress bar.
//
// The rules (which controls are enabled, starting and stopping the worker) are
// exporting::ExportDialog's; this window shows its ExportControls and forwards its buttons. The
// export worker reports through a relay that notes the newest path and progress under a lock and
// hands them, and its end, to this window's thread through UiThreadTasks.
//
// While the worker runs the window stays: Escape does nothing, and a close request (the close box,
// Alt+F4) stops the export and closes the window once the worker has reported its end. "退出" is
// disabled meanwhile. UI thread only, apart from the relay.

#include <QDialog>

#include <memory>

#include "export/ExportDialog.h"
#include "ui/app/AppServices.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace pelko::catalog {
class CCategory;
}

namespace pelko::ui {

class CatalogTreeModel;
class UiThreadTasks;

class ExportWindow : public QDialog, private exporting::ExportDialogView {
    Q_OBJECT
public:
    // Prepares the export folders and index pages, fills the tree and chooses `preselected`
    // (null: the root category).
    ExportWindow(AppServices services, exporting::ExportFormat mode, const catalog::CCategory* preselected,
                 QWidget* parent = nullptr);
    ~ExportWindow() override;

    // The window, modal over `parent`, until it is closed.
    static void Run(AppServices services, exporting::ExportFormat mode, const catalog::CCategory* preselected,
                    QWidget* parent);

    const exporting::ExportDialog& Logic() const { return *m_logic; }
    // The object the export would start from: the tree's current row (the root when none).
    exporting::ExportTarget ChosenTarget() const;

    QTreeView* Tree() const { return m_tree; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* StopButton() const { return m_stop; }
    QPushButton* EditPrintButton() const { return m_editPrint; }
    QPushButton* ExitButton() const { return m_exit; }
    QCheckBox* FoldersOnlyBox() const { return m_foldersOnly; }
    QCheckBox* AllTypesBox() const { return m_allTypes; }
    QCheckBox* ShowProgressBox() const { return m_showProgress; }
    QCheckBox* ListedTypesBox() const { return m_listedTypes; }
    QLineEdit* TypeList() const { return m_typeList; }
    QLabel* PathText() const { return m_pathText; }
    QProgressBar* Progress() const { return m_progress; }

    // "导出": starts the export of the chosen object with the conditions shown.
    void StartExport();
    // "停止".
    void StopExport();

    // Escape and "退出": nothing while the worker runs.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class WorkerRelay;

    // exporting::ExportDialogView
    void ShowControls(const exporting::ExportControls& controls) override;
    void SetProgress(int percent) override;
    void OpenEditAndPrint() override;

    void BuildControls();
    void FillTree(const catalog::CCategory* preselected);
    // The path and progress the worker noted last (window thread).
    void ShowNoted();
    void OnWorkerFinished();

    AppServices m_services;
    QTreeView* m_tree = nullptr;
    CatalogTreeModel* m_treeModel = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_editPrint = nullptr;
    QPushButton* m_exit = nullptr;
    QCheckBox* m_foldersOnly = nullptr;
    QCheckBox* m_allTypes = nullptr;
    QCheckBox* m_showProgress = nullptr;
    QCheckBox* m_listedTypes = nullptr;
    QLineEdit* m_typeList = nullptr;
    QLabel* m_pathText = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_closeWhenFinished = false;

    // Destroyed in reverse order: the logic (which stops and joins the worker) before the relay the
    // worker reports to and the queue the relay posts to.
    std::unique_ptr<UiThreadTasks> m_tasks;
    std::unique_ptr<WorkerRelay> m_relay;
    std::unique_ptr<exporting::ExportDialog> m_logic;
};

}  // namespace pelko::ui
