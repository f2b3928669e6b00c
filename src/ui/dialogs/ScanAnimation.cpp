#include "ui/dialogs/ScanAnimation.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pelko::ui {

ScanAnimation::ScanAnimation(QWidget* parent) : QWidget(parent) {
    setMinimumSize(48, 48);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_timer.setInterval(kFrameMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        ++m_frame;
        update();
    });
}

void ScanAnimation::showEvent(QShowEvent* event) {
    m_timer.start();
    QWidget::showEvent(event);
}

void ScanAnimation::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QWidget::hideEvent(event);
}

void ScanAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 4;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const QRectF disc(centre.x() - side / 2, centre.y() - side / 2, side, side);
    const qreal angle = (m_frame * kStepDegrees) % 360;

    // The silver face with its rainbow sheen; the sheen turns with the disc.
    QConicalGradient sheen(centre, -angle);
    sheen.setColorAt(0.00, QColor(210, 214, 222));
    sheen.setColorAt(0.15, QColor(170, 200, 250));
    sheen.setColorAt(0.30, QColor(235, 235, 240));
    sheen.setColorAt(0.50, QColor(250, 210, 170));
    sheen.setColorAt(0.65, QColor(200, 205, 215));
    sheen.setColorAt(0.80, QColor(190, 240, 200));
    sheen.setColorAt(1.00, QColor(210, 214, 222));
    QPainterPath face;
    face.addEllipse(disc);
    face.addEllipse(centre, side * 0.09, side * 0.09);  // the hole stays see-through
    painter.setPen(QPen(QColor(120, 125, 135), 1));
    painter.setBrush(sheen);
    painter.drawPath(face);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, side * 0.2, side * 0.2);

    // A mark on the label ring makes the turning visible even where the sheen is faint.
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    painter.setPen(QPen(QColor(60, 90, 160), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(side * 0.24, 0), QPointF(side * 0.44, 0));
    painter.restore();
}

}  // namespace pelko::ui
