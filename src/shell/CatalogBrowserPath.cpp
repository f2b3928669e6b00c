// The tree's structure as the browser sees it: paths of nodes, parents, children, the rows of
// the list, and going to a path.

#include "catalog/CPelkoDoc.h"
#include "shell/AppSettings.h"
#include "shell/CatalogBrowser.h"
#include "shell/CatalogEditor.h"
#include "text/MbString.h"

namespace pelko::shell {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;

namespace {

// Every entry of the catalog, each category's own entries before those of its sub-categories:
// the children of the root when the tree lists scan objects only.
void CollectEntries(const CCategory& category, std::vector<CatalogObject>& out) {
    for (const auto& entry : category.Entries()) out.emplace_back(entry.get());
    for (const auto& sub : category.Subcategories()) CollectEntries(*sub, out);
}

// The text a node or row shows: the open disc shows its entry's name.
std::string_view TextOf(const CatalogObject& object) {
    return std::visit(Overloaded{
                          [](CCategory* c) { return std::string_view(c->m_strName); },
                          [](CDiskInfo* e) { return std::string_view(e->m_strName); },
                          [](CDir* d) {
                              if (const catalog::CCD* cd = d->AsCD())
                                  return std::string_view(cd->m_strDisplayName);
                              return d->m_strName.view();
                          },
                          [](CFileInfo* f) { return f->m_strName.view(); },
                          [](ReadmeRow) { return std::string_view("ReadMe"); },
                      },
                      object);
}

bool SameText(std::string_view a, std::string_view b) {
    return text::CompareNoCase(text::Trim(a), text::Trim(b)) == 0;
}

// The parts of a path between "\" characters, trimmed. A "\" byte that is the second byte of a
// double-byte character is part of that character.
std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i)) {
        if (path[i] != '\\') continue;
        parts.push_back(text::Trim(path.substr(start, i - start)));
        start = i + 1;
    }
    parts.push_back(text::Trim(path.substr(start)));
    return parts;
}

std::optional<CatalogObject> FindByText(const std::vector<CatalogObject>& objects, std::string_view text) {
    for (const CatalogObject& object : objects)
        if (SameText(TextOf(object), text)) return object;
    return std::nullopt;
}

}  // namespace

std::string CatalogBrowser::EntryPath(const CDiskInfo& entry) const {
    std::string path;
    if (m_settings.bListDiskOnly) {
        if (const CCategory* root = m_doc.Root()) path = root->m_strName;
    } else if (entry.m_pCategory) {
        path = entry.m_pCategory->Path();
    }
    if (!path.empty()) path += '\\';
    return path + entry.m_strName;
}

std::string CatalogBrowser::NodePath(const CatalogObject& node) const {
    const OpenScanObject& open = m_editor.Open();
    const auto inOpenDisc = [&](CDir* dir) {
        return open.cd && open.entry && dir->OwningCD() == open.cd.get();
    };
    return std::visit(Overloaded{
                          [](CCategory* c) { return c->Path(); },
                          [&](CDiskInfo* e) { return EntryPath(*e); },
                          [&](CDir* d) {
                              if (!inOpenDisc(d)) return std::string();
                              return EntryPath(*open.entry) + d->RelativePath();
                          },
                          [&](CFileInfo* f) {
                              if (f->m_pParent == nullptr || !inOpenDisc(f->m_pParent)) return std::string();
                              return EntryPath(*open.entry) + f->m_pParent->RelativePath() + '\\' +
                                     f->m_strName.str();
                          },
                          [](ReadmeRow) { return std::string(); },
                      },
                      node);
}

std::optional<CatalogObject> CatalogBrowser::TreeParent(const CatalogObject& node) const {
    const OpenScanObject& open = m_editor.Open();
    CCategory* const root = m_doc.Root();
    return std::visit(Overloaded{
                          [&](CCategory* c) -> std::optional<CatalogObject> {
                              if (c->m_pParent == nullptr || m_settings.bListDiskOnly) return std::nullopt;
                              return c->m_pParent;
                          },
                          [&](CDiskInfo* e) -> std::optional<CatalogObject> {
                              if (m_settings.bListDiskOnly) return root;
                              if (e->m_pCategory == nullptr) return std::nullopt;
                              return e->m_pCategory;
                          },
                          [&](CDir* d) -> std::optional<CatalogObject> {
                              if (d->m_pParent) return d->m_pParent;
                              // The open disc's node stands where its entry's node was.
                              if (open.cd && d == open.cd.get() && open.entry) return TreeParent(open.entry);
                              return std::nullopt;
                          },
                          [](CFileInfo* f) -> std::optional<CatalogObject> {
                              if (f->m_pParent == nullptr) return std::nullopt;
                              return f->m_pParent;
                          },
                          [&](ReadmeRow) -> std::optional<CatalogObject> {
                              if (!open.cd) return std::nullopt;
                              return static_cast<CDir*>(open.cd.get());
                          },
                      },
                      node);
}

std::vector<CatalogObject> CatalogBrowser::TreeChildren(const CatalogObject& node) const {
    const OpenScanObject& open = m_editor.Open();
    std::vector<CatalogObject> children;
    const auto addEntry = [&](CDiskInfo* entry) {
        if (open.IsOpen(entry))
            children.emplace_back(static_cast<CDir*>(open.cd.get()));
        else
            children.emplace_back(entry);
    };
    std::visit(Overloaded{
                   [&](CCategory* c) {
                       if (m_settings.bListDiskOnly) {
                           if (c->m_pParent != nullptr) return;
                           std::vector<CatalogObject> entries;
                           CollectEntries(*c, entries);
                           for (const CatalogObject& entry : entries) addEntry(std::get<CDiskInfo*>(entry));
                           return;
                       }
                       for (const auto& sub : c->Subcategories()) children.emplace_back(sub.get());
                       for (const auto& entry : c->Entries()) addEntry(entry.get());
                   },
                   [&](CDiskInfo* e) {
                       if (open.IsOpen(e)) children = TreeChildren(static_cast<CDir*>(open.cd.get()));
                   },
                   [&](CDir* d) {
                       if (!open.cd || d->OwningCD() != open.cd.get()) return;
                       for (const auto& sub : d->Subdirs()) children.emplace_back(sub.get());
                   },
                   [](auto) {},
               },
               node);
    return children;
}

std::vector<CatalogObject> CatalogBrowser::ListRows(const CatalogObject& node) const {
    const OpenScanObject& open = m_editor.Open();
    std::vector<CatalogObject> rows;
    std::visit(Overloaded{
                   [&](CCategory* c) {
                       if (!m_settings.bListDiskOnly)
                           for (const auto& sub : c->Subcategories()) rows.emplace_back(sub.get());
                       for (const auto& entry : c->Entries()) rows.emplace_back(entry.get());
                   },
                   [&](CDiskInfo* e) {
                       if (open.IsOpen(e)) rows = ListRows(static_cast<CDir*>(open.cd.get()));
                   },
                   [&](CDir* d) {
                       if (!open.cd || d->OwningCD() != open.cd.get()) return;
                       if (d == open.cd.get()) rows.emplace_back(ReadmeRow{});
                       for (const auto& sub : d->Subdirs()) rows.emplace_back(sub.get());
                       for (const auto& file : d->Files()) rows.emplace_back(file.get());
                   },
                   [](auto) {},
               },
               node);
    return rows;
}

std::optional<CatalogObject> CatalogBrowser::StepInto(const CatalogObject& child) {
    CDiskInfo* const* entry = std::get_if<CDiskInfo*>(&child);
    if (entry == nullptr) return child;
    // Its folders are found only once it is open. A disc that cannot be read (or an entry the
    // user deleted meanwhile) leaves the walk where it was.
    if (OpenEntry(**entry) != EntryOpening::Opened) return std::nullopt;
    return static_cast<CDir*>(m_editor.Open().cd.get());
}

GoToPathResult CatalogBrowser::ResolvePath(std::string_view path) {
    CCategory* const root = m_doc.Root();
    const std::vector<std::string_view> parts = SplitPath(path);
    if (root == nullptr || !SameText(parts.front(), root->m_strName)) return {};

    GoToPathResult result{.recognised = true, .node = root, .rowName = {}, .row = std::nullopt};
    if (parts.size() == 1) return result;
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        if (std::optional<CatalogObject> child = FindByText(TreeChildren(result.node), parts[i]))
            if (std::optional<CatalogObject> next = StepInto(*child)) result.node = *next;
    }
    result.rowName = parts.back();
    if (std::optional<CatalogObject> child = FindByText(TreeChildren(result.node), result.rowName))
        result.node = *child;
    result.row = FindByText(ListRows(result.node), result.rowName);
    return result;
}

}  // namespace pelko::shell
