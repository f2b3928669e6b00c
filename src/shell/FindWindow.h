#pragma once
// What the find command needs of the main window besides the dialogs: the open scan object,
// the tree selection, the message pane, the wait dialog and the way back to the user-interface
// thread.

#include <functional>
#include <memory>
#include <string_view>

namespace pelko::catalog {
class CCategory;
}
namespace pelko::search {
class FindProgress;
}

namespace pelko::shell {

class FindWindow {
public:
    virtual ~FindWindow() = default;
    // Writes the disc file of the scan object open in the tree view when it was changed, so the
    // search reads the current data.
    virtual void SaveOpenScanObject() = 0;
    // Selects a category in the tree view.
    virtual void SelectCategory(const catalog::CCategory& category) = 0;
    // Empties the message pane.
    virtual void ClearMessages() = 0;
    // Shows the wait dialog ("正在查找...") for the search text; it lives as long as the object
    // returned (null when there is none to show). Its Cancel button calls FindController::Cancel.
    virtual std::unique_ptr<search::FindProgress> OpenWaitDialog(std::string_view searchText) = 0;
    // The pane's result highlighting starts again from its first line.
    virtual void RestartResultHighlighting() = 0;
    // The pane's "下一行信息": shows the pane and moves to the next line naming a catalog item.
    virtual void ShowNextResultLine() = 0;
    // Runs `task` on the user-interface thread later. Called from worker threads.
    virtual void PostToUiThread(std::function<void()> task) = 0;
};

}  // namespace pelko::shell
