#pragma once
// The main window's find commands and the windows of a search: the find dialog, the wait dialog
// and the hit lines in the message pane. The decisions are shell::FindController's; this class
// answers its questions with windows and hands the worker's end back to the UI thread.
//
// Threads: the worker writes its hit lines through the catalog's message log, which the message
// pane takes from any thread and shows in order, a batch per event-loop turn; its progress goes
// to the wait dialog, which notes it under a lock for its own timer; its end comes back through
// UiThreadTasks. Nothing else here is touched off the UI thread.
//
// A QObject child of the main window, made after its panes; destroying it stops a running search
// and waits for its worker before the wait dialog goes.

#include <QObject>
#include <QPointer>

#include <chrono>
#include <memory>
#include <optional>

#include "shell/FindDialogPort.h"
#include "shell/FindScope.h"
#include "shell/FindWindow.h"
#include "ui/app/AppServices.h"
#include "ui/dialogs/FindDialog.h"

namespace pelko::shell {
class FindController;
}

namespace pelko::ui {

class FindWaitDialog;
class MainWindow;
class UiThreadTasks;

class FindCommands final : public QObject, private shell::FindWindow, private shell::FindDialogPort {
    Q_OBJECT
public:
    FindCommands(AppServices services, MainWindow& window);
    ~FindCommands() override;

    // "查找(&F)..." of the main menu: the dialog starts on `preselected`, else on the root.
    void Find(shell::FindScope preselected = {});
    // The tree's context menu: its category or scan object, else the scan object open in it.
    void FindFromTree();
    // The list's context menu: its selected category or scan object, else the open scan object.
    void FindFromList();

    bool IsSearching() const;
    // The wait dialog while a search runs (tests and the end-to-end runs look at it).
    FindWaitDialog* WaitDialog() const;

private:
    // shell::FindDialogPort
    bool RunFindDialog(shell::FindDialogModel& model) override;
    // shell::FindWindow
    void SaveOpenScanObject() override;
    void SelectCategory(const catalog::CCategory& category) override;
    void ClearMessages() override;
    std::unique_ptr<search::FindProgress> OpenWaitDialog(std::string_view searchText) override;
    void RestartResultHighlighting() override;
    void ShowNextResultLine() override;
    void PostToUiThread(std::function<void()> task) override;

    // The scan object open in the tree as a scope (empty when none is open).
    shell::FindScope OpenScanObjectScope() const;
    void ReportTiming(int lines) const;

    AppServices m_services;
    MainWindow& m_window;
    UiThreadTasks* m_tasks = nullptr;
    ModalFindDialog m_dialog;
    QPointer<FindWaitDialog> m_wait;
    int m_firstLine = 0;  // the pane's line where the running search's lines begin
    std::optional<std::chrono::steady_clock::time_point> m_acceptedAt;
    // Last member: destroyed first, joining a running worker while everything it reports to
    // still exists.
    std::unique_ptr<shell::FindController> m_controller;
};

}  // namespace pelko::ui
