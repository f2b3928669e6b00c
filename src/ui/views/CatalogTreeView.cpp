#include "ui/views/CatalogTreeView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include "ui/text/QtText.h"

namespace pelko::ui {

CatalogTreeView::CatalogTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Renaming starts with F2 or the context menu only, so a click never opens an editor.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoExpandDelay(600);
    setAutoScroll(true);
    setAutoScrollMargin(24);
    setAccessibleName(Tr("光盘库"));
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (m_singleExpand) CollapseSiblingsOf(index);
    });
}

void CatalogTreeView::SetSingleExpand(bool singleExpand) { m_singleExpand = singleExpand; }

void CatalogTreeView::CollapseSiblingsOf(const QModelIndex& index) {
    const QModelIndex parent = index.parent();
    for (int row = 0; row < model()->rowCount(parent); ++row) {
        const QModelIndex sibling = model()->index(row, 0, parent);
        if (sibling != index && isExpanded(sibling)) collapse(sibling);
    }
}

void CatalogTreeView::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState) {
        QTreeView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape: emit HidePaneRequested(); return;
    case Qt::Key_Delete: emit DeleteRequested(); return;
    case Qt::Key_F2: emit RenameRequested(); return;
    case Qt::Key_F3: return;  // the focus stays here
    case Qt::Key_F4: emit FocusListRequested(); return;
    case Qt::Key_F5: emit MemoEditRequested(); return;
    default: QTreeView::keyPressEvent(event);
    }
}

bool CatalogTreeView::focusNextPrevChild(bool next) {
    // Tab goes to the content list, whatever the window's focus chain says.
    if (next && state() != QAbstractItemView::EditingState) {
        emit FocusListRequested();
        return true;
    }
    return QTreeView::focusNextPrevChild(next);
}

void CatalogTreeView::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (index.isValid()) setCurrentIndex(index);
    emit ContextMenuRequested(event->globalPos());
}

}  // namespace pelko::ui
