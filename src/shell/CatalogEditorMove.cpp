// Cut and paste, and drag and drop, of categories and entries.

#include <utility>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogChanges.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::shell {

using catalog::CCategory;
using catalog::CDiskInfo;
using catalog::MessageKind;

namespace {

std::string Format(std::string_view utf8Pattern, std::string_view first, std::string_view second) {
    const std::string pattern = text::Local(utf8Pattern);
    const std::size_t at = pattern.find("%s");
    const std::size_t next = pattern.find("%s", at + 2);
    std::string result = pattern.substr(0, at);
    result += first;
    result += pattern.substr(at + 2, next - at - 2);
    result += second;
    result += pattern.substr(next + 2);
    return result;
}

}  // namespace

void CatalogEditor::CutObjects(CCategory* source, std::span<const CatalogObject> selection) {
    m_cut.source = source;
    m_cut.objects.assign(selection.begin(), selection.end());
}

CCategory* CatalogEditor::Paste(const CatalogObject& current) {
    if (m_busy.Refuses(kMoveGuard, Log())) return nullptr;
    CCategory* const* target = std::get_if<CCategory*>(&current);
    if (target == nullptr || *target == nullptr) {
        Ui().ShowMessage(text::Local("只可以把剪切项目粘贴在类别下"));
        return nullptr;
    }
    return MoveCutTo(*target);
}

CCategory* CatalogEditor::MoveCutTo(CCategory* target) {
    if (m_busy.Refuses(kMoveGuard, Log())) return nullptr;
    const CutList cut = std::exchange(m_cut, {});
    if (cut.objects.empty() || target == nullptr) return nullptr;
    if (target == cut.source) return nullptr;

    for (const CatalogObject& object : cut.objects) {
        CCategory* const* category = std::get_if<CCategory*>(&object);
        if (category && target->IsWithin(**category)) {
            Log().Post(MessageKind::Warning,
                       Format("不能移动[%s]到子类别[%s]", (*category)->m_strName, target->m_strName));
            return nullptr;
        }
    }
    for (const CatalogObject& object : cut.objects) {
        if (CCategory* const* c = std::get_if<CCategory*>(&object)) {
            CCategory* category = *c;
            if (target->ContainsSubcategory(*category) || category->m_pParent == nullptr) {
                Log().Post(MessageKind::Warning,
                           text::LocalWith("已经存在类别 [%s]，它将不会移动到新的类别", category->m_strName));
                continue;
            }
            CCategory* from = category->m_pParent;
            if (from->MoveSubcategoryTo(category, *target, Log()) && m_changes)
                m_changes->Moved(category, from, target);
        } else if (CDiskInfo* const* e = std::get_if<CDiskInfo*>(&object)) {
            CDiskInfo* entry = *e;
            if (entry->m_pCategory == target || target->HasEntry(entry->m_strName) ||
                entry->m_pCategory == nullptr) {
                Log().Post(MessageKind::Warning,
                           text::LocalWith("已经存在光盘 [%s]，不能移动", entry->m_strName));
                continue;
            }
            CCategory* from = entry->m_pCategory;
            if (from->MoveEntryTo(entry, *target, Log()) && m_changes) m_changes->Moved(entry, from, target);
        }
    }
    return target;
}

std::optional<CatalogObject> CatalogEditor::Drop(const CatalogObject& dragged, CCategory* target) {
    if (m_busy.Refuses(kMoveGuard, Log())) return std::nullopt;
    if (CCategory* const* c = std::get_if<CCategory*>(&dragged)) {
        CCategory* category = *c;
        if (target == nullptr || category->m_pParent == nullptr || target->IsWithin(*category) ||
            target == category->m_pParent)
            return dragged;
        CCategory* from = category->m_pParent;
        if (!from->MoveSubcategoryTo(category, *target, Log())) return dragged;
        if (m_changes) m_changes->Moved(category, from, target);
        return CatalogObject(category);
    }
    if (CDiskInfo* const* e = std::get_if<CDiskInfo*>(&dragged)) {
        CDiskInfo* entry = *e;
        if (target == nullptr || entry->m_pCategory == nullptr || target == entry->m_pCategory)
            return dragged;
        CCategory* from = entry->m_pCategory;
        if (from->MoveEntryTo(entry, *target, Log()) && m_changes) m_changes->Moved(entry, from, target);
        return CatalogObject(target);
    }
    return std::nullopt;
}

}  // namespace pelko::shell
