#pragma once
// Draws a row of the content list in large icons: its picture centred in a box of the large
// icon size (BigIcon_X x BigIcon_Y) with the name below, on the selection highlight when
// selected. The picture is the row's cover, thumbnail or default picture from the picture
// cache; a program's own icon; or, when there is none or it is still loading, the row's icon
// (its DecorationRole). With the memo switch on (BigIconMemo), the tooltip of a row is its
// memo, plain text at most 600 pixels wide.
//
// What a row shows is decided by a function (shell::RowPictures in the program), so the
// delegate can be tested without a catalog folder. When a picture arrives, the view's viewport
// is repainted.

#include <QSize>
#include <QStyledItemDelegate>

#include <functional>

#include "shell/CatalogObject.h"
#include "shell/RowPictures.h"

class QAbstractItemView;

namespace pelko::ui {

class PictureCache;

using RowPictureOf = std::function<shell::RowPicture(const shell::CatalogObject& row)>;

inline constexpr int kMemoTipMaxWidth = 600;

// A memo as tooltip text: never read as markup, and broken into lines that are at most
// `maxWidth` pixels wide in `font` (its own line breaks are kept).
QString MemoToolTip(const QString& memo, const QFont& font, int maxWidth = kMemoTipMaxWidth);

class LargeIconDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `view` becomes the parent; its viewport is repainted when the cache has a new picture.
    LargeIconDelegate(PictureCache& cache, RowPictureOf pictureOf, QAbstractItemView* view);

    // The picture box: BigIcon_X x BigIcon_Y.
    void SetPictureSize(QSize size);
    QSize PictureSize() const { return m_box; }
    // BigIconMemo: show the row's memo as its tooltip.
    void SetShowMemo(bool show) { m_showMemo = show; }
    bool ShowsMemo() const { return m_showMemo; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where the picture box lies in a cell.
    QRect PictureRect(const QRect& cell) const;

private:
    void PaintPicture(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    PictureCache& m_cache;
    RowPictureOf m_pictureOf;
    QSize m_box{102, 77};
    bool m_showMemo = true;
};

}  // namespace pelko::ui
