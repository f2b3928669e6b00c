#include "shell/CatalogEditor.h"

#include <string>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/SettingsTable.h"
#include "catalog/UserInterface.h"
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

}  // namespace

CatalogEditor::CatalogEditor(catalog::CPelkoDoc& doc, catalog::DiscStore& discs, BusyState& busy,
                             const catalog::SettingsStore& settings, bool deletePictureFolders)
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
    return (*parent)->AddNewSubcategory(name, Log(), Ui());
}

bool CatalogEditor::RenameFile(CFileInfo& file, std::string_view text) {
    const std::string_view oldName = file.m_strName;
    if (IsArchiveName(oldName)) return false;
    std::string newName(text);
    if (catalog::ReadSettingInt(m_settings, "DispExt") == 0) {
        // The list shows names without their extension: the old one goes back on.
        const std::size_t dot = text::FindLastChar(oldName, '.');
        if (dot != std::string_view::npos) newName += oldName.substr(dot);
    }
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
    return std::visit(Overloaded{
                          [&](CCategory* category) { return category->SetName(text, Log()); },
                          [&](CDiskInfo* entry) {
                              if (!catalog::SetEntryName(*entry, text, Log())) return false;
                              if (m_open.IsOpen(entry)) m_open.cd->m_strDisplayName = entry->m_strName;
                              return true;
                          },
                          [&](CDir* folder) {
                              folder->m_strName = text;
                              MarkDiscModified(*folder);
                              if (folder->m_pParent) folder->m_pParent->KeepSorted(folder);
                              return true;
                          },
                          [&](CFileInfo* file) { return RenameFile(*file, text); },
                          [](ReadmeRow) { return false; },
                      },
                      object);
}

bool CatalogEditor::EditMemoInList(const CatalogObject& object, std::string_view typed) {
    if (m_busy.Refuses(kEditGuard, Log())) return false;
    const std::string_view text = text::Trim(typed);
    return std::visit(Overloaded{
                          [&](CCategory* category) {
                              category->m_strMemo = text;
                              m_doc.SetModified();
                              return true;
                          },
                          [&](CDiskInfo* entry) {
                              entry->m_strMemo = text;
                              m_doc.SetModified();
                              return true;
                          },
                          [&](CDir* folder) {
                              folder->m_strMemo = text;
                              MarkDiscModified(*folder);
                              return true;
                          },
                          [&](CFileInfo* file) {
                              file->m_strMemo = text;
                              MarkDiscModified(*file);
                              return true;
                          },
                          [](ReadmeRow) { return false; },
                      },
                      object);
}

bool CatalogEditor::RenameInTree(const CatalogObject& item, std::string_view text) {
    if (m_busy.Refuses(kTreeRenameGuard, Log())) return false;
    if (CCategory* const* category = std::get_if<CCategory*>(&item)) {
        if ((*category)->m_pParent == nullptr) return false;
        if (text::CompareNoCase(text, (*category)->m_strName) == 0) return false;
        return (*category)->SetName(text, Log());
    }
    CDir* const* node = std::get_if<CDir*>(&item);
    if (node == nullptr || !m_open.cd || *node != m_open.cd.get() || m_open.entry == nullptr) return false;
    if (text::CompareNoCase(text, m_open.entry->m_strName) == 0) return false;
    if (!catalog::SetEntryName(*m_open.entry, text, Log())) return false;
    m_open.cd->m_strDisplayName = m_open.entry->m_strName;
    m_doc.SetModified();
    return true;
}

std::optional<PropertiesForm> CatalogEditor::PropertiesOf(std::span<const CatalogObject> selection) {
    if (m_busy.Refuses(kEditGuard, Log())) return std::nullopt;
    if (selection.size() != 1) {
        Ui().ShowMessage(text::Local("请选择一个项目后再进行编辑"));
        return std::nullopt;
    }
    auto form = [](std::string_view title, std::string_view name, std::string_view memo) {
        return std::optional<PropertiesForm>(
            PropertiesForm{text::Local(title), std::string(name), std::string(memo)});
    };
    std::optional<PropertiesForm> result =
        std::visit(Overloaded{
                       [&](CCategory* c) { return form("设置类别的备注信息", c->m_strName, c->m_strMemo); },
                       [&](CDiskInfo* e) { return form("设置对象的备注信息", e->m_strName, e->m_strMemo); },
                       [&](CDir* d) { return form("设置文件夹的备注信息", d->m_strName, d->m_strMemo); },
                       [&](CFileInfo* f) { return form("设置文件的备注信息", f->m_strName, f->m_strMemo); },
                       [](ReadmeRow) { return std::optional<PropertiesForm>(); },
                   },
                   selection.front());
    if (!result) Ui().ShowMessage(text::Local("不能对其进行备注编辑"));
    return result;
}

void CatalogEditor::ApplyProperties(const CatalogObject& object, std::string_view name,
                                    std::string_view memo) {
    std::visit(Overloaded{
                   [&](CCategory* category) {
                       category->m_strMemo = memo;
                       if (name != category->m_strName) category->SetName(name, Log());
                       m_doc.SetModified();
                   },
                   [&](CDiskInfo* entry) {
                       entry->m_strMemo = memo;
                       if (name != entry->m_strName && catalog::SetEntryName(*entry, name, Log()) &&
                           m_open.IsOpen(entry))
                           m_open.cd->m_strDisplayName = entry->m_strName;
                       m_doc.SetModified();
                   },
                   [&](CDir* folder) {
                       folder->m_strMemo = memo;
                       MarkDiscModified(*folder);
                   },
                   [&](CFileInfo* file) {
                       file->m_strMemo = memo;
                       MarkDiscModified(*file);
                   },
                   [](ReadmeRow) {},
               },
               object);
}

bool CatalogEditor::Sort() {
    if (m_busy.Refuses(kSortGuard, Log())) return false;
    m_doc.SortTree();
    return true;
}

void CatalogEditor::RefreshOpenTotals() {
    if (!m_open.cd) return;
    m_open.cd->RecomputeTotals();
    m_open.cd->m_bModified = true;
    if (m_open.entry) m_open.entry->CopyStatistics(*m_open.cd);
    m_doc.SetModified();
}

}  // namespace pelko::shell
