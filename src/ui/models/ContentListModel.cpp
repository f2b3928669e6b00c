#include "ui/models/ContentListModel.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QSize>

#include <algorithm>
#include <numeric>
#include <utility>

#include "catalog/Statistics.h"
#include "ui/models/CatalogMime.h"
#include "ui/models/ContentTexts.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using shell::CatalogObject;
using shell::ListField;

namespace {

// The disc a folder belongs to: the top of its parent chain.
const catalog::CCD* DiscOf(CDir* dir) {
    while (dir->m_pParent) dir = dir->m_pParent;
    return dir->AsCD();
}

}  // namespace

ContentListModel::ContentListModel(QObject* parent, IconProvider icons)
    : QAbstractTableModel(parent), m_icons(std::move(icons)) {}

// ---- what is shown -----------------------------------------------------------------------------

std::vector<ContentListModel::Column> ContentListModel::ColumnsFor(ShownKind kind) {
    switch (kind) {
        case ShownKind::Category:
            return {{ListField::Name, "名称", 200},
                    {ListField::Kind, "属性", 80},
                    {ListField::Size, "大小", 100},
                    {ListField::Memo, "备注", 130},
                    {ListField::Tag, "标签", 100}};
        case ShownKind::RootFolder:
            return {{ListField::Name, "名称", 150},
                    {ListField::Size, "大小", 140},
                    {ListField::Time, "修改时间", 140},
                    {ListField::Memo, "备注", 180}};
        case ShownKind::Folder:
            return {{ListField::Name, "名称", 150},
                    {ListField::Size, "大小", 140},
                    {ListField::Time, "创建时间", 140},
                    {ListField::Memo, "备注", 180}};
        case ShownKind::Nothing:
            break;
    }
    return {};
}

std::vector<CatalogObject> ContentListModel::RowsOf(const CatalogObject& node, ShownKind kind,
                                                    bool listDiskOnly) {
    std::vector<CatalogObject> rows;
    if (const auto* category = std::get_if<CCategory*>(&node)) {
        if (!listDiskOnly) {
            for (const auto& sub : (*category)->Subcategories()) rows.emplace_back(sub.get());
        }
        for (const auto& entry : (*category)->Entries()) rows.emplace_back(entry.get());
    } else if (const auto* dir = std::get_if<CDir*>(&node)) {
        if (kind == ShownKind::RootFolder) rows.emplace_back(shell::ReadmeRow{});
        for (const auto& sub : (*dir)->Subdirs()) rows.emplace_back(sub.get());
        for (const auto& file : (*dir)->Files()) rows.emplace_back(file.get());
    }
    return rows;
}

void ContentListModel::Show(const CatalogObject& node) {
    ShownKind kind = ShownKind::Nothing;
    if (std::holds_alternative<CCategory*>(node)) {
        kind = ShownKind::Category;
    } else if (const auto* dir = std::get_if<CDir*>(&node)) {
        kind = (*dir)->AsCD() ? ShownKind::RootFolder : ShownKind::Folder;
    }
    if (kind == ShownKind::Nothing) {
        ShowNothing();
        return;
    }
    if (m_shown == node) return;
    Replace(node, kind);
}

void ContentListModel::ShowNothing() {
    if (m_kind != ShownKind::Nothing) Replace(std::nullopt, ShownKind::Nothing);
}

// Every step is a range: the old rows go, the columns are added, removed or retitled, the new
// rows come.
void ContentListModel::Replace(std::optional<CatalogObject> node, ShownKind kind) {
    if (!m_rows.empty()) {
        beginRemoveRows({}, 0, static_cast<int>(m_rows.size()) - 1);
        m_rows.clear();
        endRemoveRows();
    }
    m_folderBytes.clear();
    m_shown = std::move(node);
    m_kind = kind;
    std::vector<Column> columns = ColumnsFor(kind);
    const int before = static_cast<int>(m_columns.size());
    const int after = static_cast<int>(columns.size());
    if (after > before) {
        beginInsertColumns({}, before, after - 1);
        m_columns = std::move(columns);
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns({}, after, before - 1);
        m_columns = std::move(columns);
        endRemoveColumns();
    } else {
        m_columns = std::move(columns);
    }
    if (after > 0) emit headerDataChanged(Qt::Horizontal, 0, after - 1);
    if (!m_shown) return;
    std::vector<CatalogObject> rows = RowsOf(*m_shown, m_kind, m_listDiskOnly);
    if (rows.empty()) return;
    beginInsertRows({}, 0, static_cast<int>(rows.size()) - 1);
    m_rows = std::move(rows);
    endInsertRows();
}

void ContentListModel::SetShowExtensions(bool show) {
    if (show == m_showExtensions) return;
    m_showExtensions = show;
    if (!m_rows.empty()) emit dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, 0));
}

void ContentListModel::SetListDiskOnly(bool listDiskOnly) {
    if (listDiskOnly == m_listDiskOnly) return;
    m_listDiskOnly = listDiskOnly;
    if (m_kind == ShownKind::Category) Replace(m_shown, m_kind);
}

std::optional<ListField> ContentListModel::FieldOf(int column) const {
    if (column < 0 || column >= static_cast<int>(m_columns.size())) return std::nullopt;
    return m_columns[column].field;
}

std::optional<CatalogObject> ContentListModel::ObjectAt(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return std::nullopt;
    return m_rows[index.row()];
}

QModelIndex ContentListModel::IndexOf(const CatalogObject& object, int column) const {
    const auto found = std::find(m_rows.begin(), m_rows.end(), object);
    if (found == m_rows.end()) return {};
    return index(static_cast<int>(found - m_rows.begin()), column);
}

// ---- sorting -----------------------------------------------------------------------------------

void ContentListModel::SortByColumn(int column) {
    const std::optional<ListField> field = FieldOf(column);
    if (!field) return;
    const bool ascending = m_ascending[column] = !m_ascending[column];
    const shell::FolderBytes bytes = [this](const CDir& dir) { return FolderBytes(dir); };

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Rows are grouped by kind in rank order, so ordering by (rank, field) sorts each kind
    // among itself and leaves the groups where they are.
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int rankA = shell::KindRank(m_rows[a]);
        const int rankB = shell::KindRank(m_rows[b]);
        if (rankA != rankB) return rankA < rankB;
        const int compared = shell::CompareRows(m_rows[a], m_rows[b], *field, bytes);
        return ascending ? compared < 0 : compared > 0;
    });
    std::vector<CatalogObject> sorted;
    std::vector<int> newRowOf(m_rows.size());
    sorted.reserve(m_rows.size());
    for (std::size_t at = 0; at < order.size(); ++at) {
        sorted.push_back(m_rows[order[at]]);
        newRowOf[order[at]] = static_cast<int>(at);
    }
    m_rows = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from) to.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---- QAbstractItemModel ------------------------------------------------------------------------

int ContentListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ContentListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

double ContentListModel::FolderBytes(const CDir& dir) const {
    const auto found = m_folderBytes.find(&dir);
    if (found != m_folderBytes.end()) return found->second;
    const double bytes = catalog::AggregateFolder(dir).bytes;
    m_folderBytes.emplace(&dir, bytes);
    return bytes;
}

std::string ContentListModel::Text(const CatalogObject& row, ListField field) const {
    const CellOptions options{m_showExtensions, [this](const CDir& dir) { return FolderBytes(dir); }};
    return CellText(row, field, options);
}

QVariant ContentListModel::Decoration(const CatalogObject& row) const {
    if (const auto* file = std::get_if<CFileInfo*>(&row)) {
        if (const catalog::IconImage* stored = ProgramIconOf(**file)) {
            // An icon with nothing visible gives a null QIcon: the key's icon is shown instead.
            if (QIcon icon = m_programIcons.IconOf(*stored); !icon.isNull()) return icon;
        }
    }
    if (!m_icons) return {};
    return m_icons(IconKeyOfRow(row));
}

QVariant ContentListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const CatalogObject& row = m_rows[index.row()];
    const ListField field = m_columns[index.column()].field;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return ToQt(Text(row, field));
        case Qt::EditRole:
            return field == ListField::Memo ? ToQt(MemoOfRow(row)) : ToQt(Text(row, field));
        case Qt::DecorationRole:
            return index.column() == 0 ? Decoration(row) : QVariant();
        case Qt::ToolTipRole: {
            const std::string_view memo = MemoOfRow(row);
            return memo.empty() ? QVariant() : QVariant(ToQt(memo));
        }
        case ObjectRole:
            return QVariant::fromValue(CatalogObjectRef{row});
        default:
            return {};
    }
}

QVariant ContentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_columns.size()))
        return {};
    const Column& column = m_columns[section];
    switch (role) {
        case Qt::DisplayRole:
            return Tr(column.title);
        case Qt::SizeHintRole:
            // The height is the font's: the header would otherwise take a zero height from it.
            return QSize(column.width, QFontMetrics(QGuiApplication::font()).height() + 8);
        default:
            return {};
    }
}

Qt::ItemFlags ContentListModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const CatalogObject& row = m_rows[index.row()];
    if (std::holds_alternative<shell::ReadmeRow>(row)) return flags;
    const ListField field = m_columns[index.column()].field;
    if (field == ListField::Name || field == ListField::Memo) flags |= Qt::ItemIsEditable;
    if (std::holds_alternative<CCategory*>(row)) flags |= Qt::ItemIsDropEnabled;
    if (std::holds_alternative<CCategory*>(row) || std::holds_alternative<CDiskInfo*>(row))
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

bool ContentListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const CatalogObject row = m_rows[index.row()];
    if (m_columns[index.column()].field == ListField::Name)
        emit RenameRequested(row, value.toString());
    else
        emit MemoEditRequested(row, value.toString());
    return true;
}

QStringList ContentListModel::mimeTypes() const { return CatalogMimeTypes(); }

QMimeData* ContentListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<CatalogObject> objects;
    for (const QModelIndex& index : indexes) {
        if (!(flags(index) & Qt::ItemIsDragEnabled)) continue;
        const CatalogObject& row = m_rows[index.row()];
        if (std::find(objects.begin(), objects.end(), row) == objects.end()) objects.push_back(row);
    }
    return EncodeCatalogObjects(objects);
}

Qt::DropActions ContentListModel::supportedDragActions() const { return Qt::MoveAction; }
Qt::DropActions ContentListModel::supportedDropActions() const { return Qt::MoveAction; }

bool ContentListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                       const QModelIndex& parent) const {
    const std::optional<CatalogObject> row = ObjectAt(parent);
    const auto* target = row ? std::get_if<CCategory*>(&*row) : nullptr;
    if (action != Qt::MoveAction || !target) return false;
    const auto objects = DecodeCatalogObjects(data);
    return objects && CanDropOn(*objects, **target);
}

bool ContentListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                    const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    emit DropRequested(*DecodeCatalogObjects(data), std::get<CCategory*>(m_rows[parent.row()]));
    return true;
}

// ---- catalog changes ---------------------------------------------------------------------------

void ContentListModel::InsertRow(const CatalogObject& object) {
    if (IndexOf(object).isValid()) return;
    const int rank = shell::KindRank(object);
    const auto at = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const CatalogObject& row) { return shell::KindRank(row) > rank; });
    const int row = static_cast<int>(at - m_rows.begin());
    beginInsertRows({}, row, row);
    m_rows.insert(at, object);
    endInsertRows();
}

void ContentListModel::RemoveRow(int row) {
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

bool ContentListModel::ShownWithin(const CatalogObject& object) const {
    if (!m_shown) return false;
    const auto* shownCategory = std::get_if<CCategory*>(&*m_shown);
    const auto* shownDir = std::get_if<CDir*>(&*m_shown);
    const bool shownInOpenDisc = shownDir && m_openCd && DiscOf(*shownDir) == m_openCd;
    return std::visit(shell::Overloaded{
                          [&](CCategory* category) {
                              if (shownCategory) return (*shownCategory)->IsWithin(*category);
                              return shownInOpenDisc && m_openEntry->m_pCategory &&
                                     m_openEntry->m_pCategory->IsWithin(*category);
                          },
                          [&](CDiskInfo* entry) { return shownInOpenDisc && entry == m_openEntry; },
                          [&](CDir* dir) {
                              for (CDir* at = shownDir ? *shownDir : nullptr; at; at = at->m_pParent) {
                                  if (at == dir) return true;
                              }
                              return false;
                          },
                          [](CFileInfo*) { return false; },
                          [](shell::ReadmeRow) { return false; },
                      },
                      object);
}

// Totals in the size column (a category's, a folder's) may have changed.
void ContentListModel::SizesChanged() {
    const auto column = std::find_if(m_columns.begin(), m_columns.end(),
                                     [](const Column& c) { return c.field == ListField::Size; });
    if (m_rows.empty() || column == m_columns.end()) return;
    const int at = static_cast<int>(column - m_columns.begin());
    emit dataChanged(index(0, at), index(static_cast<int>(m_rows.size()) - 1, at));
}

// The removed object is still in the tree: cache every shown folder's total first, then take
// the object's bytes out of its folders, so that no total counts it once it is gone.
void ContentListModel::SubtractFromTotals(const CatalogObject& object, const CatalogObject& parent) {
    double bytes = 0;
    if (const auto* file = std::get_if<CFileInfo*>(&object))
        bytes = static_cast<double>((*file)->Size());
    else if (const auto* dir = std::get_if<CDir*>(&object))
        bytes = catalog::AggregateFolder(**dir).bytes;
    else
        return;
    for (const CatalogObject& row : m_rows) {
        if (const auto* dir = std::get_if<CDir*>(&row)) FolderBytes(**dir);
    }
    const auto* from = std::get_if<CDir*>(&parent);
    for (const CDir* at = from ? *from : nullptr; at; at = at->m_pParent) {
        if (const auto found = m_folderBytes.find(at); found != m_folderBytes.end()) found->second -= bytes;
    }
}

void ContentListModel::Added(const CatalogObject& object, const CatalogObject& parent) {
    if (!m_shown) return;
    const bool inDisc = std::holds_alternative<CDir*>(object) || std::holds_alternative<CFileInfo*>(object);
    if (inDisc) m_folderBytes.clear();
    if (parent == *m_shown) {
        const bool fits = m_kind == ShownKind::Category
                              ? std::holds_alternative<CDiskInfo*>(object) ||
                                    (std::holds_alternative<CCategory*>(object) && !m_listDiskOnly)
                              : inDisc;
        if (fits) InsertRow(object);
    }
    SizesChanged();
}

void ContentListModel::AboutToRemove(const CatalogObject& object, const CatalogObject& parent) {
    if (ShownWithin(object)) {
        ShowNothing();
        return;
    }
    SubtractFromTotals(object, parent);
    if (const QModelIndex at = IndexOf(object); at.isValid()) RemoveRow(at.row());
    SizesChanged();
}

void ContentListModel::Moved(const CatalogObject& object, CCategory* oldParent, CCategory* newParent) {
    if (m_kind != ShownKind::Category) return;
    const CatalogObject shown = *m_shown;
    if (shown == CatalogObject(oldParent)) {
        if (const QModelIndex at = IndexOf(object); at.isValid()) RemoveRow(at.row());
    }
    if (shown == CatalogObject(newParent) && !(m_listDiskOnly && std::holds_alternative<CCategory*>(object)))
        InsertRow(object);
    SizesChanged();
}

void ContentListModel::Changed(const CatalogObject& object) {
    if (!m_shown) return;
    if (std::holds_alternative<CDir*>(object) || std::holds_alternative<CFileInfo*>(object))
        m_folderBytes.clear();
    if (const QModelIndex at = IndexOf(object); at.isValid())
        emit dataChanged(at, index(at.row(), static_cast<int>(m_columns.size()) - 1));
    SizesChanged();
}

void ContentListModel::ScanObjectOpened(CDiskInfo& entry, catalog::CCD& cd) {
    m_openEntry = &entry;
    m_openCd = &cd;
}

void ContentListModel::ScanObjectAboutToClose(CDiskInfo&, catalog::CCD& cd) {
    if (const auto* dir = m_shown ? std::get_if<CDir*>(&*m_shown) : nullptr; dir && DiscOf(*dir) == &cd)
        ShowNothing();
    m_programIcons.Clear();
    if (m_openCd == &cd) {
        m_openEntry = nullptr;
        m_openCd = nullptr;
    }
}

void ContentListModel::Reset() {
    beginResetModel();
    m_folderBytes.clear();
    m_programIcons.Clear();
    m_rows = m_shown ? RowsOf(*m_shown, m_kind, m_listDiskOnly) : std::vector<CatalogObject>();
    endResetModel();
}

}  // namespace pelko::ui
