#include "ui/views/PictureCache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <utility>

namespace pelko::ui {

namespace {

// Two decodes at once keep both cores of a small machine busy without starving the UI thread.
constexpr int kWorkers = 2;
// How often finished pictures are collected while decodes are under way: well under a frame.
constexpr int kCollectMs = 10;

QSize FittedSize(QSize picture, QSize box) {
    QSize fitted = picture.scaled(box, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

}  // namespace

PictureCache::PictureCache(QObject* parent, qint64 maxBytes, Decoder decoder)
    : QObject(parent), m_maxBytes(maxBytes), m_decoder(std::move(decoder)) {
    m_collect.setInterval(kCollectMs);
    connect(&m_collect, &QTimer::timeout, this, &PictureCache::DeliverResults);
}

PictureCache::~PictureCache() {
    {
        const std::lock_guard lock(m_queueMutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_queueWake.notify_all();
    for (std::thread& worker : m_workers) worker.join();
}

void PictureCache::DecodeJobs() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueWake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping) return;
            job = std::move(m_jobs.back());
            m_jobs.pop_back();
        }
        QImage image = m_decoder(job.path, job.box);
        const std::lock_guard lock(m_queueMutex);
        if (m_stopping) return;
        m_results.push_back(Result{job.generation, std::move(job.path), job.stamp, std::move(image)});
    }
}

void PictureCache::DeliverResults() {
    std::vector<Result> results;
    {
        const std::lock_guard lock(m_queueMutex);
        results.swap(m_results);
    }
    for (const Result& result : results) Finished(result.generation, result.path, result.stamp, result.image);
    if (m_pending.isEmpty()) m_collect.stop();
}

QImage PictureCache::DecodeFitted(const QString& path, QSize box) {
    if (box.isEmpty()) return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) reader.setScaledSize(FittedSize(size, box));
    QImage image = reader.read();
    if (image.isNull()) return {};
    // Readers that cannot scale while reading give the whole picture. `fitted` already keeps
    // the aspect; scaling again with KeepAspectRatio would round a pixel off.
    const QSize fitted = FittedSize(image.size(), box);
    if (image.size() != fitted) image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

PictureCache::Stamp PictureCache::StampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.size()};
}

QPixmap PictureCache::Request(const QString& path, QSize box) {
    if (box != m_box) {
        Clear();
        m_box = box;
    }
    const Stamp stamp = StampOf(path);
    if (const auto found = m_index.constFind(path); found != m_index.constEnd()) {
        const auto entry = *found;
        if (entry->stamp == stamp) {
            m_entries.splice(m_entries.begin(), m_entries, entry);
            return entry->pixmap;
        }
        Drop(path);
    }
    if (const auto failed = m_failed.constFind(path); failed != m_failed.constEnd()) {
        if (*failed == stamp) return {};
        m_failed.erase(failed);
    }
    if (const auto pending = m_pending.constFind(path); pending == m_pending.constEnd() || *pending != stamp)
        Load(path, stamp);
    return {};
}

bool PictureCache::Failed(const QString& path) const {
    const auto failed = m_failed.constFind(path);
    return failed != m_failed.constEnd() && *failed == StampOf(path);
}

void PictureCache::Load(const QString& path, Stamp stamp) {
    // The workers start with the first picture asked for: a list never shown in large icons
    // costs no threads, and start-up does not wait for them.
    if (m_workers.empty()) {
        for (int n = 0; n < kWorkers; ++n) m_workers.emplace_back([this] { DecodeJobs(); });
    }
    m_pending.insert(path, stamp);
    {
        const std::lock_guard lock(m_queueMutex);
        m_jobs.push_back(Job{m_generation, path, stamp, m_box});
    }
    m_queueWake.notify_one();
    if (!m_collect.isActive()) m_collect.start();
}

void PictureCache::Finished(quint64 generation, const QString& path, Stamp stamp, const QImage& image) {
    if (generation != m_generation) return;
    const auto pending = m_pending.constFind(path);
    if (pending == m_pending.constEnd() || *pending != stamp) return;  // a newer load is under way
    m_pending.erase(pending);
    if (image.isNull()) {
        m_failed.insert(path, stamp);
        emit PictureFailed(path);
        return;
    }
    Insert(path, stamp, QPixmap::fromImage(image));
    emit PictureReady(path);
}

void PictureCache::Insert(const QString& path, Stamp stamp, QPixmap pixmap) {
    Drop(path);
    const qint64 bytes = qint64(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 8) / 8;
    m_entries.push_front(Entry{path, stamp, std::move(pixmap), bytes});
    m_index.insert(path, m_entries.begin());
    m_bytes += bytes;
    // The newest picture stays even when it alone is over the bound: it is on screen.
    while (m_bytes > m_maxBytes && m_entries.size() > 1) {
        const QString oldest = m_entries.back().path;
        Drop(oldest);
    }
}

void PictureCache::Drop(const QString& path) {
    const auto found = m_index.find(path);
    if (found == m_index.end()) return;
    m_bytes -= (*found)->bytes;
    m_entries.erase(*found);
    m_index.erase(found);
}

void PictureCache::Clear() {
    ++m_generation;
    {
        const std::lock_guard lock(m_queueMutex);
        m_jobs.clear();  // decodes not yet started are not needed any more
    }
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
    m_pending.clear();
    m_failed.clear();
}

}  // namespace pelko::ui
