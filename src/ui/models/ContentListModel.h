#pragma once
// The content list of the right pane: the rows of one node of the tree. A category shows its
// sub-categories (not with "list disc only") and its entries; a folder of the open scan object
// shows its sub-folders and files, after a ReadMe row when it is the disc's root folder.
//
// Columns depend on the kind of node shown (category: 名称 属性 大小 备注 标签; root folder:
// 名称 大小 修改时间 备注; other folder: 名称 大小 创建时间 备注); the header's SizeHintRole
// gives each column's width. Rows refer to catalog objects and texts are made in data(); a
// folder's byte total is computed when first shown and kept until that scan object changes.
//
// Rows stay grouped by kind (ReadMe, categories, entries / ReadMe, folders, files): sorting
// orders each kind among itself, and a row added later joins the end of its kind.
//
// The model never changes the catalog: renames, memo edits and drops become requests
// (signals) for the editor, whose changes come back through shell::CatalogChanges and are
// applied as row ranges. UI thread only.
//
// The name column's picture is the icon of the row's icon key, except for a program file that
// holds the icon extracted from it while scanning, which shows that icon.

#include <QAbstractTableModel>

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "shell/CatalogChanges.h"
#include "shell/ViewOrder.h"
#include "ui/models/CatalogObjectRole.h"
#include "ui/models/IconProvider.h"
#include "ui/models/ProgramIcons.h"

namespace pelko::ui {

class ContentListModel : public QAbstractTableModel, public shell::CatalogChanges {
    Q_OBJECT
public:
    enum class ShownKind { Nothing, Category, RootFolder, Folder };

    explicit ContentListModel(QObject* parent = nullptr, IconProvider icons = CachedIcons(ThemeIconFor));

    // Shows a category, or a folder of the open scan object (a CCD is its root folder); any
    // other object shows nothing. Showing the node already shown changes nothing.
    void Show(const shell::CatalogObject& node);
    void ShowNothing();
    std::optional<shell::CatalogObject> ShownNode() const { return m_shown; }
    ShownKind Kind() const { return m_kind; }

    // "DispExt": file names with or without their extension.
    void SetShowExtensions(bool show);
    // "g_bListDiskOnly": a category lists its entries only; refills a shown category.
    void SetListDiskOnly(bool listDiskOnly);

    // Flips the column's own direction (the first click sorts ascending) and sorts by it.
    void SortByColumn(int column);
    // What a column of the shown kind holds; nothing outside the columns.
    std::optional<shell::ListField> FieldOf(int column) const;

    std::optional<shell::CatalogObject> ObjectAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const shell::CatalogObject& object, int column = 0) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Name column: RenameRequested; memo column: MemoEditRequested. Nothing is stored here.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    // Emits DropRequested for a drop on a category row; nothing is moved here.
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
    void MemoEditRequested(const pelko::shell::CatalogObject& object, const QString& text);
    void DropRequested(const std::vector<pelko::shell::CatalogObject>& objects,
                       pelko::catalog::CCategory* target);

private:
    struct Column {
        shell::ListField field;
        const char* title;  // UTF-8
        int width;          // pixels
    };

    static std::vector<Column> ColumnsFor(ShownKind kind);
    static std::vector<shell::CatalogObject> RowsOf(const shell::CatalogObject& node, ShownKind kind,
                                                    bool listDiskOnly);
    void Replace(std::optional<shell::CatalogObject> node, ShownKind kind);
    void InsertRow(const shell::CatalogObject& object);
    void RemoveRow(int row);
    // The shown node is `object` or lies below it.
    bool ShownWithin(const shell::CatalogObject& object) const;
    void SizesChanged();
    // Takes a file or folder about to be removed out of the cached totals of its folders.
    void SubtractFromTotals(const shell::CatalogObject& object, const shell::CatalogObject& parent);
    double FolderBytes(const catalog::CDir& dir) const;
    std::string Text(const shell::CatalogObject& row, shell::ListField field) const;
    // The name column's picture: a program file's stored icon, else the icon of the row's key.
    QVariant Decoration(const shell::CatalogObject& row) const;

    IconProvider m_icons;
    // A program file's own icon, converted when first shown; cleared with the records it came
    // from (Reset, a disc closing).
    mutable ProgramIconCache m_programIcons;
    std::optional<shell::CatalogObject> m_shown;
    ShownKind m_kind = ShownKind::Nothing;
    std::vector<Column> m_columns;
    std::vector<shell::CatalogObject> m_rows;
    std::array<bool, 6> m_ascending{};  // per column: the direction of its last sort
    bool m_showExtensions = true;
    bool m_listDiskOnly = false;
    // The open scan object (only compared, to know whether the shown folder belongs to it).
    const catalog::CDiskInfo* m_openEntry = nullptr;
    const catalog::CCD* m_openCd = nullptr;
    mutable std::unordered_map<const catalog::CDir*, double> m_folderBytes;
};

}  // namespace pelko::ui
