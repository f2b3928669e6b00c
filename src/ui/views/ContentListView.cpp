#include "ui/views/ContentListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QTreeView>

#include <algorithm>

#include "ui/models/ContentListModel.h"
#include "ui/text/QtText.h"
#include "ui/views/PictureCache.h"

namespace pelko::ui {
namespace {

// The report style: a click on the memo cell of the row already selected opens it for editing;
// names are edited only on request (F2 or the commands), never by a click.
class ReportTree final : public QTreeView {
public:
    ReportTree(ContentListModel& model, QWidget* parent) : QTreeView(parent), m_model(model) {}

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        if (trigger == QAbstractItemView::SelectedClicked && m_model.FieldOf(index.column()) != shell::ListField::Memo)
            return false;
        return QTreeView::edit(index, trigger, event);
    }

private:
    ContentListModel& m_model;
};

}  // namespace

ContentListView::ContentListView(ContentListModel& model, RowPictureOf pictureOf, RestoreDefaultPicture restore,
                                 QWidget* parent)
    : QStackedWidget(parent), m_model(model) {
    setAccessibleName(Tr("内容"));
    m_report = new ReportTree(model, this);
    m_report->setObjectName(QStringLiteral("list-report"));
    m_report->setAccessibleName(Tr("内容"));
    m_report->setRootIsDecorated(false);
    m_report->setItemsExpandable(false);
    m_report->setUniformRowHeights(true);
    m_report->setAllColumnsShowFocus(true);
    m_report->setSortingEnabled(false);  // the model sorts, one direction flag per column
    m_report->header()->setSectionsClickable(true);
    m_report->header()->setStretchLastSection(false);
    m_report->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);

    m_icons = new QListView(this);
    m_icons->setObjectName(QStringLiteral("list-icons"));
    m_icons->setAccessibleName(Tr("内容"));
    m_icons->setEditTriggers(QAbstractItemView::EditKeyPressed);

    m_pictures = new PictureCache(this);
    m_plainDelegate = m_icons->itemDelegate();
    m_largeDelegate = new LargeIconDelegate(*m_pictures, std::move(pictureOf), m_icons);
    connect(m_pictures, &PictureCache::PictureFailed, this, [this, restore = std::move(restore)](const QString& path) {
        if (restore && restore(std::filesystem::path(path.toStdString()))) m_icons->viewport()->update();
    });

    m_report->setModel(&m_model);
    m_icons->setModel(&m_model);
    m_selection = m_report->selectionModel();
    m_icons->setSelectionModel(m_selection);

    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_report), static_cast<QAbstractItemView*>(m_icons)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setDragEnabled(true);
        view->setAcceptDrops(true);
        view->setDropIndicatorShown(true);
        view->setDragDropMode(QAbstractItemView::DragDrop);
        view->setDefaultDropAction(Qt::MoveAction);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid()) emit OpenRequested();
        });
    }
    addWidget(m_report);
    addWidget(m_icons);

    connect(m_report->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_model.SortByColumn(section);
        QApplication::restoreOverrideCursor();
    });
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ContentListView::ApplyColumnWidths);
    connect(&m_model, &QAbstractItemModel::headerDataChanged, this, &ContentListView::ApplyColumnWidths);
    connect(&m_model, &QAbstractItemModel::columnsInserted, this, &ContentListView::ApplyColumnWidths);
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &ContentListView::SelectionChanged);
    SetStyle(Report);
}

void ContentListView::ApplyColumnWidths() {
    for (int column = 0; column < m_model.columnCount(); ++column) {
        const QSize hint = m_model.headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize();
        if (hint.width() > 0) m_report->header()->resizeSection(column, hint.width());
    }
}

void ContentListView::ConfigureIconView() {
    switch (m_style) {
    case LargeIcons: {
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(m_largeIcon);
        m_largeDelegate->SetPictureSize(m_largeIcon);
        m_icons->setItemDelegate(m_largeDelegate);
        QStyleOptionViewItem option;
        option.initFrom(m_icons);
        m_icons->setGridSize(m_largeDelegate->sizeHint(option, {}) + QSize(8, 0));
        m_icons->setWordWrap(true);
        break;
    }
    case SmallIcons:
        m_icons->setItemDelegate(m_plainDelegate);
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(180, fontMetrics().height() + 6));
        m_icons->setWordWrap(false);
        break;
    default:  // list: columns filled top to bottom
        m_icons->setItemDelegate(m_plainDelegate);
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize());
        m_icons->setWordWrap(false);
        break;
    }
    m_icons->setWrapping(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setUniformItemSizes(true);
    m_icons->setSelectionRectVisible(true);
}

void ContentListView::SetStyle(int style) {
    m_style = std::clamp(style, 0, 3);
    const bool hadFocus = CurrentView()->hasFocus();
    if (m_style == Report) {
        // A row picked in an icon style has only its first cell selected: widen it to the row.
        const QModelIndexList picked = m_selection->selectedIndexes();
        for (const QModelIndex& index : picked)
            m_selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        setCurrentWidget(m_report);
    } else {
        ConfigureIconView();
        setCurrentWidget(m_icons);
    }
    if (const QModelIndex current = m_selection->currentIndex(); current.isValid()) CurrentView()->scrollTo(current);
    if (hadFocus) CurrentView()->setFocus();
}

void ContentListView::SetLargeIconSize(QSize size) {
    if (size == m_largeIcon) return;
    m_largeIcon = size;
    m_pictures->Clear();
    if (m_style == LargeIcons) ConfigureIconView();
}

void ContentListView::SetShowMemoTips(bool show) { m_largeDelegate->SetShowMemo(show); }

void ContentListView::RefreshPictures() { CurrentView()->viewport()->update(); }

QAbstractItemView* ContentListView::CurrentView() const {
    return m_style == Report ? static_cast<QAbstractItemView*>(m_report) : m_icons;
}

std::vector<shell::CatalogObject> ContentListView::SelectedObjects() const {
    std::vector<int> rows;
    for (const QModelIndex& index : m_selection->selectedIndexes()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<shell::CatalogObject> objects;
    for (int row : rows)
        if (auto object = m_model.ObjectAt(m_model.index(row, 0))) objects.push_back(*object);
    return objects;
}

bool ContentListView::SelectOnly(const shell::CatalogObject& object) {
    const QModelIndex index = m_model.IndexOf(object);
    if (!index.isValid()) return false;
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    CurrentView()->scrollTo(index);
    return true;
}

void ContentListView::SelectNext(bool forward) {
    const int count = m_model.rowCount();
    if (count == 0) return;
    std::vector<int> rows;
    for (const QModelIndex& index : m_selection->selectedIndexes()) rows.push_back(index.row());
    int row;
    if (rows.empty()) row = forward ? 0 : count - 1;
    else if (forward) row = (*std::max_element(rows.begin(), rows.end()) + 1) % count;
    else row = (*std::min_element(rows.begin(), rows.end()) + count - 1) % count;
    const QModelIndex index = m_model.index(row, 0);
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    CurrentView()->scrollTo(index);
}

void ContentListView::EditName() {
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid()) CurrentView()->edit(current.siblingAtColumn(0));
}

void ContentListView::EditMemo(int memoColumn) {
    const QModelIndex current = m_selection->currentIndex();
    if (!current.isValid() || memoColumn < 0) return;
    if (m_style != Report) SetStyle(Report);
    m_report->edit(current.siblingAtColumn(memoColumn));
}

// Keys typed into an open editor go to the editor, never through here.
bool ContentListView::HandleKey(QKeyEvent* event) {
    const bool report = m_style == Report;
    switch (event->key()) {
    case Qt::Key_Escape: emit HidePaneRequested(); return true;
    case Qt::Key_F2: emit RenameRequested(); return true;
    case Qt::Key_F3: emit FocusTreeRequested(); return true;
    case Qt::Key_F4: return true;  // the focus stays here
    case Qt::Key_F5: emit MemoFieldRequested(); return true;
    case Qt::Key_Tab: emit TabPressed(); return true;
    case Qt::Key_Backspace: emit UpRequested(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit OpenRequested(); return true;
    case Qt::Key_Insert: emit NewCategoryRequested(); return true;
    case Qt::Key_Delete: emit DeleteRequested(); return true;
    case Qt::Key_Left:
        if (!report) return false;
        emit UpRequested();
        return true;
    case Qt::Key_Right:
        if (!report) return false;
        emit OpenRequested();
        return true;
    default: return false;
    }
}

bool ContentListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == m_report || watched == m_icons)) {
        return HandleKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::ContextMenu && (watched == m_report->viewport() || watched == m_icons->viewport())) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QAbstractItemView* view = CurrentView();
        const QModelIndex index = view->indexAt(menuEvent->pos());
        if (index.isValid() && !m_selection->isSelected(index))
            m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit ContextMenuRequested(menuEvent->globalPos());
        return true;
    }
    return QStackedWidget::eventFilter(watched, event);
}

}  // namespace pelko::ui
