// The panes' side of a scan run: where a new scan object is offered to go, and showing the entry
// a scan was filed into.

#include "catalog/CCategory.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "shell/CatalogBrowser.h"
#include "shell/CatalogEditor.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {

catalog::CCategory* CatalogBrowsing::CurrentCategory() const {
    const std::optional<shell::CatalogObject> node = TreeCurrent();
    catalog::CCategory* category = nullptr;
    if (node) {
        std::visit(shell::Overloaded{
                       [&](catalog::CCategory* c) { category = c; },
                       [&](catalog::CDiskInfo* entry) { category = entry->m_pCategory; },
                       [&](const auto&) {
                           // A folder or file of the open scan object: the category of its entry.
                           if (const catalog::CDiskInfo* open = m_editor->Open().entry) category = open->m_pCategory;
                       },
                   },
                   *node);
    }
    return category ? category : m_services.doc.Root();
}

void CatalogBrowsing::ShowScanned(catalog::CDiskInfo& entry, bool openInTree) {
    if (openInTree) {
        SelectInTree(shell::CatalogObject{&entry});
    } else {
        if (entry.m_pCategory) SelectInTree(shell::CatalogObject{entry.m_pCategory});
        m_list->SelectOnly(shell::CatalogObject{&entry});
    }
    RefreshStatus();  // the counts of the status line include the new entry
    emit Edited();
}

void CatalogBrowsing::ReleaseDisc(const catalog::CDiskInfo& entry) {
    if (!m_editor->Open().IsOpen(&entry)) return;
    // Leave the disc's folders first, so closing it takes no selected row with it.
    if (entry.m_pCategory) SelectInTree(shell::CatalogObject{entry.m_pCategory});
    CloseOpenScanObject();
}

}  // namespace pelko::ui
