#include "ui/app/IdleSaver.h"

#include <QCoreApplication>
#include <QEvent>

#include "catalog/CPelkoDoc.h"

namespace pelko::ui {

IdleSaver::IdleSaver(catalog::CPelkoDoc& doc, std::function<void()> highlight, bool watchInput, QObject* parent)
    : QObject(parent), m_doc(doc), m_highlight(std::move(highlight)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &IdleSaver::RunIdleStep);
    if (watchInput && QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

void IdleSaver::Touch() { m_timer.start(); }

bool IdleSaver::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
        Touch();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void IdleSaver::RunIdleStep() {
    // A failed save keeps the catalog modified; the next idle step tries again.
    if (m_doc.IsModified()) m_doc.SaveCatalog();
    if (m_highlight) m_highlight();
}

}  // namespace pelko::ui
