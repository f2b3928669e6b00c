#include "shell/CatalogEditor.h"

#include <string>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "settings/SettingsTable.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogChanges.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using catalog::MessageKind;

namespace {

void MarkDiscModified(CDir& dir) {
    if (catalog::CCD* cd = dir.OwningCD()) cd->m_bModified = true;
}

void MarkDiscModified(CFileInfo& file) {
    if (file.m_pParent) MarkDiscModified(*file.m_pParent);
}

// An archive's listing is what the scan read; its name must keep saying what it is.
bool IsArchiveName(std::string_view name) {
    const std::string lower = text::AsciiLower(text::Trim(name));
    return lower.find(".zip") != std::string::npos || lower.find(".rar") != std::string::npos;
}

// Stores a memo typed in the list; one that differs only in letter case is not a change.
template <class Memo>
bool StoreTypedMemo(Memo& memo, std::string_view text) {
    if (text::CompareNoCase(text, memo) == 0) return false;
    memo = text;
    return true;
}

// Stores the properties dialog's memo as given. True when it differs from the old one.
template <class Memo>
bool StoreMemo(Memo& memo, std::string_view text) {
    if (std::string_view(memo) == text) return false;
    memo = text;
    return true;
}

}  // namespace

CatalogEditor::CatalogEditor(catalog::CPelkoDoc& doc, catalog::DiscStore& discs, BusyState& busy,
                             const settings::SettingsStore& settings, bool deletePictureFolders)
    : m_doc(doc),
      m_discs(discs),
      m_busy(busy),
      m_settings(settings),
      m_deletePictureFolders(deletePictureFolders) {}

catalog::MessageLog& CatalogEditor::Log() { return m_doc.Log(); }
catalog::UserInterface& CatalogEditor::Ui() { return m_doc.Ui(); }

CCategory* CatalogEditor::NewCategory(const CatalogObject* current) {
    if (m_busy.Refuses(kNewCategoryGuard, Log()) || current == nullptr) return nullptr;
    CCategory* const* parent = std::get_if<CCategory*>(current);
    if (parent == nullptr || *parent == nullptr) {
        Ui().ShowMessage(text::Local("只能在类别中添加子类别!"));
        return nullptr;
    }
    const std::string name = text::LocalWith("新建类别%s", std::to_string((*parent)->Subcategories().size()));
    CCategory* added = (*parent)->AddNewSubcategory(name, Log(), Ui());
    if (added && m_changes) m_changes->Added(added, *parent);
    return added;
}

bool CatalogEditor::RenameFile(CFileInfo& file, std::string_view text) {
    const std::string_view oldName = file.m_strName;
    if (IsArchiveName(oldName)) return false;
    std::string newName(text);
    if (settings::ReadSettingInt(m_settings, "DispExt") == 0) {
        // The list shows names without their extension: the old one goes back on.
        const std::size_t dot = text::FindLastChar(oldName, '.');
        if (dot != std::string_view::npos) newName += oldName.substr(dot);
    }
    if (newName == oldName) return false;
    file.m_strName = newName;
    MarkDiscModified(file);
    if (file.m_pParent) file.m_pParent->KeepSorted(&file);
    return true;
}

bool CatalogEditor::RenameInList(const CatalogObject& object, std::string_view typed) {
    if (m_busy.Refuses(kEditGuard, Log())) return false;
    const std::string_view text = text::Trim(typed);
    if (text.empty()) {
        Log().Post(MessageKind::Error, text::Local("名称不能为空"));
        return false;
    }
    const bool renamed = std::visit(Overloaded{
                                        [&](CCategory* category) { return category->SetName(text, Log()); },
                                        [&](CDiskInfo* entry) {
                                            if (!catalog::SetEntryName(*entry, text, Log())) return false;
                                            if (m_open.IsOpen(entry))
                                                m_open.cd->m_strDisplayName = entry->m_strName;
                                            return true;
                                        },
                                        [&](CDir* folder) {
                                            if (folder->m_strName == text) return false;
                                            folder->m_strName = text;
                                            MarkDiscModified(*folder);
                                            if (folder->m_pParent) folder->m_pParent->KeepSorted(folder);
                                            return true;
                                        },
                                        [&](CFileInfo* file) { return RenameFile(*file, text); },
                                        [](ReadmeRow) { return false; },
                                    },
                                    object);
    if (renamed && m_changes) m_changes->Changed(object);
    return renamed;
}

bool CatalogEditor::EditMemoInList(const CatalogObject& object, std::string_view typed) {
    if (m_busy.Refuses(kEditGuard, Log())) return false;
    const std::string_view text = text::Trim(typed);
    const bool stored = std::visit(Overloaded{
                                       [&](CCategory* category) {
                                           if (!StoreTypedMemo(category->m_strMemo, text)) return false;
                                           m_doc.SetModified();
                                           return true;
                                       },
                                       [&](CDiskInfo* entry) {
                                           if (!StoreTypedMemo(entry->m_strMemo, text)) return false;
                                           m_doc.SetModified();
                                           return true;
                                       },
                                       [&](CDir* folder) {
                                           if (!StoreTypedMemo(folder->m_strMemo, text)) return false;
                                           MarkDiscModified(*folder);
                                           return true;
                                       },
                                       [&](CFileInfo* file) {
                                           if (!StoreTypedMemo(file->m_strMemo, text)) return false;
                                           MarkDiscModified(*file);
                                           return true;
                                       },
                                       [](ReadmeRow) { return false; },
                                   },
                                   object);
    if (stored && m_changes) m_changes->Changed(object);
    return stored;
}

bool CatalogEditor::RenameInTree(const CatalogObject& item, std::string_view text) {
    if (m_busy.Refuses(kTreeRenameGuard, Log())) return false;
    if (CCategory* const* category = std::get_if<CCategory*>(&item)) {
        if ((*category)->m_pParent == nullptr) return false;
        if (text::CompareNoCase(text, (*category)->m_strName) == 0) return false;
        if (!(*category)->SetName(text, Log())) return false;
        if (m_changes) m_changes->Changed(*category);
        return true;
    }
    CDir* const* node = std::get_if<CDir*>(&item);
    if (node == nullptr || !m_open.cd || *node != m_open.cd.get() || m_open.entry == nullptr) return false;
    if (text::CompareNoCase(text, m_open.entry->m_strName) == 0) return false;
    if (!catalog::SetEntryName(*m_open.entry, text, Log())) return false;
    m_open.cd->m_strDisplayName = m_open.entry->m_strName;
    m_doc.SetModified();
    // The node stands for its entry: the views learn of the new name through the entry.
    if (m_changes) m_changes->Changed(m_open.entry);
    return true;
}

bool CatalogEditor::MayEditOne(std::span<const CatalogObject> selection) {
    if (m_busy.Refuses(kEditGuard, Log())) return false;
    if (selection.size() != 1) {
        Ui().ShowMessage(text::Local("请选择一个项目后再进行编辑"));
        return false;
    }
    return true;
}

std::optional<PropertiesForm> CatalogEditor::PropertiesOf(std::span<const CatalogObject> selection) {
    if (!MayEditOne(selection)) return std::nullopt;
    // Categories and entries take a new name here too; folders and files only a memo.
    auto form = [](std::string_view title, std::string_view name, std::string_view memo, bool nameEditable) {
        return std::optional<PropertiesForm>(
            PropertiesForm{text::Local(title), std::string(name), std::string(memo), nameEditable});
    };
    std::optional<PropertiesForm> result =
        std::visit(Overloaded{
                       [&](CCategory* c) { return form("设置类别的备注信息", c->m_strName, c->m_strMemo, true); },
                       [&](CDiskInfo* e) { return form("设置对象的备注信息", e->m_strName, e->m_strMemo, true); },
                       [&](CDir* d) { return form("设置文件夹的备注信息", d->m_strName, d->m_strMemo, false); },
                       [&](CFileInfo* f) { return form("设置文件的备注信息", f->m_strName, f->m_strMemo, false); },
                       [](ReadmeRow) { return std::optional<PropertiesForm>(); },
                   },
                   selection.front());
    if (!result) Ui().ShowMessage(text::Local("不能对其进行备注编辑"));
    return result;
}

void CatalogEditor::ApplyProperties(const CatalogObject& object, std::string_view name,
                                    std::string_view memo) {
    const bool changed = std::visit(
        Overloaded{
            [&](CCategory* category) {
                const bool memoChanged = StoreMemo(category->m_strMemo, memo);
                const bool renamed = name != category->m_strName && category->SetName(name, Log());
                m_doc.SetModified();
                return memoChanged || renamed;
            },
            [&](CDiskInfo* entry) {
                const bool memoChanged = StoreMemo(entry->m_strMemo, memo);
                const bool renamed = name != entry->m_strName && catalog::SetEntryName(*entry, name, Log());
                if (renamed && m_open.IsOpen(entry)) m_open.cd->m_strDisplayName = entry->m_strName;
                m_doc.SetModified();
                return memoChanged || renamed;
            },
            [&](CDir* folder) {
                MarkDiscModified(*folder);
                return StoreMemo(folder->m_strMemo, memo);
            },
            [&](CFileInfo* file) {
                MarkDiscModified(*file);
                return StoreMemo(file->m_strMemo, memo);
            },
            [](ReadmeRow) { return false; },
        },
        object);
    if (changed && m_changes) m_changes->Changed(object);
}

bool CatalogEditor::Sort() {
    if (m_busy.Refuses(kSortGuard, Log())) return false;
    m_doc.SortTree();
    // Sorting may reorder every list of the tree (a descending pass reports no change).
    if (m_changes) m_changes->Reset();
    return true;
}

void CatalogEditor::RefreshOpenTotals() {
    if (!m_open.cd) return;
    m_open.cd->RecomputeTotals();
    m_open.cd->m_bModified = true;
    m_doc.SetModified();
    if (m_open.entry == nullptr) return;
    m_open.entry->CopyStatistics(*m_open.cd);
    if (m_changes) m_changes->Changed(m_open.entry);
}

}  // namespace pelko::shell
