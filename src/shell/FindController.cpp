#include "shell/FindController.h"

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "settings/SettingsTable.h"
#include "catalog/UserInterface.h"
#include "search/CFindThread.h"
#include "search/FindDescription.h"
#include "search/FindProgress.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/FindDialogModel.h"
#include "shell/FindDialogPort.h"
#include "shell/FindWindow.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {

FindController::FindController(Services services, search::PrefetchOptions prefetch)
    : m_services(services), m_prefetch(prefetch), m_self(std::make_shared<FindController*>(this)) {}

FindController::~FindController() {
    m_self.reset();
    if (m_worker) {
        m_worker->Stop();
        m_worker->Join();
        m_services.busy.Set(Busy::Idle);
    }
}

void FindController::Find(FindScope preselected) {
    BusyState& busy = m_services.busy;
    if (busy.IsScanning()) {
        m_services.log.Post(catalog::MessageKind::Error, text::Local("正在扫描光盘，不能执行查找任务"));
        return;
    }
    if (busy.IsSearching() || m_worker) return;
    m_services.window.SaveOpenScanObject();

    catalog::CPelkoDoc& doc = m_services.doc;
    const std::vector<std::string> historyBefore = doc.History().Strings();
    FindDialogModel model(m_services.settings, doc.History(), preselected, *doc.Root());
    if (!m_services.dialog.RunFindDialog(model)) return;
    // The search text joined the history; the catalog is written again only when that changed
    // it (a search repeated with the newest text leaves it as it is).
    if (doc.History().Strings() != historyBefore) doc.SetModified();

    const FindScope scope = model.Selected();
    search::FindObject object;
    std::string scopePath;
    if (scope.IsEntry()) {
        m_directContents.reset();
        if (LoadScanObject(*scope.entry)) object.contents = m_directContents.get();
        if (scope.entry->m_pCategory) m_services.window.SelectCategory(*scope.entry->m_pCategory);
        scopePath = catalog::EntryPath(*scope.entry);
        object.scanObjectPath = scopePath;
    } else {
        m_services.window.SelectCategory(*scope.category);
        object.category = scope.category;
        scopePath = scope.category->Path();
    }

    StoreChoice(model);
    search::FindCriteria criteria = model.Criteria();
    criteria.text = m_services.settings.fwFilter;  // folded above when the search ignores case

    if (settings::ReadSettingInt(m_services.store, "ClearBeforeInfo") != 0) m_services.window.ClearMessages();
    m_waitDialog = m_services.window.OpenWaitDialog(criteria.text);
    const auto scopeKind =
        scope.IsEntry() ? search::FindScopeKind::kScanObject : search::FindScopeKind::kCategory;
    for (const auto& [kind, line] : search::DescribeSearch(criteria, scopeKind, scopePath))
        m_services.log.Post(kind, line);
    busy.Set(Busy::Searching);
    m_services.window.RestartResultHighlighting();

    std::weak_ptr<FindController*> self = m_self;
    FindWindow& window = m_services.window;
    auto finished = [self, &window] {
        window.PostToUiThread([self] {
            if (const auto alive = self.lock()) (*alive)->OnFinished();
        });
    };
    m_worker = std::make_unique<search::CFindThread>(std::move(criteria), std::move(object),
                                                     doc.CatalogFolder(), m_services.log, m_waitDialog.get(),
                                                     std::move(finished), m_prefetch);
    if (!m_worker->Start()) {
        m_worker.reset();
        m_waitDialog.reset();
        m_directContents.reset();
        busy.Set(Busy::Idle);
    }
}

// A disc file that cannot be read leaves empty contents, searched like any other; only the
// loader's own message tells. Out of memory leaves nothing to search.
bool FindController::LoadScanObject(const catalog::CDiskInfo& entry) {
    try {
        catalog::DiscStore store(m_services.doc.CatalogFolder(), m_services.log);
        m_directContents = store.Open(entry);
        if (!m_directContents) m_directContents = std::make_unique<catalog::CCD>();
        return true;
    } catch (const std::bad_alloc&) {
        m_directContents.reset();
        m_services.ui.ShowMessage(text::Local("内存不足"));
        return false;
    }
}

// The six find keys are written as chosen; the text in memory is then folded when the search
// ignores case, so the next dialog shows it folded until the program starts again.
void FindController::StoreChoice(const FindDialogModel& model) {
    const search::FindCriteria& chosen = model.Criteria();
    AppSettings& settings = m_services.settings;
    settings::SettingsStore& store = m_services.store;
    settings.SetString(store, "FW_strFilter", chosen.text);
    settings.SetInt(store, "FW_nFindWhat", chosen.targets);
    settings.SetInt(store, "FW_bPartMatch", chosen.partMatch ? 1 : 0);
    settings.SetInt(store, "FW_bCurCategory", chosen.onlyThisCategory ? 1 : 0);
    settings.SetInt(store, "FW_bCase", chosen.caseSensitive ? 1 : 0);
    settings.SetInt(store, "FW_bCheckReadMe", chosen.readme ? 1 : 0);
    if (!chosen.caseSensitive) settings.fwFilter = text::AsciiLower(settings.fwFilter);
}

void FindController::Cancel() {
    if (m_worker) m_worker->Stop();
}

void FindController::OnFinished() {
    if (!m_worker) return;
    m_worker->Join();
    const int hits = m_worker->HitCount();
    m_worker.reset();
    m_waitDialog.reset();
    m_services.log.Post(catalog::MessageKind::Hint, search::CountLine(hits));
    m_services.busy.Set(Busy::Idle);
    m_directContents.reset();
    m_services.window.ShowNextResultLine();
    m_services.window.RestartResultHighlighting();
}

}  // namespace pelko::shell
