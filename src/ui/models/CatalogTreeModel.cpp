#include "ui/models/CatalogTreeModel.h"

#include <QIcon>

#include "catalog/CDiskInfo.h"
#include "catalog/CRootCategory.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using catalog::CCategory;

const CCategory* Holder(const QModelIndex& index) { return static_cast<const CCategory*>(index.internalPointer()); }

int SubcategoryCount(const CCategory& category) { return static_cast<int>(category.Subcategories().size()); }
int EntryCount(const CCategory& category) { return static_cast<int>(category.Entries().size()); }

}  // namespace

CatalogTreeModel::CatalogTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void CatalogTreeModel::SetRoot(const catalog::CRootCategory* root) {
    beginResetModel();
    m_root = root;
    endResetModel();
}

const CCategory* CatalogTreeModel::CategoryAt(const QModelIndex& index) const {
    if (!index.isValid() || !m_root) return nullptr;
    const CCategory* holder = Holder(index);
    if (!holder) return m_root;
    if (index.row() < SubcategoryCount(*holder)) return holder->Subcategories()[index.row()].get();
    return nullptr;
}

const catalog::CDiskInfo* CatalogTreeModel::EntryAt(const QModelIndex& index) const {
    if (!index.isValid() || !m_root) return nullptr;
    const CCategory* holder = Holder(index);
    if (!holder) return nullptr;
    const int entry = index.row() - SubcategoryCount(*holder);
    if (entry < 0 || entry >= EntryCount(*holder)) return nullptr;
    return holder->Entries()[entry].get();
}

QModelIndex CatalogTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    if (!parent.isValid()) return createIndex(row, column, nullptr);
    const CCategory* holder = CategoryAt(parent);
    return holder ? createIndex(row, column, const_cast<CCategory*>(holder)) : QModelIndex();
}

QModelIndex CatalogTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || !m_root) return {};
    const CCategory* holder = Holder(child);
    if (!holder) return {};
    if (holder == m_root) return createIndex(0, 0, nullptr);
    const CCategory* above = holder->m_pParent;
    if (!above) return {};
    const auto& siblings = above->Subcategories();
    for (int row = 0; row < static_cast<int>(siblings.size()); ++row) {
        if (siblings[row].get() == holder) return createIndex(row, 0, const_cast<CCategory*>(above));
    }
    return {};
}

int CatalogTreeModel::rowCount(const QModelIndex& parent) const {
    if (!m_root) return 0;
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    const CCategory* category = CategoryAt(parent);
    return category ? SubcategoryCount(*category) + EntryCount(*category) : 0;
}

int CatalogTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CatalogTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const CCategory* category = CategoryAt(index);
    const catalog::CDiskInfo* entry = category ? nullptr : EntryAt(index);
    if (!category && !entry) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return ToQt(category ? category->m_strName : entry->m_strName);
    case Qt::DecorationRole:
        if (category == m_root) return QIcon::fromTheme(QStringLiteral("drive-multidisk"));
        return QIcon::fromTheme(category ? QStringLiteral("folder") : QStringLiteral("media-optical"));
    default:
        return {};
    }
}

}  // namespace pelko::ui
