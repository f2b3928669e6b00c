// Deleting from the list and from the tree.

#include <algorithm>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/ObjectDeletion.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogChanges.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::shell {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;

namespace {

constexpr std::string_view kDeleteThese = "这些项目将被删除，继续？";

// "删除类别 '%s'？" and its kin for the one row selected; empty for a row that is not deleted.
std::string SingleDeleteQuestion(const CatalogObject& object) {
    return std::visit(Overloaded{
                          [](CCategory* c) { return text::LocalWith("删除类别 '%s'？", c->m_strName); },
                          [](CDiskInfo* e) { return text::LocalWith("删除光盘 '%s'？", e->m_strName); },
                          [](CDir* d) { return text::LocalWith("删除文件夹 '%s'？", d->m_strName); },
                          [](CFileInfo* f) { return text::LocalWith("删除文件 '%s'？", f->m_strName); },
                          [](ReadmeRow) { return std::string(); },
                      },
                      object);
}

bool IsCatalogLevel(const CatalogObject& object) {
    return std::holds_alternative<CCategory*>(object) || std::holds_alternative<CDiskInfo*>(object);
}

}  // namespace

void CatalogEditor::ForgetCut(const CatalogObject& object) { std::erase(m_cut.objects, object); }

void CatalogEditor::ForgetCutWithin(const CCategory& category) {
    std::erase_if(m_cut.objects, [&](const CatalogObject& cut) {
        if (CCategory* const* c = std::get_if<CCategory*>(&cut)) return (*c)->IsWithin(category);
        if (CDiskInfo* const* e = std::get_if<CDiskInfo*>(&cut))
            return (*e)->m_pCategory != nullptr && (*e)->m_pCategory->IsWithin(category);
        return false;
    });
    if (m_cut.source != nullptr && m_cut.source->IsWithin(category)) m_cut.source = nullptr;
}

void CatalogEditor::DiscardOpen() {
    if (m_open.cd && m_open.entry && m_changes) m_changes->ScanObjectAboutToClose(*m_open.entry, *m_open.cd);
    m_open.Discard();
}

bool CatalogEditor::DeleteObject(const CatalogObject& object) {
    catalog::ObjectDeletion deletion(m_doc.CatalogFolder(), m_discs, m_doc.PendingDeletions(),
                                     m_deletePictureFolders);
    // Each object is reported once while it and its parent still exist; what lies below a
    // deleted category or folder goes with it unreported.
    return std::visit(Overloaded{
                          [&](CCategory* category) {
                              CCategory* parent = category->m_pParent;
                              if (parent == nullptr) return false;
                              if (m_open.entry && m_open.entry->m_pCategory &&
                                  m_open.entry->m_pCategory->IsWithin(*category)) {
                                  // Its files are deleted: writing the loaded disc back would revive them.
                                  DiscardOpen();
                              }
                              if (m_changes) m_changes->AboutToRemove(category, parent);
                              ForgetCutWithin(*category);
                              return deletion.DeleteCategory(*category);
                          },
                          [&](CDiskInfo* entry) {
                              CCategory* parent = entry->m_pCategory;
                              if (parent == nullptr) return false;
                              if (m_open.entry == entry) DiscardOpen();
                              if (m_changes) m_changes->AboutToRemove(entry, parent);
                              ForgetCut(entry);
                              deletion.DeleteEntry(*entry);
                              return true;
                          },
                          [&](CDir* folder) {
                              CDir* parent = folder->m_pParent;
                              if (parent == nullptr) return false;  // a disc's own node
                              if (m_changes) m_changes->AboutToRemove(folder, parent);
                              ForgetCut(folder);
                              return catalog::DeleteFolder(*folder);
                          },
                          [&](CFileInfo* file) {
                              CDir* parent = file->m_pParent;
                              if (parent == nullptr) return false;
                              if (m_changes) m_changes->AboutToRemove(file, parent);
                              ForgetCut(file);
                              return catalog::DeleteFile(*file);
                          },
                          [](ReadmeRow) { return false; },
                      },
                      object);
}

bool CatalogEditor::DeleteFromList(std::span<const CatalogObject> selection) {
    if (m_busy.Refuses(kDeleteGuard, Log())) return false;
    if (selection.empty()) {
        Ui().ShowMessage(text::Local("请先选择待删除的项"));
        return false;
    }
    if (selection.size() > 1 && !Ui().AskOkCancel(text::Local(kDeleteThese))) return false;

    bool catalogChanged = false;
    bool discChanged = false;
    for (auto it = selection.rbegin(); it != selection.rend(); ++it) {
        const CatalogObject& object = *it;
        const std::string question = SingleDeleteQuestion(object);
        if (question.empty()) continue;
        if (selection.size() == 1 && !Ui().AskOkCancel(question)) return false;
        if (!DeleteObject(object)) continue;
        (IsCatalogLevel(object) ? catalogChanged : discChanged) = true;
    }
    if (catalogChanged) m_doc.SetModified();
    if (discChanged) RefreshOpenTotals();
    return catalogChanged || discChanged;
}

bool CatalogEditor::DeleteFromTree(const CatalogObject& item) {
    if (m_busy.Refuses(kTreeDeleteGuard, Log())) return false;
    if (CCategory* const* category = std::get_if<CCategory*>(&item);
        category && (*category)->m_pParent == nullptr) {
        Ui().ShowMessage(text::Local("不能删除顶级目录!"));
        return false;
    }
    if (std::holds_alternative<ReadmeRow>(item)) return false;
    if (!Ui().AskOkCancel(text::Local(kDeleteThese))) return false;

    CatalogObject target = item;
    if (CDir* const* node = std::get_if<CDir*>(&item); node && m_open.cd && *node == m_open.cd.get()) {
        if (m_open.entry == nullptr) return false;
        target = m_open.entry;  // the open scan object's node stands for its entry
    }
    const bool insideDisc =
        std::holds_alternative<CDir*>(target) || std::holds_alternative<CFileInfo*>(target);
    if (!DeleteObject(target)) return false;
    if (insideDisc) RefreshOpenTotals();
    m_doc.SetModified();
    return true;
}

}  // namespace pelko::shell
