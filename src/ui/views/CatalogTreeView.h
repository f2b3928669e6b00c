#pragma once
// The left pane: the catalog tree with in-place renaming, dragging categories and scan objects
// onto categories (the hovered node opens, the tree scrolls at its edges), the pane's keys and
// its context menu. What a key or a drop does is decided elsewhere; the view only says what the
// user asked for.

#include <QTreeView>

namespace pelko::ui {

class CatalogTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit CatalogTreeView(QWidget* parent = nullptr);

    // With single-expand, opening a node closes the other open nodes of its level.
    void SetSingleExpand(bool singleExpand);
    bool SingleExpand() const { return m_singleExpand; }

signals:
    void FocusListRequested();
    void HidePaneRequested();
    void DeleteRequested();
    void RenameRequested();
    void MemoEditRequested();
    // Right click on a node (already made current) at the global position.
    void ContextMenuRequested(const QPoint& globalPosition);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void CollapseSiblingsOf(const QModelIndex& index);

    bool m_singleExpand = false;
};

}  // namespace pelko::ui
