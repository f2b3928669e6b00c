#include "ui/models/CatalogTreeModel.h"

#include <QMimeData>

#include <algorithm>
#include <utility>

#include "catalog/CRootCategory.h"
#include "shell/ViewOrder.h"
#include "ui/models/CatalogMime.h"
#include "ui/models/ContentTexts.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using shell::CatalogObject;

// One shown row. `row` is the node's position among its parent's children, kept current by
// every insertion, removal and move, so parent() is O(1).
struct CatalogTreeModel::Node {
    CatalogObject object;
    Node* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Node>> children;
    bool fetched = true;  // false: a folder whose sub-folders have no nodes yet
};

namespace {

const void* AddressOf(const CatalogObject& object) {
    return std::visit(shell::Overloaded{
                          [](shell::ReadmeRow) -> const void* { return nullptr; },
                          [](auto* pointer) -> const void* { return pointer; },
                      },
                      object);
}

}  // namespace

CatalogTreeModel::CatalogTreeModel(QObject* parent, IconProvider icons)
    : QAbstractItemModel(parent), m_icons(std::move(icons)) {}

CatalogTreeModel::~CatalogTreeModel() = default;

bool CatalogTreeModel::Before(const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b) {
    return shell::TreeOrderBefore(a->object, b->object);
}

void CatalogTreeModel::SetRoot(catalog::CRootCategory* root) {
    beginResetModel();
    m_root = root;
    m_openEntry = nullptr;
    m_openCd = nullptr;
    Rebuild();
    endResetModel();
}

void CatalogTreeModel::SetListDiskOnly(bool listDiskOnly) {
    if (listDiskOnly == m_listDiskOnly) return;
    beginResetModel();
    m_listDiskOnly = listDiskOnly;
    Rebuild();
    endResetModel();
}

// ---- the node table -------------------------------------------------------------------------

void CatalogTreeModel::Rebuild() {
    m_nodes.clear();
    m_top.reset();
    if (!m_root) return;
    m_top = MakeNode(CatalogObject(static_cast<CCategory*>(m_root)), nullptr);
    AppendCategoryChildren(*m_top, *m_root);
    SortChildren(*m_top);
    // The open scan object stays open across a rebuild when its entry is still shown.
    Node* open = m_openEntry ? NodeOf(CatalogObject(m_openEntry)) : nullptr;
    if (!open) {
        m_openEntry = nullptr;
        m_openCd = nullptr;
        return;
    }
    open->object = static_cast<CDir*>(m_openCd);
    m_nodes[m_openCd] = open;
    for (const auto& sub : m_openCd->Subdirs()) open->children.push_back(MakeNode(sub.get(), open));
    SortChildren(*open);
}

std::unique_ptr<CatalogTreeModel::Node> CatalogTreeModel::MakeNode(const CatalogObject& object,
                                                                   Node* parent) {
    auto node = std::make_unique<Node>();
    node->object = object;
    node->parent = parent;
    node->fetched = !std::holds_alternative<CDir*>(object);
    m_nodes[AddressOf(object)] = node.get();
    return node;
}

void CatalogTreeModel::AppendCategoryChildren(Node& node, const CCategory& category) {
    if (m_listDiskOnly) {
        // No category rows: every entry of the subtree goes directly under `node`.
        for (const auto& entry : category.Entries()) node.children.push_back(MakeNode(entry.get(), &node));
        for (const auto& sub : category.Subcategories()) AppendCategoryChildren(node, *sub);
        return;
    }
    for (const auto& sub : category.Subcategories()) {
        auto child = MakeNode(sub.get(), &node);
        AppendCategoryChildren(*child, *sub);
        SortChildren(*child);
        node.children.push_back(std::move(child));
    }
    for (const auto& entry : category.Entries()) node.children.push_back(MakeNode(entry.get(), &node));
}

void CatalogTreeModel::SortChildren(Node& node) {
    std::stable_sort(node.children.begin(), node.children.end(), Before);
    Renumber(node);
}

void CatalogTreeModel::Renumber(Node& node, int from) {
    for (int row = from; row < static_cast<int>(node.children.size()); ++row) node.children[row]->row = row;
}

void CatalogTreeModel::Forget(Node& node) {
    for (const auto& child : node.children) Forget(*child);
    m_nodes.erase(AddressOf(node.object));
    if (m_openCd && node.object == CatalogObject(static_cast<CDir*>(m_openCd))) {
        m_nodes.erase(m_openEntry);
        m_openEntry = nullptr;
        m_openCd = nullptr;
    }
}

void CatalogTreeModel::FetchFolders(Node& node) {
    if (node.fetched) return;
    const CDir* dir = std::get<CDir*>(node.object);
    const int count = static_cast<int>(dir->Subdirs().size());
    if (count == 0) {
        node.fetched = true;
        return;
    }
    beginInsertRows(IndexOfNode(node), 0, count - 1);
    for (const auto& sub : dir->Subdirs()) node.children.push_back(MakeNode(sub.get(), &node));
    SortChildren(node);
    node.fetched = true;
    endInsertRows();
}

void CatalogTreeModel::InsertChild(Node& parent, const CatalogObject& object) {
    if (NodeOf(object)) return;  // already shown
    auto node = MakeNode(object, &parent);
    if (const auto* category = std::get_if<CCategory*>(&object)) {
        AppendCategoryChildren(*node, **category);
        SortChildren(*node);
    }
    const auto at = std::upper_bound(parent.children.begin(), parent.children.end(), node, Before);
    const int row = static_cast<int>(at - parent.children.begin());
    beginInsertRows(IndexOfNode(parent), row, row);
    parent.children.insert(at, std::move(node));
    Renumber(parent, row);
    endInsertRows();
}

void CatalogTreeModel::RemoveNode(Node& node) {
    Node* parent = node.parent;
    if (!parent) return;  // the root row stays
    const int row = node.row;
    beginRemoveRows(IndexOfNode(*parent), row, row);
    Forget(node);
    parent->children.erase(parent->children.begin() + row);
    Renumber(*parent, row);
    endRemoveRows();
}

// Moves a node whose name changed to its place among its siblings.
void CatalogTreeModel::Reposition(Node& node) {
    Node* parent = node.parent;
    if (!parent) return;
    int to = 0;
    for (const auto& sibling : parent->children) {
        if (sibling.get() != &node && shell::TreeOrderBefore(sibling->object, node.object)) ++to;
    }
    const int from = node.row;
    if (to == from) return;
    const QModelIndex parentIndex = IndexOfNode(*parent);
    if (!beginMoveRows(parentIndex, from, from, parentIndex, to > from ? to + 1 : to)) return;
    auto moving = std::move(parent->children[from]);
    parent->children.erase(parent->children.begin() + from);
    parent->children.insert(parent->children.begin() + to, std::move(moving));
    Renumber(*parent, std::min(from, to));
    endMoveRows();
}

void CatalogTreeModel::OpenNode(Node& node) {
    node.object = static_cast<CDir*>(m_openCd);
    m_nodes[m_openCd] = &node;
    node.fetched = false;
    const QModelIndex index = IndexOfNode(node);
    emit dataChanged(index, index);
    FetchFolders(node);
}

CatalogTreeModel::Node* CatalogTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

CatalogTreeModel::Node* CatalogTreeModel::NodeOf(const CatalogObject& object) const {
    const void* address = AddressOf(object);
    if (!address) return nullptr;
    const auto found = m_nodes.find(address);
    return found == m_nodes.end() ? nullptr : found->second;
}

QModelIndex CatalogTreeModel::IndexOfNode(const Node& node, int column) const {
    return createIndex(node.row, column, const_cast<Node*>(&node));
}

bool CatalogTreeModel::IsCategory(const Node& node) const {
    return std::holds_alternative<CCategory*>(node.object);
}

// ---- look-ups --------------------------------------------------------------------------------

const CCategory* CatalogTreeModel::CategoryAt(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    const auto* category = node ? std::get_if<CCategory*>(&node->object) : nullptr;
    return category ? *category : nullptr;
}

const CDiskInfo* CatalogTreeModel::EntryAt(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    if (!node) return nullptr;
    if (const auto* entry = std::get_if<CDiskInfo*>(&node->object)) return *entry;
    if (m_openCd && node->object == CatalogObject(static_cast<CDir*>(m_openCd))) return m_openEntry;
    return nullptr;
}

std::optional<CatalogObject> CatalogTreeModel::ObjectAt(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node ? std::optional<CatalogObject>(node->object) : std::nullopt;
}

QModelIndex CatalogTreeModel::IndexOf(const CatalogObject& object) const {
    const Node* node = NodeOf(object);
    return node ? IndexOfNode(*node) : QModelIndex();
}

QModelIndex CatalogTreeModel::RevealIndexOf(const CatalogObject& object) {
    if (const auto* dir = std::get_if<CDir*>(&object); dir && !NodeOf(object)) {
        // Make the nodes of the folder's ancestors first, from the top down.
        std::vector<CDir*> chain;
        for (CDir* at = *dir; at && chain.size() <= static_cast<std::size_t>(CDir::kMaxDepth);
             at = at->m_pParent)
            chain.push_back(at);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (Node* node = NodeOf(CatalogObject(*it))) FetchFolders(*node);
        }
    }
    return IndexOf(object);
}

// ---- QAbstractItemModel ------------------------------------------------------------------------

QModelIndex CatalogTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    if (!parent.isValid()) return IndexOfNode(*m_top, column);
    return IndexOfNode(*NodeOf(parent)->children[row], column);
}

QModelIndex CatalogTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    if (!node || !node->parent) return {};
    return IndexOfNode(*node->parent);
}

int CatalogTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_top ? 1 : 0;
    if (parent.column() != 0) return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int CatalogTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool CatalogTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_top != nullptr;
    if (parent.column() != 0) return false;
    const Node* node = NodeOf(parent);
    if (!node->fetched) return !std::get<CDir*>(node->object)->Subdirs().empty();
    return !node->children.empty();
}

bool CatalogTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    return node && parent.column() == 0 && !node->fetched;
}

void CatalogTreeModel::fetchMore(const QModelIndex& parent) {
    if (Node* node = NodeOf(parent); node && parent.column() == 0) FetchFolders(*node);
}

QVariant CatalogTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    if (!node) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleTextRole:
            return ToQt(shell::NameOf(node->object));
        case Qt::DecorationRole:
            return m_icons ? m_icons(IconKeyOfRow(node->object)) : QVariant();
        case ObjectRole:
            return QVariant::fromValue(CatalogObjectRef{node->object});
        default:
            return {};
    }
}

Qt::ItemFlags CatalogTreeModel::flags(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    if (!node) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsCategory(*node)) flags |= Qt::ItemIsDropEnabled;
    if (!node->parent) return flags;  // the root is neither renamed nor moved
    const bool open = m_openCd && node->object == CatalogObject(static_cast<CDir*>(m_openCd));
    if (IsCategory(*node) || open) flags |= Qt::ItemIsEditable;
    if (IsCategory(*node) || open || std::holds_alternative<CDiskInfo*>(node->object))
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

bool CatalogTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const Node* node = NodeOf(index);
    if (!node || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    emit RenameRequested(node->object, value.toString());
    return true;
}

QStringList CatalogTreeModel::mimeTypes() const { return CatalogMimeTypes(); }

QMimeData* CatalogTreeModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<CatalogObject> objects;
    for (const QModelIndex& index : indexes) {
        if (!(flags(index) & Qt::ItemIsDragEnabled)) continue;
        // The open scan object moves as its entry.
        const CDiskInfo* entry = EntryAt(index);
        const CatalogObject object =
            entry ? CatalogObject(const_cast<CDiskInfo*>(entry)) : NodeOf(index)->object;
        if (std::find(objects.begin(), objects.end(), object) == objects.end()) objects.push_back(object);
    }
    return EncodeCatalogObjects(objects);
}

Qt::DropActions CatalogTreeModel::supportedDragActions() const { return Qt::MoveAction; }
Qt::DropActions CatalogTreeModel::supportedDropActions() const { return Qt::MoveAction; }

bool CatalogTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                       const QModelIndex& parent) const {
    const CCategory* target = CategoryAt(parent);
    if (action != Qt::MoveAction || !target) return false;
    const auto objects = DecodeCatalogObjects(data);
    return objects && CanDropOn(*objects, *target);
}

bool CatalogTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                    const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    emit DropRequested(*DecodeCatalogObjects(data), const_cast<CCategory*>(CategoryAt(parent)));
    return true;
}

// ---- catalog changes ---------------------------------------------------------------------------

void CatalogTreeModel::Added(const CatalogObject& object, const CatalogObject& parent) {
    if (!m_top) return;
    std::visit(shell::Overloaded{
                   [&](CCategory* category) {
                       if (!m_listDiskOnly) {
                           if (Node* under = NodeOf(parent)) InsertChild(*under, category);
                           return;
                       }
                       // Its entries (a pasted category may bring some) join the root.
                       std::vector<CDiskInfo*> entries;
                       auto collect = [&](auto& self, const CCategory& c) -> void {
                           for (const auto& e : c.Entries()) entries.push_back(e.get());
                           for (const auto& s : c.Subcategories()) self(self, *s);
                       };
                       collect(collect, *category);
                       for (CDiskInfo* entry : entries) InsertChild(*m_top, entry);
                   },
                   [&](CDiskInfo* entry) {
                       Node* under = m_listDiskOnly ? m_top.get() : NodeOf(parent);
                       if (under) InsertChild(*under, entry);
                   },
                   [&](CDir* dir) {
                       // A folder whose children were never asked for makes them when asked.
                       Node* under = NodeOf(parent);
                       if (under && under->fetched) InsertChild(*under, dir);
                   },
                   [](catalog::CFileInfo*) {},
                   [](shell::ReadmeRow) {},
               },
               object);
}

void CatalogTreeModel::AboutToRemove(const CatalogObject& object, const CatalogObject&) {
    if (!m_top) return;
    if (Node* node = NodeOf(object)) {
        RemoveNode(*node);
        return;
    }
    const auto* category = std::get_if<CCategory*>(&object);
    if (!category || !m_listDiskOnly) return;
    // Without category rows the category's entries sit under the root: they go with it.
    for (int row = static_cast<int>(m_top->children.size()) - 1; row >= 0; --row) {
        Node& child = *m_top->children[row];
        const CDiskInfo* entry = EntryAt(IndexOfNode(child));
        if (entry && entry->m_pCategory && entry->m_pCategory->IsWithin(**category)) RemoveNode(child);
    }
}

void CatalogTreeModel::Moved(const CatalogObject& object, CCategory*, CCategory* newParent) {
    Node* node = NodeOf(object);
    if (!node || m_listDiskOnly) return;  // without category rows nothing shown moves
    Node* from = node->parent;
    Node* to = NodeOf(CatalogObject(newParent));
    if (!to) {
        RemoveNode(*node);
        return;
    }
    if (to == from) {
        Reposition(*node);
        return;
    }
    const auto at =
        std::upper_bound(to->children.begin(), to->children.end(), from->children[node->row], Before);
    const int destination = static_cast<int>(at - to->children.begin());
    const int row = node->row;
    if (!beginMoveRows(IndexOfNode(*from), row, row, IndexOfNode(*to), destination)) {
        RemoveNode(*node);  // a target below the moved node: the catalog refuses such moves
        return;
    }
    auto moving = std::move(from->children[row]);
    from->children.erase(from->children.begin() + row);
    Renumber(*from, row);
    moving->parent = to;
    to->children.insert(to->children.begin() + destination, std::move(moving));
    Renumber(*to, destination);
    endMoveRows();
}

void CatalogTreeModel::Changed(const CatalogObject& object) {
    Node* node = NodeOf(object);
    if (!node) return;
    const QModelIndex index = IndexOfNode(*node);
    emit dataChanged(index, index);
    Reposition(*node);
}

void CatalogTreeModel::ScanObjectOpened(CDiskInfo& entry, catalog::CCD& cd) {
    if (m_openCd && m_openEntry) ScanObjectAboutToClose(*m_openEntry, *m_openCd);
    m_openEntry = &entry;
    m_openCd = &cd;
    if (Node* node = NodeOf(CatalogObject(&entry))) OpenNode(*node);
}

void CatalogTreeModel::ScanObjectAboutToClose(CDiskInfo& entry, catalog::CCD& cd) {
    if (m_openCd != &cd) return;
    if (Node* node = NodeOf(CatalogObject(static_cast<CDir*>(&cd)))) {
        const QModelIndex index = IndexOfNode(*node);
        if (!node->children.empty()) {
            beginRemoveRows(index, 0, static_cast<int>(node->children.size()) - 1);
            for (const auto& child : node->children) Forget(*child);
            node->children.clear();
            endRemoveRows();
        }
        m_nodes.erase(static_cast<CDir*>(&cd));
        node->object = &entry;
        node->fetched = true;
        emit dataChanged(index, index);
    }
    m_openEntry = nullptr;
    m_openCd = nullptr;
}

void CatalogTreeModel::Reset() {
    beginResetModel();
    Rebuild();
    endResetModel();
}

}  // namespace pelko::ui
