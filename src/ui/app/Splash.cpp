#include "ui/app/Splash.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "ui/text/QtText.h"

namespace pelko::ui {

Splash* Splash::ShowOnce() {
    static bool shown = false;
    if (shown) return nullptr;
    shown = true;
    auto* splash = new Splash;
    splash->show();
    QTimer::singleShot(kShowMs, splash, &QWidget::close);
    return splash;
}

Splash::Splash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(Tr("Pelko－光盘管理工具"));
    // The program's own picture when it is compiled in (the double-size one on a high-density
    // screen, so it stays sharp); else one is drawn.
    const qreal density = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
    if (density > 1.0) {
        m_picture = QPixmap(QStringLiteral(":/splash/splash@2x.png"));
        m_picture.setDevicePixelRatio(2.0);
    }
    if (m_picture.isNull()) m_picture = QPixmap(QStringLiteral(":/splash/splash.png"));
    resize(m_picture.isNull() ? QSize(420, 240) : m_picture.deviceIndependentSize().toSize());
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
    qApp->installEventFilter(this);
}

void Splash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.drawPixmap(rect(), m_picture);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(rect().topLeft(), rect().bottomRight());
    sky.setColorAt(0, QColor(0x1d, 0x4e, 0x89));
    sky.setColorAt(1, QColor(0x0b, 0x1f, 0x3a));
    painter.fillRect(rect(), sky);

    // A disc: a silver ring with a hole, lit from the top left.
    const QPointF centre(95, height() / 2.0);
    QRadialGradient silver(centre - QPointF(20, 20), 90);
    silver.setColorAt(0, QColor(0xf4, 0xf6, 0xfa));
    silver.setColorAt(1, QColor(0x9a, 0xa6, 0xb8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(silver);
    painter.drawEllipse(centre, 70, 70);
    painter.setBrush(QColor(0x0b, 0x1f, 0x3a));
    painter.drawEllipse(centre, 12, 12);

    painter.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(180, 60, width() - 190, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pelko"));
    QFont subtitle = font();
    subtitle.setPointSize(13);
    painter.setFont(subtitle);
    painter.drawText(QRect(180, 115, width() - 190, 40), Qt::AlignLeft | Qt::AlignVCenter, Tr("光盘管理工具"));
}

bool Splash::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        close();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelko::ui
