#pragma once
// The catalog as a tree for the left pane: one top row for the root category, under each
// category its sub-categories and then its scan-object entries. Read-only. Rows refer to the
// catalog's own records (nothing is copied); texts are made in data().
//
// An index's internal pointer is the category that holds the row (null for the top row), so a
// row's parent is found without any side table: rows below the sub-category count are entries.

#include <QAbstractItemModel>

namespace pelko::catalog {
class CCategory;
class CDiskInfo;
class CRootCategory;
}  // namespace pelko::catalog

namespace pelko::ui {

class CatalogTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CatalogTreeModel(QObject* parent = nullptr);

    // Shows `root` (null: nothing). The tree must stay unchanged while shown, or be set again.
    void SetRoot(const catalog::CRootCategory* root);

    // The category or entry of an index; null for the other kind or an invalid index.
    const catalog::CCategory* CategoryAt(const QModelIndex& index) const;
    const catalog::CDiskInfo* EntryAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const catalog::CRootCategory* m_root = nullptr;
};

}  // namespace pelko::ui
