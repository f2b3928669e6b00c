#include "ui/views/LargeIconDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStringList>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <utility>

#include "ui/models/CatalogObjectRole.h"
#include "ui/models/ProgramIcons.h"
#include "ui/views/PictureCache.h"

namespace pelko::ui {

namespace {

constexpr int kMargin = 4;        // around the picture and the text, inside the cell
constexpr int kSpacing = 4;       // between picture and text
constexpr int kTextLines = 2;     // a longer name is elided at the end of its second line
constexpr int kRowIconSize = 32;  // row icons are the large icons of the icon list

void ChopTrailingSpaces(QString& line) {
    while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
}

// The lines of `text` wrapped at `width` (anywhere when a word is too long), at most
// `maxLines`; a text that needs more ends its last line with an ellipsis.
QStringList WrappedLines(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (maxLines > 0 && lines.size() == maxLines - 1) {
            // The last line allowed takes the rest of the text, elided when it does not fit.
            lines << QFontMetrics(font).elidedText(text.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        QString piece = text.mid(line.textStart(), line.textLength());
        ChopTrailingSpaces(piece);
        lines << piece;
    }
    layout.endLayout();
    return lines;
}

QRect CenteredIn(const QRect& box, QSize size) {
    return QRect(box.left() + (box.width() - size.width()) / 2,
                 box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
}

}  // namespace

QString MemoToolTip(const QString& memo, const QFont& font, int maxWidth) {
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty())
            lines << QString();
        else
            lines << WrappedLines(paragraph, font, maxWidth, 0);
    }
    // Escaped rich text: a memo is shown as written, never as markup (a memo read from a disc
    // file could otherwise bring images or links along).
    return Qt::convertFromPlainText(lines.join(QLatin1Char('\n')), Qt::WhiteSpacePre);
}

LargeIconDelegate::LargeIconDelegate(PictureCache& cache, RowPictureOf pictureOf, QAbstractItemView* view)
    : QStyledItemDelegate(view), m_cache(cache), m_pictureOf(std::move(pictureOf)) {
    if (view) {
        connect(&m_cache, &PictureCache::PictureReady, view->viewport(),
                [viewport = view->viewport()] { viewport->update(); });
    }
}

void LargeIconDelegate::SetPictureSize(QSize size) { m_box = size.expandedTo(QSize(1, 1)); }

QRect LargeIconDelegate::PictureRect(const QRect& cell) const {
    return QRect(cell.left() + (cell.width() - m_box.width()) / 2, cell.top() + kMargin, m_box.width(),
                 m_box.height());
}

QSize LargeIconDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(m_box.width() + 2 * kMargin, kMargin + m_box.height() + kSpacing +
                                                  kTextLines * option.fontMetrics.lineSpacing() + kMargin);
}

void LargeIconDelegate::PaintPicture(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const QRect box = PictureRect(option.rect);
    const QVariant object = index.data(ObjectRole);
    if (m_pictureOf && object.canConvert<CatalogObjectRef>()) {
        const shell::RowPicture picture = m_pictureOf(object.value<CatalogObjectRef>().object);
        if (!picture.file.empty()) {
            // Read at the screen's pixel density, so pictures stay sharp on high-density screens.
            const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
            QPixmap pixmap = m_cache.Request(QString::fromStdString(picture.file.string()), m_box * ratio);
            if (!pixmap.isNull()) {
                pixmap.setDevicePixelRatio(ratio);
                painter->drawPixmap(CenteredIn(box, pixmap.deviceIndependentSize().toSize()), pixmap);
                return;
            }
        } else if (const QImage icon =
                       picture.programIcon ? ProgramIconImage(*picture.programIcon) : QImage();
                   !icon.isNull()) {
            const QSize size = QSize(kRowIconSize, kRowIconSize).boundedTo(m_box);
            // Scaled without smoothing: a 16-pixel icon stays crisp when doubled.
            painter->drawImage(CenteredIn(box, size), icon);
            return;
        }
    }
    // No picture, not read yet, or a program icon with nothing visible: the row's icon.
    const QSize size = QSize(kRowIconSize, kRowIconSize).boundedTo(m_box);
    const QIcon::Mode mode = option.state & QStyle::State_Selected ? QIcon::Selected : QIcon::Normal;
    option.icon.paint(painter, CenteredIn(box, size), Qt::AlignCenter, mode);
}

void LargeIconDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();

    painter->save();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    PaintPicture(painter, opt, index);

    const QPalette::ColorGroup group =
        opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    const int width = std::max(opt.rect.width() - 2 * kMargin, 1);
    const int lineHeight = opt.fontMetrics.lineSpacing();
    QRect line(opt.rect.left() + kMargin, PictureRect(opt.rect).bottom() + 1 + kSpacing, width, lineHeight);
    for (const QString& text : WrappedLines(opt.text, opt.font, width, kTextLines)) {
        painter->drawText(line, Qt::AlignHCenter | Qt::AlignTop, text);
        line.translate(0, lineHeight);
    }

    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.backgroundColor = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}

bool LargeIconDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString memo = m_showMemo && index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
    if (memo.isEmpty()) {
        // No memo, or the switch is off: no tooltip at all, not the model's.
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(event->globalPos(), MemoToolTip(memo, QToolTip::font()), view,
                       view ? view->visualRect(index) : QRect());
    return true;
}

}  // namespace pelko::ui
