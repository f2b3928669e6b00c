#pragma once
// The catalog as a tree for the left pane: one top row for the root category; below a category
// its sub-categories, then its scan-object entries; below the one open scan object its folders
// and archive folders. With "list disc only" the root holds every entry of the catalog and no
// category rows.
//
// Rows are nodes of a private table (one small node per shown row, pointing at its catalog
// object), so the shown order can differ from the stored one: a category's children are
// ordered by shell::TreeOrderBefore. A folder's children are made only when the view asks
// (canFetchMore/fetchMore): an open scan object may hold tens of thousands of folders.
//
// The model never changes the catalog. Renames and drops become requests (signals) for the
// editor, whose changes come back through shell::CatalogChanges and are applied as row
// ranges. UI thread only.

#include <QAbstractItemModel>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "shell/CatalogChanges.h"
#include "ui/models/CatalogObjectRole.h"
#include "ui/models/IconProvider.h"

namespace pelko::catalog {
class CRootCategory;
}  // namespace pelko::catalog

namespace pelko::ui {

class CatalogTreeModel : public QAbstractItemModel, public shell::CatalogChanges {
    Q_OBJECT
public:
    // Icons come from `icons` (by icon key); by default from the desktop theme.
    explicit CatalogTreeModel(QObject* parent = nullptr, IconProvider icons = CachedIcons(ThemeIconFor));
    ~CatalogTreeModel() override;

    // Shows `root` (null: nothing) and forgets any open scan object.
    void SetRoot(catalog::CRootCategory* root);
    // Every entry directly under the root, no category rows; rebuilds the tree when it changes.
    void SetListDiskOnly(bool listDiskOnly);

    // The category or entry of an index; null for other rows or an invalid index. The open scan
    // object's row gives its entry.
    const catalog::CCategory* CategoryAt(const QModelIndex& index) const;
    const catalog::CDiskInfo* EntryAt(const QModelIndex& index) const;
    // The object a row shows (the open scan object's row shows its CCD).
    std::optional<shell::CatalogObject> ObjectAt(const QModelIndex& index) const;
    // The row of an object, or an invalid index when it is not shown (yet). The open scan
    // object's row is found by its entry and by its CCD.
    QModelIndex IndexOf(const shell::CatalogObject& object) const;
    // The same, making the rows of a folder's ancestors first (go to path, select in tree).
    QModelIndex RevealIndexOf(const shell::CatalogObject& object);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Emits RenameRequested; the name changes only when the editor reports it.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    // Emits DropRequested for a drop on a category; nothing is moved here.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // shell::CatalogChanges
    void Added(const shell::CatalogObject& object, const shell::CatalogObject& parent) override;
    void AboutToRemove(const shell::CatalogObject& object, const shell::CatalogObject& parent) override;
    void Moved(const shell::CatalogObject& object, catalog::CCategory* oldParent,
               catalog::CCategory* newParent) override;
    void Changed(const shell::CatalogObject& object) override;
    void ScanObjectOpened(catalog::CDiskInfo& entry, catalog::CCD& cd) override;
    void ScanObjectAboutToClose(catalog::CDiskInfo& entry, catalog::CCD& cd) override;
    void Reset() override;

signals:
    void RenameRequested(const pelko::shell::CatalogObject& object, const QString& text);
    void DropRequested(const std::vector<pelko::shell::CatalogObject>& objects,
                       pelko::catalog::CCategory* target);

private:
    struct Node;

    static bool Before(const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b);
    void Rebuild();
    std::unique_ptr<Node> MakeNode(const shell::CatalogObject& object, Node* parent);
    // Children of a category node (or of the root in list-disc-only mode), unsorted.
    void AppendCategoryChildren(Node& node, const catalog::CCategory& category);
    void SortChildren(Node& node);
    void Renumber(Node& node, int from = 0);
    void Forget(Node& node);  // drops the node and its subtree from the look-up table
    void FetchFolders(Node& node);
    void InsertChild(Node& parent, const shell::CatalogObject& object);
    void RemoveNode(Node& node);
    void Reposition(Node& node);
    void OpenNode(Node& node);

    Node* NodeOf(const QModelIndex& index) const;
    Node* NodeOf(const shell::CatalogObject& object) const;
    QModelIndex IndexOfNode(const Node& node, int column = 0) const;
    bool IsCategory(const Node& node) const;
    bool AcceptsDrop(const std::vector<shell::CatalogObject>& objects, const Node& target) const;

    IconProvider m_icons;
    catalog::CRootCategory* m_root = nullptr;
    bool m_listDiskOnly = false;
    std::unique_ptr<Node> m_top;
    std::unordered_map<const void*, Node*> m_nodes;  // category, entry and folder addresses
    // The open scan object; its entry's node shows the CCD while it is open. The entry address
    // is only compared, never followed, until its node is found again.
    catalog::CDiskInfo* m_openEntry = nullptr;
    catalog::CCD* m_openCd = nullptr;
};

}  // namespace pelko::ui
