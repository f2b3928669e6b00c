#pragma once
// The right pane: the rows of the node selected in the tree, in one of four styles over one model
// and one selection: large icons (0), report with columns (1), small icons (2) and list (3). The
// report style is a tree view with a header (clicking a header sorts by that column); the other
// styles are one list view in different modes. Keys and clicks become requests; what they do
// is decided by the window's browsing controller.

#include <QStackedWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "shell/CatalogObject.h"
#include "ui/views/LargeIconDelegate.h"

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

namespace pelko::ui {

class ContentListModel;
class PictureCache;

class ContentListView : public QStackedWidget {
    Q_OBJECT
public:
    enum Style { LargeIcons = 0, Report = 1, SmallIcons = 2, List = 3 };

    // Writes a damaged default picture (category, disc kinds) again; true when it did.
    using RestoreDefaultPicture = std::function<bool(const std::filesystem::path&)>;

    // `pictureOf` says what picture a row shows in large icons.
    ContentListView(ContentListModel& model, RowPictureOf pictureOf, RestoreDefaultPicture restore,
                    QWidget* parent = nullptr);

    void SetStyle(int style);
    int CurrentStyle() const { return m_style; }
    // The size of a picture in large icons.
    void SetLargeIconSize(QSize size);
    // Whether large icons show a row's memo as its tool tip.
    void SetShowMemoTips(bool show);
    // Pictures may have changed on disk (a cover imported or deleted): paint the rows again.
    void RefreshPictures();

    QAbstractItemView* CurrentView() const;
    QTreeView* ReportView() const { return m_report; }
    QListView* IconView() const { return m_icons; }
    QItemSelectionModel* Selection() const { return m_selection; }

    // The selected rows' objects, top to bottom.
    std::vector<shell::CatalogObject> SelectedObjects() const;
    // Selects only the row of `object` and scrolls it into view; false when it is not shown.
    bool SelectOnly(const shell::CatalogObject& object);
    // Selects the row after the last selected one (or before the first), wrapping around.
    void SelectNext(bool forward);
    // Starts editing the name (column 0) or the memo of the current row.
    void EditName();
    void EditMemo(int memoColumn);

signals:
    void OpenRequested();
    void UpRequested();
    void FocusTreeRequested();
    // Tab: on to the floating memo editor when it is up, else to the tree.
    void TabPressed();
    void HidePaneRequested();
    void RenameRequested();
    void MemoFieldRequested();
    void NewCategoryRequested();
    void DeleteRequested();
    void ContextMenuRequested(const QPoint& globalPosition);
    // The selection changed (rows selected or unselected).
    void SelectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColumnWidths();
    bool HandleKey(QKeyEvent* event);
    void ConfigureIconView();

    ContentListModel& m_model;
    QTreeView* m_report = nullptr;
    QListView* m_icons = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    PictureCache* m_pictures = nullptr;
    QAbstractItemDelegate* m_plainDelegate = nullptr;  // the list view's own, for small icons and list
    LargeIconDelegate* m_largeDelegate = nullptr;
    int m_style = Report;
    QSize m_largeIcon{102, 77};
};

}  // namespace pelko::ui
