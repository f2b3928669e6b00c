// The export commands of the main menu and the context menus, the export window and "编辑打印".

#include <QItemSelectionModel>
#include <QMenu>
#include <QTreeView>

#include <variant>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "export/ExportPaths.h"
#include "ui/dialogs/EditPrintDialog.h"
#include "ui/dialogs/ExportWindow.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {

namespace {

// The category a context-menu export starts from: the tree's node when it is a category; the
// list's selection when it is exactly one category. Null otherwise.
catalog::CCategory* TreeCategory(const CatalogBrowsing& browsing) {
    const std::optional<shell::CatalogObject> current = browsing.TreeCurrent();
    if (!current) return nullptr;
    auto* const* category = std::get_if<catalog::CCategory*>(&*current);
    return category ? *category : nullptr;
}

catalog::CCategory* ListCategory(const CatalogBrowsing& browsing) {
    const std::vector<shell::CatalogObject> selection = browsing.ListSelection();
    if (selection.size() != 1) return nullptr;
    auto* const* category = std::get_if<catalog::CCategory*>(&selection.front());
    return category ? *category : nullptr;
}

}  // namespace

void MainWindow::AttachExportCommands() {
    // Every export reads the disc files, so the open scan object's edits reach its file first;
    // the main menu's commands also bring the catalog file up to date (sorted and saved).
    const auto openExport = [this](exporting::ExportFormat mode, const catalog::CCategory* preselected,
                                   bool updateCatalog) {
        m_browsing->SaveOpenScanObject();
        if (updateCatalog) m_services.doc.SortTree();
        ExportWindow::Run(m_services, mode, preselected, this);
    };
    Handle("export-text", [openExport] { openExport(exporting::ExportFormat::Text, nullptr, true); });
    Handle("export-html", [openExport] { openExport(exporting::ExportFormat::Html, nullptr, true); });
    Handle("tree-export-text", [this, openExport] {
        if (const catalog::CCategory* category = TreeCategory(*m_browsing))
            openExport(exporting::ExportFormat::Text, category, false);
    });
    Handle("list-export-text", [this, openExport] {
        if (const catalog::CCategory* category = ListCategory(*m_browsing))
            openExport(exporting::ExportFormat::Text, category, false);
    });
    Handle("edit-print", [this] {
        m_browsing->SaveOpenScanObject();
        m_services.doc.SortTree();
        const AppServices services = m_services;
        EditPrintDialog dialog(exporting::CategoryFolder(m_services.doc.CatalogFolder(), *m_services.doc.Root()),
                               m_services.ui,
                               [services](QWidget* parent) {
                                   ExportWindow::Run(services, exporting::ExportFormat::Text, nullptr, parent);
                               },
                               this);
        dialog.exec();
    });

    // The context-menu entries are enabled only for a category, as the selection changes.
    const auto refreshTree = [this] { Action("tree-export-text")->setEnabled(TreeCategory(*m_browsing) != nullptr); };
    const auto refreshList = [this] { Action("list-export-text")->setEnabled(ListCategory(*m_browsing) != nullptr); };
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, refreshTree);
    connect(m_list, &ContentListView::SelectionChanged, this, refreshList);
    connect(m_treeMenu, &QMenu::aboutToShow, this, refreshTree);
    connect(m_listMenu, &QMenu::aboutToShow, this, refreshList);
    refreshTree();
    refreshList();
}

}  // namespace pelko::ui
