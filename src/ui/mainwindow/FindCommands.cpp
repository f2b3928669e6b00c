#include "ui/mainwindow/FindCommands.h"

#include <QDockWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <variant>

#include "catalog/CPelkoDoc.h"
#include "shell/AppSettings.h"
#include "shell/CatalogEditor.h"
#include "shell/CatalogObject.h"
#include "shell/FindController.h"
#include "ui/app/UiThreadTasks.h"
#include "ui/dialogs/FindWaitDialog.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/panes/MessagePane.h"

namespace pelko::ui {

namespace {

// A category or a scan object's entry as a scope; folders and files give none.
shell::FindScope ScopeOf(const shell::CatalogObject& object) {
    if (auto* const* category = std::get_if<catalog::CCategory*>(&object)) return shell::FindScope::Category(**category);
    if (auto* const* entry = std::get_if<catalog::CDiskInfo*>(&object)) return shell::FindScope::Entry(**entry);
    return {};
}

}  // namespace

FindCommands::FindCommands(AppServices services, MainWindow& window)
    : QObject(&window),
      m_services(services),
      m_window(window),
      m_tasks(new UiThreadTasks(this)),
      m_dialog(services.doc, services.ui, services.options.bListDiskOnly, &window) {
    setObjectName(QStringLiteral("FindCommands"));
    m_controller = std::make_unique<shell::FindController>(shell::FindController::Services{
        m_services.busy, m_services.options, m_services.settings, m_services.doc, m_services.doc.Log(),
        m_services.ui, *this, *this});
}

FindCommands::~FindCommands() = default;

void FindCommands::Find(shell::FindScope preselected) { m_controller->Find(preselected); }

void FindCommands::FindFromTree() {
    shell::FindScope scope;
    if (const std::optional<shell::CatalogObject> node = m_window.Browsing()->TreeCurrent()) scope = ScopeOf(*node);
    Find(scope.IsEmpty() ? OpenScanObjectScope() : scope);
}

void FindCommands::FindFromList() {
    shell::FindScope scope;
    const std::vector<shell::CatalogObject> rows = m_window.Browsing()->ListSelection();
    if (!rows.empty()) scope = ScopeOf(rows.front());
    Find(scope.IsEmpty() ? OpenScanObjectScope() : scope);
}

bool FindCommands::IsSearching() const { return m_controller->IsSearching(); }

FindWaitDialog* FindCommands::WaitDialog() const { return m_wait; }

shell::FindScope FindCommands::OpenScanObjectScope() const {
    catalog::CDiskInfo* open = m_window.Browsing()->Editor().Open().entry;
    return open ? shell::FindScope::Entry(*open) : shell::FindScope{};
}

bool FindCommands::RunFindDialog(shell::FindDialogModel& model) {
    m_acceptedAt.reset();
    if (!m_dialog.RunFindDialog(model)) return false;
    m_acceptedAt = std::chrono::steady_clock::now();
    return true;
}

void FindCommands::SaveOpenScanObject() { m_window.Browsing()->SaveOpenScanObject(); }

void FindCommands::SelectCategory(const catalog::CCategory& category) {
    // The tree model names its rows by non-const objects; selecting a row changes nothing.
    CatalogTreeModel* model = m_window.Browsing()->TreeModel();
    const QModelIndex index = model->RevealIndexOf(shell::CatalogObject{const_cast<catalog::CCategory*>(&category)});
    if (!index.isValid()) return;  // "list disc only" shows no category rows
    m_window.Tree()->setCurrentIndex(index);
    m_window.Tree()->scrollTo(index);
}

void FindCommands::ClearMessages() { m_window.Pane()->ClearAll(); }

std::unique_ptr<search::FindProgress> FindCommands::OpenWaitDialog(std::string_view searchText) {
    MessagePane* pane = m_window.Pane();
    pane->Flush();
    m_firstLine = pane->LineCount();
    auto dialog = std::make_unique<FindWaitDialog>(searchText, &m_window);
    connect(dialog.get(), &FindWaitDialog::cancelRequested, this, [this] { m_controller->Cancel(); });
    dialog->show();
    m_wait = dialog.get();
    return dialog;
}

void FindCommands::RestartResultHighlighting() { m_window.Pane()->RestartHighlighting(); }

void FindCommands::ShowNextResultLine() {
    // Every hit line is shown before the walk to the first one starts.
    MessagePane* pane = m_window.Pane();
    pane->Flush();
    ReportTiming(pane->LineCount());
    m_window.PaneDock()->show();
    // From the first line of this search, the next line naming an item is its first hit.
    const QTextBlock first = pane->Editor()->document()->findBlockByNumber(m_firstLine);
    if (first.isValid()) pane->Editor()->setTextCursor(QTextCursor(first));
    pane->NextLine();
}

void FindCommands::PostToUiThread(std::function<void()> task) { m_tasks->Post(std::move(task)); }

// PELKO_FIND_TIMING set: one line on standard error per search, the seconds from the dialog's OK
// until every line of the search is in the pane (the desktop find benchmark reads it).
void FindCommands::ReportTiming(int lines) const {
    if (!m_acceptedAt || std::getenv("PELKO_FIND_TIMING") == nullptr) return;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - *m_acceptedAt;
    std::fprintf(stderr, "pelko: find shown: %d lines %.3f s\n", lines, took.count());
    std::fflush(stderr);
}

}  // namespace pelko::ui
