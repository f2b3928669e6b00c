#include "ui/dialogs/FindWaitDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/text/QtText.h"

namespace pelko::ui {

namespace {

constexpr int kPathWidth = 360;

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);  // names from the catalog are never markup
    label->setAccessibleName(text);
    return label;
}

}  // namespace

FindWaitDialog::FindWaitDialog(std::string_view searchText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindWaitDialog"));
    setWindowTitle(Tr("正在查找..."));
    setAccessibleName(windowTitle());
    setModal(false);

    QLabel* text = PlainLabel(ToQt(searchText), this);
    text->setObjectName(QStringLiteral("find-text"));

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("find-progress"));
    m_progress->setAccessibleName(windowTitle());
    m_progress->setRange(0, 100);
    m_progress->setValue(0);

    m_path = PlainLabel(QString(), this);
    m_path->setObjectName(QStringLiteral("find-path"));
    m_path->setAccessibleName(Tr("路径"));
    m_path->setMinimumWidth(kPathWidth);
    m_path->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_showProgress = new QCheckBox(Tr("显示进度和提示"), this);
    m_showProgress->setAccessibleName(Tr("显示进度和提示"));
    m_showProgress->setChecked(true);
    connect(m_showProgress, &QCheckBox::toggled, this, [this](bool on) { m_showing.store(on); });
    QLabel* note = PlainLabel(Tr("!!!注意，不显示进度和提示将速度更快"), this);

    m_cancel = new QPushButton(Tr("取消(&C)"), this);
    m_cancel->setAccessibleName(Tr("取消(C)"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &FindWaitDialog::Cancel);

    auto* options = new QHBoxLayout;
    options->addWidget(m_showProgress);
    options->addWidget(note, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_progress);
    layout->addWidget(m_path);
    layout->addLayout(options);
    layout->addLayout(buttons);

    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshMilliseconds);
    connect(m_refresh, &QTimer::timeout, this, &FindWaitDialog::ApplyPending);
    m_refresh->start();
}

void FindWaitDialog::ShowFolderPath(std::string_view path) {
    if (!m_showing.load(std::memory_order_relaxed)) return;
    const std::lock_guard lock(m_lock);
    m_noted.freshPath = true;
    m_noted.folderPath.assign(path);
}

void FindWaitDialog::ShowProgress(int percent) {
    if (!m_showing.load(std::memory_order_relaxed)) return;
    const std::lock_guard lock(m_lock);
    m_noted.freshPercent = true;
    m_noted.percent = std::clamp(percent, 0, 100);
}

void FindWaitDialog::ApplyPending() {
    Noted noted;
    {
        const std::lock_guard lock(m_lock);
        noted = m_noted;
        m_noted.freshPath = false;
        m_noted.freshPercent = false;
    }
    if (noted.freshPercent) m_progress->setValue(noted.percent);
    if (noted.freshPath) {
        const QString path = ToQt(noted.folderPath);
        m_path->setToolTip(path);
        m_path->setAccessibleDescription(path);
        // The middle goes: the start names the top folder, the end the folder being searched.
        m_path->setText(m_path->fontMetrics().elidedText(path, Qt::ElideMiddle, std::max(m_path->width(), kPathWidth)));
    }
}

void FindWaitDialog::Cancel() {
    if (m_cancelled.exchange(true)) return;
    m_cancel->setEnabled(false);
    emit cancelRequested();
}

void FindWaitDialog::closeEvent(QCloseEvent* event) {
    // The window goes when the search has ended; until then a close request stops the search.
    Cancel();
    event->ignore();
}

}  // namespace pelko::ui
