#pragma once
// The find command of the main window and its finish handler: guards, the find dialog, the
// settings it keeps, the lines that open the search, the worker, and the count line at the end.
//
// All operations are called on the user-interface thread. The worker reports its end through
// FindWindow::PostToUiThread; the handler then joins and destroys it, so a Cancel never
// reaches a worker that is gone.

#include <memory>
#include <string>

#include "search/ContentPrefetcher.h"
#include "shell/FindScope.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class CCD;
class CDiskInfo;
class CPelkoDoc;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog
namespace pelko::search {
class CFindThread;
class FindProgress;
}  // namespace pelko::search

namespace pelko::shell {

struct AppSettings;
class BusyState;
class FindDialogModel;
class FindDialogPort;
class FindWindow;

class FindController {
public:
    struct Services {
        BusyState& busy;
        AppSettings& settings;
        settings::SettingsStore& store;
        catalog::CPelkoDoc& doc;
        catalog::MessageLog& log;
        catalog::UserInterface& ui;
        FindDialogPort& dialog;
        FindWindow& window;
    };

    explicit FindController(Services services, search::PrefetchOptions prefetch = {});
    // Stops a running search and waits for its worker.
    ~FindController();
    FindController(const FindController&) = delete;
    FindController& operator=(const FindController&) = delete;

    // The find command; the dialog starts on `preselected`, or on the root when it is empty.
    void Find(FindScope preselected = {});
    // The wait dialog's Cancel: the search stops at its next stop point and finishes as usual.
    void Cancel();
    bool IsSearching() const { return m_worker != nullptr; }

private:
    bool LoadScanObject(const catalog::CDiskInfo& entry);
    void StoreChoice(const FindDialogModel& model);
    void OnFinished();

    Services m_services;
    search::PrefetchOptions m_prefetch;
    std::unique_ptr<catalog::CCD> m_directContents;  // the scan object chosen in the dialog
    std::unique_ptr<search::FindProgress> m_waitDialog;
    std::unique_ptr<search::CFindThread> m_worker;
    // Posted finish tasks hold a weak reference, so one that arrives after this controller is
    // gone does nothing.
    std::shared_ptr<FindController*> m_self;
};

}  // namespace pelko::shell
